#include "commandlines.h"

#include "text.h"

namespace CommandLines {

void appendAsTyped(QStringList &lines, const QString &prefix, const QString &value)
{
    if (Text::isNonBlank(value))
        lines << prefix + value;
}

void appendTrimmed(QStringList &lines, const QString &prefix, const QString &value)
{
    const QString trimmed = Text::trimmed(value);
    if (!trimmed.isEmpty())
        lines << prefix + trimmed;
}

QString asTypedOr(const QString &value, const QString &fallback)
{
    return Text::isNonBlank(value) ? value : fallback;
}

QString destinationTitle(const QString &prefix, const QString &target)
{
    return prefix + (target.isEmpty() ? QStringLiteral("target") : target);
}

} // namespace CommandLines
