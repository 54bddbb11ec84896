#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>
#include <limits>

// Cuts text arriving in arbitrary slices into lines, as a terminal log or a paste gives them: LF, CRLF,
// CR CR LF (an echoed command) and a lone CR each end one line. Shared by the readers so that they
// agree on what a line is. Only the line not yet ended is held, and no more than maxLine bytes of it:
// a longer line is cut, and cutBytes() tells by how much.
class TextLines
{
public:
    explicit TextLines(qsizetype maxLine = std::numeric_limits<qsizetype>::max())
        : m_maxLine(maxLine)
    {
    }

    // Calls onLine(QByteArrayView) for each line ended in text; the view lives until onLine returns.
    template <typename OnLine> void feed(QByteArrayView text, OnLine &&onLine)
    {
        const char *data = text.data();
        const qsizetype size = text.size();
        qsizetype start = 0;
        qsizetype i = 0;
        while (i < size) {
            if (m_afterCarriageReturn && (data[i] == '\n' || data[i] == '\r')) {
                m_afterCarriageReturn = data[i] == '\r';
                start = ++i;
                continue;
            }
            m_afterCarriageReturn = false;
            const auto *lineFeed = static_cast<const char *>(std::memchr(data + i, '\n', size_t(size - i)));
            const qsizetype limit = lineFeed ? lineFeed - data : size;
            const auto *carriageReturn = static_cast<const char *>(std::memchr(data + i, '\r', size_t(limit - i)));
            const qsizetype at = carriageReturn ? carriageReturn - data : limit;
            if (at == size)
                break;
            if (m_partial.isEmpty() && m_cut == 0) {
                deliver(text.sliced(start, at - start), onLine);
            } else {
                keep(text.sliced(start, at - start));
                deliver(m_partial, onLine);
                m_partial.clear();
            }
            m_afterCarriageReturn = data[at] == '\r';
            start = i = at + 1;
        }
        keep(text.sliced(start));
    }

    // The last line, where the text does not end with a line break.
    template <typename OnLine> void finish(OnLine &&onLine)
    {
        if (m_partial.isEmpty() && m_cut == 0)
            return;
        const QByteArray last = std::move(m_partial);
        m_partial = QByteArray();
        deliver(last, onLine);
    }

    // How many bytes of the line being delivered were left out past maxLine.
    qsizetype cutBytes() const { return m_lastCut; }

    // A line as the terminal showed it: escape sequences gone, backspaces applied, no-break spaces and
    // other control characters made spaces.
    static QByteArray cleaned(QByteArrayView line);
    static bool needsCleaning(QByteArrayView line);

private:
    template <typename OnLine> void deliver(QByteArrayView line, OnLine &onLine)
    {
        m_lastCut = m_cut;
        if (line.size() > m_maxLine) {
            m_lastCut += line.size() - m_maxLine;
            line = line.first(m_maxLine);
        }
        m_cut = 0;
        onLine(line);
    }

    void keep(QByteArrayView piece)
    {
        const qsizetype room = m_maxLine - m_partial.size();
        if (piece.size() > room) {
            m_cut += piece.size() - room;
            piece = piece.first(room);
        }
        m_partial.append(piece);
    }

    QByteArray m_partial; // a line not yet ended
    qsizetype m_maxLine;
    qsizetype m_cut = 0;     // bytes of the partial line left out
    qsizetype m_lastCut = 0; // of the line last delivered
    bool m_afterCarriageReturn = false;
};
