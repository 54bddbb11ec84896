#include "text.h"

namespace Text {

bool isWhiteSpace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

QString trimmed(const QString &value)
{
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && isWhiteSpace(value.at(begin)))
        ++begin;
    while (end > begin && isWhiteSpace(value.at(end - 1)))
        --end;
    return value.mid(begin, end - begin);
}

bool isNonBlank(const QString &value)
{
    for (QChar c : value) {
        if (!isWhiteSpace(c))
            return true;
    }
    return false;
}

QString joinLines(const QStringList &lines)
{
    return lines.join(u'\n');
}

bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case 0x000A: // line feed
    case 0x000B: // vertical tab
    case 0x000C: // form feed
    case 0x000D: // carriage return
    case 0x0085: // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return false;
    }
}

QString toSingleLine(QString value)
{
    for (QChar &c : value) {
        if (isLineBreak(c))
            c = u' ';
    }
    return value;
}

} // namespace Text
