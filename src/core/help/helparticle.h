#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <variant>

// The building blocks of a help article: plain values, no behaviour. Texts carry inline Markdown
// (see InlineMarkdown) except titles, subtitles and headings, which are shown as written.
struct HelpParagraph {
    QString text;
    bool operator==(const HelpParagraph &) const = default;
};

struct HelpBullets {
    QStringList items;
    bool operator==(const HelpBullets &) const = default;
};

// Command-line text: lines joined with single line feeds, leading spaces significant.
struct HelpCode {
    QString code;
    bool operator==(const HelpCode &) const = default;
};

// Sections do not nest: a section holds only paragraphs, bullets and code.
using HelpSectionBlock = std::variant<HelpParagraph, HelpBullets, HelpCode>;

struct HelpSection {
    QString heading;
    QList<HelpSectionBlock> content;
    bool operator==(const HelpSection &) const = default;
};

using HelpBlock = std::variant<HelpParagraph, HelpBullets, HelpCode, HelpSection>;

struct HelpArticle {
    QString title;
    std::optional<QString> subtitle;
    QList<HelpBlock> content;

    bool operator==(const HelpArticle &) const = default;

    // Every text of the article (title, subtitle, headings, paragraphs, bullet items, code) passed
    // through fn; the structure is kept.
    HelpArticle transformed(const std::function<QString(const QString &)> &fn) const;
};
