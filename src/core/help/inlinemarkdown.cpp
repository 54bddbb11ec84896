#include "inlinemarkdown.h"

#include <QHash>

#include <optional>

namespace {

class Parser
{
public:
    explicit Parser(const QString &text)
        : m_text(text)
    {
    }

    QList<InlineSpan> run()
    {
        parseRange(0, m_text.size(), InlineSpan{});
        return m_spans;
    }

private:
    struct Emphasis {
        qsizetype open;  // first star of the opener
        qsizetype width; // 2 bold, 1 italic
        qsizetype close; // first star of the closer
    };

    // The index after the back-quote that closes a code span opened at i, or -1 if none does before end.
    // Two back-quotes in a row are text, not an empty code span.
    qsizetype codeEnd(qsizetype i, qsizetype end) const
    {
        const qsizetype close = m_text.indexOf(u'`', i + 1);
        return close > i + 1 && close < end ? close + 1 : -1;
    }

    qsizetype starRun(qsizetype i, qsizetype end) const
    {
        qsizetype n = 0;
        while (i + n < end && m_text.at(i + n) == u'*')
            ++n;
        return n;
    }

    bool spaceAt(qsizetype i) const { return m_text.at(i).isSpace(); }

    // The emphasis that the run of stars at i opens, if it is closed before end: bold from the run's
    // first two stars, else italic from its last star (stars before it stay text).
    std::optional<Emphasis> emphasisAt(qsizetype i, qsizetype run, qsizetype end)
    {
        const quint64 key = (quint64(i) << 32) | quint64(end);
        const auto known = m_emphasis.constFind(key);
        if (known != m_emphasis.cend())
            return *known;
        std::optional<Emphasis> found;
        if (run >= 2 && i + 2 < end && !spaceAt(i + 2)) {
            const qsizetype close = findCloser(i, 2, end);
            if (close >= 0)
                found = Emphasis{i, 2, close};
        }
        const qsizetype last = i + run - 1;
        if (!found && last + 1 < end && !spaceAt(last + 1)) {
            const qsizetype close = findCloser(last, 1, end);
            if (close >= 0)
                found = Emphasis{last, 1, close};
        }
        m_emphasis.insert(key, found);
        return found;
    }

    // Where the emphasis of `width` stars opened at open is closed, or -1. Code spans and nested
    // emphasis are stepped over; a closer follows a non-space. In a run longer than the closer (the
    // end of "***x***") the inner emphasis closes first, so this closer takes the run's first stars.
    qsizetype findCloser(qsizetype open, qsizetype width, qsizetype end)
    {
        qsizetype i = open + width;
        while (i < end) {
            const QChar c = m_text.at(i);
            if (c == u'`') {
                const qsizetype after = codeEnd(i, end);
                i = after >= 0 ? after : i + 1;
                continue;
            }
            if (c != u'*') {
                ++i;
                continue;
            }
            const qsizetype run = starRun(i, end);
            const bool canClose = i > open + width && !spaceAt(i - 1);
            if (canClose && run == width)
                return i;
            if (const auto nested = emphasisAt(i, run, end)) {
                i = nested->close + nested->width;
                continue;
            }
            if (canClose && run > width)
                return i;
            i += run;
        }
        return -1;
    }

    void append(const QString &text, const InlineSpan &style)
    {
        if (text.isEmpty())
            return;
        if (!m_spans.isEmpty()) {
            InlineSpan &last = m_spans.last();
            if (last.bold == style.bold && last.italic == style.italic && last.code == style.code) {
                last.text += text;
                return;
            }
        }
        InlineSpan span = style;
        span.text = text;
        m_spans.append(span);
    }

    void parseRange(qsizetype begin, qsizetype end, const InlineSpan &style)
    {
        qsizetype i = begin;
        qsizetype literalStart = begin;
        const auto flush = [&](qsizetype upTo) { append(m_text.mid(literalStart, upTo - literalStart), style); };
        while (i < end) {
            const QChar c = m_text.at(i);
            if (c == u'`') {
                const qsizetype after = codeEnd(i, end);
                if (after < 0) {
                    ++i;
                    continue;
                }
                flush(i);
                InlineSpan code = style;
                code.code = true;
                append(m_text.mid(i + 1, after - i - 2), code);
                i = literalStart = after;
                continue;
            }
            if (c != u'*') {
                ++i;
                continue;
            }
            const qsizetype run = starRun(i, end);
            const auto emphasis = emphasisAt(i, run, end);
            if (!emphasis) {
                i += run;
                continue;
            }
            flush(emphasis->open);
            InlineSpan inner = style;
            (emphasis->width == 2 ? inner.bold : inner.italic) = true;
            parseRange(emphasis->open + emphasis->width, emphasis->close, inner);
            i = literalStart = emphasis->close + emphasis->width;
        }
        flush(end);
    }

    const QString &m_text;
    QList<InlineSpan> m_spans;
    // Keyed by (position, end): without it, unclosed openers would be re-examined exponentially often.
    QHash<quint64, std::optional<Emphasis>> m_emphasis;
};

} // namespace

namespace InlineMarkdown {

QList<InlineSpan> parse(const QString &text)
{
    return Parser(text).run();
}

QString plainText(const QString &text)
{
    QString result;
    for (const InlineSpan &span : parse(text))
        result += span.text;
    return result;
}

} // namespace InlineMarkdown
