#include "textlines.h"

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

bool TextLines::needsCleaning(QByteArrayView line)
{
    for (const char c : line) {
        const unsigned char u = uchar(c);
        if ((u < 0x20 && u != '\t') || u == 0x7f || u == 0xa0 || u == 0xc2)
            return true;
    }
    return false;
}
