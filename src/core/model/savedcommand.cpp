#include "savedcommand.h"

#include "text.h"

#include <QLocale>

#include <cmath>

namespace {
// 2001-01-01 00:00:00 UTC as seconds since the Unix epoch.
constexpr double referenceEpoch = 978307200.0;

// Every line of text as a "# " comment. The file is meant to be pasted into a firewall's console,
// where a second line of notes without the prefix would run as a command.
QString commented(const QString &text)
{
    QString result = QStringLiteral("# ");
    result.reserve(text.size() + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        result += c;
        if (!Text::isLineBreak(c) || (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n'))
            continue;
        result += QStringLiteral("# ");
    }
    return result;
}

} // namespace

SavedCommand SavedCommand::create(const QString &title, DebugCategory category, const QString &command,
                                  const QString &notes)
{
    return {QUuid::createUuid(), title, category, command, notes, referenceSeconds(QDateTime::currentDateTimeUtc())};
}

double SavedCommand::referenceSeconds(const QDateTime &dateTime)
{
    return double(dateTime.toMSecsSinceEpoch()) / 1000.0 - referenceEpoch;
}

QDateTime SavedCommand::createdAtDateTime() const
{
    // A hand-edited or foreign value may lie beyond any date: it is kept as it is and has no date.
    // The limit is ECMAScript's, 100,000,000 days either side of 1970.
    constexpr double limit = 8.64e15;
    const double msecs = (createdAt + referenceEpoch) * 1000.0;
    if (!(std::abs(msecs) <= limit))
        return {};
    return QDateTime::fromMSecsSinceEpoch(qint64(msecs), Qt::UTC);
}

QString SavedCommand::exportText() const
{
    if (notes.isEmpty())
        return command;
    return commented(title) + u'\n' + commented(notes) + QStringLiteral("\n\n") + command;
}

QString SavedCommand::idText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}
