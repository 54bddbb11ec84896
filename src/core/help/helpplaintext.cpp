#include "helpplaintext.h"

#include "helptopic.h"
#include "inlinemarkdown.h"

namespace {

const QString codeIndent = QStringLiteral("    ");

// Underlines are as long as the text in characters, not UTF-16 units.
QString underlined(const QString &text, QChar mark)
{
    return text + u'\n' + QString(text.toUcs4().size(), mark);
}

struct Renderer {
    QStringList parts;

    void operator()(const HelpParagraph &p) { parts << InlineMarkdown::plainText(p.text); }
    void operator()(const HelpBullets &b)
    {
        QStringList lines;
        for (const QString &item : b.items)
            lines << QStringLiteral("\u2022 ") + InlineMarkdown::plainText(item);
        parts << lines.join(u'\n');
    }
    void operator()(const HelpCode &c)
    {
        QStringList lines = c.code.split(u'\n');
        for (QString &line : lines) {
            if (!line.isEmpty())
                line.prepend(codeIndent);
        }
        parts << lines.join(u'\n');
    }
    void operator()(const HelpSection &s)
    {
        parts << underlined(InlineMarkdown::plainText(s.heading), u'-');
        for (const HelpSectionBlock &block : s.content)
            std::visit(*this, block);
    }
};

} // namespace

namespace HelpPlainText {

QString article(const HelpArticle &article)
{
    Renderer renderer;
    QString header = underlined(article.title, u'=');
    if (article.subtitle)
        header += u'\n' + *article.subtitle;
    renderer.parts << header;
    for (const HelpBlock &block : article.content)
        std::visit(renderer, block);
    return renderer.parts.join(QStringLiteral("\n\n")) + u'\n';
}

QString topicList()
{
    qsizetype width = 0;
    for (const QString &name : Enum::caseNames<HelpTopic>())
        width = std::max(width, name.size());
    QString text;
    for (HelpTopic topic : Enum::allCases<HelpTopic>())
        text += Enum::caseName(topic).leftJustified(width + 2) + HelpTopics::title(topic) + u'\n';
    return text;
}

} // namespace HelpPlainText
