#pragma once

#include <QList>
#include <QString>

// One run of text with the same emphasis.
struct InlineSpan {
    QString text;
    bool bold = false;
    bool italic = false;
    bool code = false;

    bool operator==(const InlineSpan &) const = default;
};

// The inline Markdown of help texts: **bold**, *italic* and `code`, nothing else.
// - A back-quote opens code only when a closing back-quote follows; code text is literal, so
//   asterisks and angle brackets inside it stay as they are.
// - ** and * open emphasis only when followed by a non-space and closed later, outside code, by the
//   same marker preceded by a non-space. Emphasis may enclose code and the other emphasis.
// - Every marker that does not pair up is ordinary text.
// Spans come out in order; neighbours with the same flags are merged, empty spans are dropped.
// The text is not escaped: HTML output must escape each span's text itself.
namespace InlineMarkdown {

QList<InlineSpan> parse(const QString &text);

// The text with its markers removed, for terminals.
QString plainText(const QString &text);

} // namespace InlineMarkdown
