#include "helparticleview.h"

#include "common/style.h"
#include "helpcodeblock.h"
#include "helpinlinehtml.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int articleSpacing = 16;
constexpr int headerSpacing = 6;
constexpr int sectionSpacing = 8;
constexpr int bulletSpacing = 4;
constexpr int bulletGap = 8;

// Relative to the body font, approximating the large-title, second- and third-level title fonts.
constexpr double titleScale = 2.0;
constexpr double headingScale = 1.35;
constexpr double subtitleScale = 1.2;

QVBoxLayout *column(QWidget *widget, int spacing)
{
    auto *layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}
} // namespace

HelpArticleView::HelpArticleView(const HelpArticle &article, QWidget *parent)
    : QWidget(parent)
    , m_article(article)
{
    setObjectName(QStringLiteral("helpArticle"));
    QVBoxLayout *layout = column(this, articleSpacing);

    auto *header = new QWidget(this);
    header->setObjectName(QStringLiteral("helpHeader"));
    QVBoxLayout *headerLayout = column(header, headerSpacing);
    auto *title = new QLabel(header);
    title->setObjectName(QStringLiteral("helpTitle"));
    title->setTextFormat(Qt::PlainText);
    title->setText(article.title);
    title->setWordWrap(true);
    Style::setPointSizeScale(title, titleScale);
    Style::setBold(title);
    headerLayout->addWidget(title);
    if (article.subtitle) {
        auto *subtitle = new QLabel(header);
        subtitle->setObjectName(QStringLiteral("helpSubtitle"));
        subtitle->setTextFormat(Qt::PlainText);
        subtitle->setText(*article.subtitle);
        subtitle->setWordWrap(true);
        Style::setPointSizeScale(subtitle, subtitleScale);
        Style::setSecondary(subtitle);
        headerLayout->addWidget(subtitle);
    }
    layout->addWidget(header);

    for (const HelpBlock &block : article.content)
        std::visit([&](const auto &b) { addBlock(layout, b); }, block);
    layout->addStretch(1);
}

QLabel *HelpArticleView::richLabel(const QString &markdown, const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::RichText);
    label->setText(HelpInlineHtml::fromMarkdown(markdown));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Rendered text, so the accessible name must not carry the markup.
    label->setAccessibleName(InlineMarkdown::plainText(markdown));
    return label;
}

void HelpArticleView::addBlock(QVBoxLayout *layout, const HelpParagraph &paragraph)
{
    layout->addWidget(richLabel(paragraph.text, QStringLiteral("helpParagraph"), layout->parentWidget()));
}

void HelpArticleView::addBlock(QVBoxLayout *layout, const HelpBullets &bullets)
{
    auto *list = new QWidget(layout->parentWidget());
    list->setObjectName(QStringLiteral("helpBullets"));
    QVBoxLayout *items = column(list, bulletSpacing);
    for (const QString &item : bullets.items) {
        auto *row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(bulletGap);
        // Same font and both top-aligned: the bullet sits on the item's first baseline.
        auto *bullet = new QLabel(QStringLiteral("\u2022"), list);
        bullet->setObjectName(QStringLiteral("helpBullet"));
        bullet->setTextFormat(Qt::PlainText);
        bullet->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Style::setSecondary(bullet);
        row->addWidget(bullet, 0, Qt::AlignTop);
        row->addWidget(richLabel(item, QStringLiteral("helpBulletItem"), list), 1);
        items->addLayout(row);
    }
    layout->addWidget(list);
}

void HelpArticleView::addBlock(QVBoxLayout *layout, const HelpCode &code)
{
    layout->addWidget(new HelpCodeBlock(code.code, layout->parentWidget()));
}

void HelpArticleView::addBlock(QVBoxLayout *layout, const HelpSection &section)
{
    auto *box = new QWidget(layout->parentWidget());
    box->setObjectName(QStringLiteral("helpSection"));
    QVBoxLayout *content = column(box, sectionSpacing);
    // One heading carries inline code ("Verbose levels (`0`–`6`)"). It is rendered as in paragraphs,
    // as the terminal help drops the markers too, so no back-quote ever shows.
    QLabel *heading = richLabel(section.heading, QStringLiteral("helpHeading"), box);
    Style::setPointSizeScale(heading, headingScale);
    Style::setBold(heading);
    content->addWidget(heading);
    for (const HelpSectionBlock &block : section.content)
        std::visit([&](const auto &b) { addBlock(content, b); }, block);
    layout->addWidget(box);
}
