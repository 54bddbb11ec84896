#pragma once

#include "help/helpplatform.h"
#include "help/helptopic.h"

#include <QWidget>

#include <optional>

class HelpArticleView;
class QListWidget;
class QScrollArea;
class QSplitter;

// The help window's content: the "Help" sidebar of topics and, beside it, the selected topic's
// article. With no topic selected the Overview article is shown.
class HelpView : public QWidget
{
    Q_OBJECT

public:
    explicit HelpView(const HelpPlatform &platform, QWidget *parent = nullptr);

    std::optional<HelpTopic> topic() const { return m_topic; }
    void setTopic(std::optional<HelpTopic> topic);
    // The topic whose article is on screen.
    HelpTopic shownTopic() const { return m_topic.value_or(HelpTopic::overview); }

    QListWidget *sidebar() const { return m_sidebar; }
    QScrollArea *detail() const { return m_detail; }
    HelpArticleView *articleView() const { return m_article; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitColumns();
    void syncSidebar();
    void showArticle();

    HelpPlatform m_platform;
    std::optional<HelpTopic> m_topic = HelpTopic::overview;
    QWidget *m_sidebarColumn;
    QListWidget *m_sidebar;
    QScrollArea *m_detail;
    QSplitter *m_splitter;
    HelpArticleView *m_article = nullptr;
};
