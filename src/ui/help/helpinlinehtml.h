#pragma once

#include "help/inlinemarkdown.h"

#include <QList>
#include <QString>

// Help texts with inline Markdown as rich text for a QLabel. Every span's text is escaped, so
// "<policy-id>" and "a & b" show as written; only the emphasis and code become markup.
namespace HelpInlineHtml {

// codeFamily is the font family of inline code (the monospaced system font in the views).
QString fromSpans(const QList<InlineSpan> &spans, const QString &codeFamily);
QString fromMarkdown(const QString &text, const QString &codeFamily);
// With the monospaced system font.
QString fromMarkdown(const QString &text);

} // namespace HelpInlineHtml
