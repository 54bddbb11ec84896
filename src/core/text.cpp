#include "text.h"

#include <QLocale>

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

QString escaped(const QString &value, qsizetype limit, bool *cut)
{
    QString shown;
    for (qsizetype i = 0; i < value.size();) {
        const char32_t c = value.at(i).isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()
                               ? QChar::surrogateToUcs4(value.at(i), value.at(i + 1))
                               : char32_t(value.at(i).unicode());
        i += c > 0xffff ? 2 : 1;
        QString piece;
        switch (QChar::category(c)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            piece = c == u'\n'    ? QStringLiteral("\\n")
                    : c == u'\t'  ? QStringLiteral("\\t")
                    : c == u'\r'  ? QStringLiteral("\\r")
                    : c < 0x100   ? QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'))
                    : c < 0x10000 ? QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'))
                                  : QStringLiteral("\\U%1").arg(uint(c), 8, 16, QLatin1Char('0'));
            break;
        default:
            piece = c == u'\\' ? QStringLiteral("\\\\") : QString::fromUcs4(&c, 1);
        }
        if (shown.size() + piece.size() > limit) {
            if (cut)
                *cut = true;
            break;
        }
        shown += piece;
    }
    return shown;
}

QString quoted(const QString &value)
{
    bool cut = false;
    const QString shown = escaped(value, 80, &cut);
    return u'\'' + shown + (cut ? QStringLiteral("\u2026'") : QStringLiteral("'"));
}

} // namespace Text

QString Text::counted(qint64 n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(QLocale::c().toString(n), QLatin1String(n == 1 ? one : many));
}
