#pragma once

#include "help/helparticle.h"

#include <QWidget>

class QLabel;
class QVBoxLayout;

// One help article laid out as its blocks say: the title and optional subtitle, then paragraphs,
// bullet lists, code blocks and sections in order. Inline Markdown in paragraphs, bullet items and
// headings is rendered; titles and subtitles are shown exactly as written.
class HelpArticleView : public QWidget
{
    Q_OBJECT

public:
    explicit HelpArticleView(const HelpArticle &article, QWidget *parent = nullptr);

    const HelpArticle &article() const { return m_article; }

private:
    void addBlock(QVBoxLayout *layout, const HelpParagraph &paragraph);
    void addBlock(QVBoxLayout *layout, const HelpBullets &bullets);
    void addBlock(QVBoxLayout *layout, const HelpCode &code);
    void addBlock(QVBoxLayout *layout, const HelpSection &section);
    QLabel *richLabel(const QString &markdown, const QString &objectName, QWidget *parent);

    HelpArticle m_article;
};
