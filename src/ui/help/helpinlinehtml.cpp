#include "helpinlinehtml.h"

#include <QFontDatabase>

namespace HelpInlineHtml {

QString fromSpans(const QList<InlineSpan> &spans, const QString &codeFamily)
{
    // The family is quoted inside a double-quoted attribute, so neither quote may come through.
    QString family = codeFamily;
    family.remove(u'\'').remove(u'"');
    QString html;
    for (const InlineSpan &span : spans) {
        QString plain = span.text;
        // A line may break after any slash: never right after the first, which would leave "(/" or
        // "(~/" alone at the end of a line.
        if (const qsizetype slash = plain.indexOf(u'/'); span.code && (slash == 0 || plain.startsWith(u"~/")))
            plain.insert(slash + 1, QChar(0x2060)); // word joiner
        QString text = plain.toHtmlEscaped();
        if (span.code)
            text = QStringLiteral("<code style=\"font-family:'%1'\">%2</code>").arg(family.toHtmlEscaped(), text);
        if (span.italic)
            text = QStringLiteral("<i>%1</i>").arg(text);
        if (span.bold)
            text = QStringLiteral("<b>%1</b>").arg(text);
        html += text;
    }
    return html;
}

QString fromMarkdown(const QString &text, const QString &codeFamily)
{
    return fromSpans(InlineMarkdown::parse(text), codeFamily);
}

QString fromMarkdown(const QString &text)
{
    return fromMarkdown(text, QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
}

} // namespace HelpInlineHtml
