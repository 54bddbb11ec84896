#pragma once

#include "help/helparticle.h"
#include "help/inlinemarkdown.h"

// Every text of a help article in reading order, with the kind of block it is shown in, so a test
// can say how each one must read without re-typing any article.
struct HelpText {
    enum Kind { title, subtitle, heading, paragraph, bullet, code } kind;
    QString text;

    // Titles, subtitles and code are shown as written; the rest carry inline Markdown.
    bool marked() const { return kind == heading || kind == paragraph || kind == bullet; }
    QString read() const { return marked() ? InlineMarkdown::plainText(text) : text; }
};

inline QList<HelpText> helpTexts(const HelpArticle &article)
{
    QList<HelpText> texts{{HelpText::title, article.title}};
    if (article.subtitle)
        texts.append({HelpText::subtitle, *article.subtitle});
    const auto add = [&texts](const auto &self, const auto &block) -> void {
        using T = std::decay_t<decltype(block)>;
        if constexpr (std::is_same_v<T, HelpSection>) {
            texts.append({HelpText::heading, block.heading});
            for (const HelpSectionBlock &inner : block.content)
                std::visit([&](const auto &b) { self(self, b); }, inner);
        } else if constexpr (std::is_same_v<T, HelpBullets>) {
            for (const QString &item : block.items)
                texts.append({HelpText::bullet, item});
        } else if constexpr (std::is_same_v<T, HelpCode>) {
            texts.append({HelpText::code, block.code});
        } else {
            texts.append({HelpText::paragraph, block.text});
        }
    };
    for (const HelpBlock &block : article.content)
        std::visit([&](const auto &b) { add(add, b); }, block);
    return texts;
}

// Spans as their flags (Bold, Italic, Code) and text, "[a ] B[b] BC[c]", so a table row reads at a glance.
inline QString spansText(const QList<InlineSpan> &spans)
{
    QStringList shown;
    for (const InlineSpan &s : spans)
        shown << QStringLiteral("%1%2%3[%4]")
                     .arg(QLatin1String(s.bold ? "B" : ""), QLatin1String(s.italic ? "I" : ""),
                          QLatin1String(s.code ? "C" : ""), s.text);
    return shown.join(u' ');
}
