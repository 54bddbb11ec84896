#include "hexdump.h"

namespace HexDump {

QString text(QByteArrayView bytes)
{
    constexpr qsizetype perLine = 16;
    const int offsetDigits = bytes.size() > 0x10000 ? 8 : 4;
    QString result;
    result.reserve((bytes.size() / perLine + 1) * (offsetDigits + 4 * perLine + 6));
    for (qsizetype start = 0; start < bytes.size(); start += perLine) {
        const QByteArrayView line = bytes.sliced(start, std::min(perLine, bytes.size() - start));
        result += QStringLiteral("%1 ").arg(start, offsetDigits, 16, QLatin1Char('0'));
        QString ascii;
        for (qsizetype i = 0; i < perLine; ++i) {
            if (i == perLine / 2)
                result += u' ';
            if (i < line.size()) {
                const auto byte = uchar(line[i]);
                result += QStringLiteral(" %1").arg(byte, 2, 16, QLatin1Char('0'));
                ascii += byte >= 0x20 && byte < 0x7f ? QLatin1Char(char(byte)) : QLatin1Char('.');
            } else {
                result += QStringLiteral("   ");
            }
        }
        result += QStringLiteral("  ") + ascii + u'\n';
    }
    result.chop(1);
    return result;
}

} // namespace HexDump
