#include "textlines.h"

#include <cstring>

QByteArray TextLines::cleaned(QByteArrayView line)
{
    QByteArray out;
    out.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const unsigned char c = uchar(line[i]);
        if (c == 0x1b && i + 1 < line.size()) {
            const char kind = line[i + 1];
            i += 2;
            if (kind == '[') { // CSI: parameters, then one final byte
                while (i < line.size() && !(uchar(line[i]) >= 0x40 && uchar(line[i]) <= 0x7e))
                    ++i;
            } else if (kind == ']') { // OSC: up to BEL or ESC backslash
                while (i < line.size() && line[i] != '\a' && !(line[i] == 0x1b && i + 1 < line.size()))
                    ++i;
                if (i < line.size() && line[i] == 0x1b)
                    ++i;
            } else {
                --i;
            }
            continue;
        }
        if (c == 0x08) {
            if (!out.isEmpty())
                out.chop(1);
            continue;
        }
        if (c == 0xc2 && i + 1 < line.size() && uchar(line[i + 1]) == 0xa0) {
            out += ' ';
            ++i;
            continue;
        }
        const bool noBreakSpace = c == 0xa0 && (out.isEmpty() || uchar(out.back()) < 0x80);
        out += (c < 0x20 && c != '\t') || c == 0x7f || noBreakSpace ? ' ' : char(c);
    }
    return out;
}

namespace {
bool needsCleaning(unsigned char c)
{
    return (c < 0x20 && c != '\t') || c == 0x7f || c == 0xa0 || c == 0xc2;
}
} // namespace

// Eight bytes at a time: a control character, DEL or a byte beyond ASCII sends that word to the exact
// test (a tab is common and harmless).
bool TextLines::needsCleaning(QByteArrayView line)
{
    constexpr quint64 ones = 0x0101010101010101, highs = 0x8080808080808080;
    const char *data = line.data();
    const qsizetype size = line.size();
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 x;
        std::memcpy(&x, data + i, 8);
        const quint64 del = x ^ 0x7f * ones;
        if (((x - 0x20 * ones) | x | ((del - ones) & ~del)) & highs) {
            for (int k = 0; k < 8; ++k) {
                if (::needsCleaning(uchar(data[i + k])))
                    return true;
            }
        }
    }
    for (; i < size; ++i) {
        if (::needsCleaning(uchar(data[i])))
            return true;
    }
    return false;
}
