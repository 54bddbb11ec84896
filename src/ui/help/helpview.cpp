#include "helpview.h"

#include "common/icons.h"
#include "common/style.h"
#include "help/helpcontent.h"
#include "helparticleview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int topicRole = Qt::UserRole;
constexpr int articlePadding = 24;
constexpr int sidebarIdealWidth = 220;
constexpr int detailMinimumWidth = 560;
} // namespace

HelpView::HelpView(const HelpPlatform &platform, QWidget *parent)
    : QWidget(parent)
    , m_platform(platform)
    , m_sidebarColumn(new QWidget(this))
    , m_sidebar(new QListWidget(this))
    , m_detail(new QScrollArea(this))
    , m_splitter(new QSplitter(Qt::Horizontal, this))
{
    setObjectName(QStringLiteral("helpView"));

    m_sidebarColumn->setObjectName(QStringLiteral("helpSidebarColumn"));
    m_sidebarColumn->setMinimumWidth(200);
    m_sidebarColumn->setMaximumWidth(260);
    auto *sidebarLayout = new QVBoxLayout(m_sidebarColumn);
    sidebarLayout->setContentsMargins(0, 8, 0, 0);
    sidebarLayout->setSpacing(4);
    auto *heading = new QLabel(QStringLiteral("Help"), m_sidebarColumn);
    heading->setObjectName(QStringLiteral("helpSidebarTitle"));
    heading->setTextFormat(Qt::PlainText);
    heading->setContentsMargins(10, 0, 10, 0);
    Style::setBold(heading);
    Style::setSecondary(heading);
    sidebarLayout->addWidget(heading);

    m_sidebar->setObjectName(QStringLiteral("helpSidebar"));
    m_sidebar->setAccessibleName(QStringLiteral("Help"));
    m_sidebar->setSelectionMode(QAbstractItemView::SingleSelection);
    m_sidebar->setFrameShape(QFrame::NoFrame);
    m_sidebar->setIconSize(QSize(18, 18));
    // Room around each row's icon and title.
    m_sidebar->setStyleSheet(QStringLiteral("QListWidget#helpSidebar { padding: 0 4px; }"
                                            "QListWidget#helpSidebar::item { padding: 4px 4px; }"));
    for (HelpTopic topic : Enum::allCases<HelpTopic>()) {
        auto *item = new QListWidgetItem(Icons::symbol(HelpTopics::symbol(topic)), HelpTopics::title(topic));
        item->setData(topicRole, int(topic));
        m_sidebar->addItem(item);
    }
    sidebarLayout->addWidget(m_sidebar);

    m_detail->setObjectName(QStringLiteral("helpDetail"));
    m_detail->setWidgetResizable(true);
    m_detail->setFrameShape(QFrame::NoFrame);
    m_detail->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_detail->setMinimumWidth(detailMinimumWidth);

    m_splitter->setObjectName(QStringLiteral("helpSplitter"));
    m_splitter->addWidget(m_sidebarColumn);
    m_splitter->addWidget(m_detail);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({sidebarIdealWidth, 720});
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    connect(m_sidebar, &QListWidget::itemSelectionChanged, this, [this] {
        const auto selected = m_sidebar->selectedItems();
        m_topic =
            selected.isEmpty() ? std::nullopt : std::optional(HelpTopic(selected.first()->data(topicRole).toInt()));
        showArticle();
    });
    syncSidebar();
    showArticle();
}

void HelpView::setTopic(std::optional<HelpTopic> topic)
{
    m_topic = topic;
    syncSidebar();
    showArticle();
}

void HelpView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitColumns();
}

// At the window's minimum width (720) the two columns cannot both have their minimum widths. The
// article then gives up the difference rather than the sidebar, so every topic stays reachable and
// nothing is cut off; it has its full minimum again as soon as there is room.
void HelpView::fitColumns()
{
    const int room = m_splitter->width() - m_splitter->handleWidth() - m_sidebarColumn->minimumWidth();
    const int minimum = std::clamp(room, 0, detailMinimumWidth);
    if (m_detail->minimumWidth() != minimum)
        m_detail->setMinimumWidth(minimum);
}

void HelpView::syncSidebar()
{
    const QSignalBlocker blocker(m_sidebar);
    m_sidebar->clearSelection();
    if (m_topic) {
        QListWidgetItem *item = m_sidebar->item(int(*m_topic));
        item->setSelected(true);
        m_sidebar->setCurrentItem(item);
    }
    m_sidebar->viewport()->update();
}

void HelpView::showArticle()
{
    const HelpArticle article = articleFor(shownTopic(), m_platform);
    if (m_article && m_article->article() == article)
        return;
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("helpPage"));
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(articlePadding, articlePadding, articlePadding, articlePadding);
    m_article = new HelpArticleView(article, page);
    pageLayout->addWidget(m_article);
    // Replaces (and deletes) the previous page.
    m_detail->setWidget(page);
    m_detail->verticalScrollBar()->setValue(0);
}
