#include "contentview.h"

#include "common/alert.h"
#include "output/savecommanddialog.h"

#include "builders/flowview.h"
#include "builders/snifferview.h"
#include "categorydelegate.h"
#include "categoryviewfactory.h"
#include "common/emptystateview.h"
#include "common/icons.h"
#include "common/style.h"
#include "model/navigationstate.h"
#include "readers/readerinput.h"
#include "saved/savedcommandsview.h"

#include <QDropEvent>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
Q_LOGGING_CATEGORY(lcContent, "brindlecap.content", QtWarningMsg)

constexpr int categoryRole = Qt::UserRole;
constexpr int readerRole = Qt::UserRole + 2;

// The application icon drawn 28 x 28, clipped to a rounded rectangle of radius 6.
QPixmap footerIcon(qreal devicePixelRatio)
{
    const int side = 28;
    QPixmap pixmap(QSize(side, side) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(0, 0, side, side), 6, 6);
    painter.setClipPath(clip);
    Icons::application().paint(&painter, QRect(0, 0, side, side));
    return pixmap;
}
} // namespace

ContentView::ContentView(const Stores &stores, NavigationState &nav, QWidget *parent)
    : QWidget(parent)
    , m_stores(stores)
    , m_nav(nav)
    , m_sidebar(new QListWidget(this))
    , m_detailLayout(nullptr)
{
    m_sidebar->setObjectName(QStringLiteral("sidebar"));
    m_sidebar->setAccessibleName(QStringLiteral("Brindlecap Builder"));
    m_sidebar->setItemDelegate(new CategoryDelegate(m_sidebar));
    m_sidebar->setSelectionMode(QAbstractItemView::SingleSelection);
    m_sidebar->setFrameShape(QFrame::NoFrame);
    m_sidebar->setIconSize(QSize(20, 20));
    for (DebugCategory category : Enum::allCases<DebugCategory>()) {
        auto *item = new QListWidgetItem(Icons::symbol(Category::icon(category)), Category::title(category));
        item->setData(categoryRole, int(category));
        item->setData(CategoryDelegate::SubtitleRole, Category::subtitle(category));
        item->setToolTip(Category::subtitle(category));
        m_sidebar->addItem(item);
    }
    addReaderSection();

    auto *sidebarColumn = new QWidget(this);
    sidebarColumn->setObjectName(QStringLiteral("sidebarColumn"));
    sidebarColumn->setMinimumWidth(220);
    sidebarColumn->setMaximumWidth(300);
    auto *sidebarLayout = new QVBoxLayout(sidebarColumn);
    sidebarLayout->setContentsMargins(0, 0, 0, 0);
    sidebarLayout->setSpacing(0);
    sidebarLayout->addWidget(m_sidebar);
    auto *divider = new QFrame(sidebarColumn);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    sidebarLayout->addWidget(divider);
    sidebarLayout->addWidget(createFooter());

    auto *detailColumn = new QWidget(this);
    detailColumn->setObjectName(QStringLiteral("detailColumn"));
    detailColumn->setMinimumSize(560, 480);
    m_detailLayout = new QVBoxLayout(detailColumn);
    m_detailLayout->setContentsMargins(0, 0, 0, 0);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(sidebarColumn);
    splitter->addWidget(detailColumn);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({270, 830});
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    // F6 moves between the sidebar and the form, as it moves between panes on the desktop; Tab leaves
    // the sidebar for the form's first control.
    auto *panes = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(panes, &QShortcut::activated, this, [this] {
        if (m_sidebar->hasFocus())
            focusNextChild();
        else
            m_sidebar->setFocus(Qt::ShortcutFocusReason);
    });

    setAcceptDrops(true);
    connect(m_sidebar, &QListWidget::itemSelectionChanged, this, [this] {
        const auto selected = m_sidebar->selectedItems();
        select(selected.isEmpty() ? Place() : placeOf(selected.first()));
    });
    connect(&m_nav, &NavigationState::selectedCategoryChanged, this, &ContentView::placeChanged);
    connect(&m_nav, &NavigationState::selectedReaderChanged, this, &ContentView::placeChanged);
    // Shown by then, unless the user is still asked about an edit open in the view they leave (no
    // reader has one): then the form waits for the next such request.
    connect(&m_nav, &NavigationState::formOpened, this, [this](const FilledForm &form) {
        auto *builder = qobject_cast<BuilderView *>(m_detail);
        if (builder && m_shown == Place{form.category, std::nullopt} && !builder->fill(form))
            qCWarning(lcContent) << "a filled form did not fit the view of" << Enum::caseName(form.category);
    });
    syncSidebar(selected());
    showSelection(selected());
}

void ContentView::dragEnterEvent(QDragEnterEvent *event)
{
    if (ReaderInput::canRead(event->mimeData()))
        event->acceptProposedAction();
}

void ContentView::dropEvent(QDropEvent *event)
{
    if (!m_shown.reader)
        m_nav.setSelectedReader(readerFor(event->mimeData()));
    // Not there while the user is asked about an edit still open.
    auto *input = m_detail ? m_detail->findChild<ReaderInput *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (m_shown.reader && input) {
        input->read(event->mimeData());
        event->acceptProposedAction();
    }
}

OutputReader ContentView::readerFor(const QMimeData *data)
{
    // A trace record names its trace in every shape it is printed in; the start of a log tells.
    QByteArray start;
    if (const QList<QUrl> urls = data->urls(); !urls.isEmpty()) {
        QFile file(urls.first().toLocalFile());
        if (file.open(QIODevice::ReadOnly))
            start = file.read(1 << 16);
    } else {
        start = data->text().left(1 << 16).toUtf8();
    }
    return start.contains("trace_id=") ? OutputReader::flow : OutputReader::sniffer;
}

ContentView::Place ContentView::placeOf(const QListWidgetItem *item)
{
    const QVariant category = item->data(categoryRole);
    const QVariant reader = item->data(readerRole);
    return {category.isValid() ? std::optional(DebugCategory(category.toInt())) : std::nullopt,
            reader.isValid() ? std::optional(OutputReader(reader.toInt())) : std::nullopt};
}

ContentView::Place ContentView::selected() const
{
    return {m_nav.selectedCategory(), m_nav.selectedReader()};
}

void ContentView::select(const Place &place)
{
    if (place.reader)
        m_nav.setSelectedReader(place.reader);
    else
        m_nav.setSelectedCategory(place.category);
}

void ContentView::placeChanged()
{
    const Place place = selected();
    // The move waits for the user's answer about an open edit: the state goes back meanwhile.
    if (place != m_shown && !mayLeave([this, place] { select(place); })) {
        select(m_shown);
        return;
    }
    syncSidebar(place);
    if (place != m_shown)
        showSelection(place);
}

bool ContentView::mayLeave(const std::function<void()> &then)
{
    if (auto *saved = qobject_cast<SavedCommandsView *>(m_detail))
        return saved->mayLeave(then);
    // A Save for Later sheet still open holds what the user typed into it: asked about as an edit is.
    auto *sheet = m_detail ? m_detail->findChild<SaveCommandDialog *>() : nullptr;
    if (!sheet || !sheet->isVisible())
        return true;
    if (!sheet->findChild<QMessageBox *>())
        Alert::askToSave(
            sheet, "unsavedSheetAlert", QStringLiteral("Save \"%1\" for later?").arg(sheet->saveTitle()),
            [sheet] { sheet->accept(); }, [sheet] { sheet->reject(); }, then);
    return false;
}

void ContentView::syncSidebar(const Place &place)
{
    const QSignalBlocker blocker(m_sidebar);
    m_sidebar->clearSelection();
    for (int row = 0; row < m_sidebar->count(); ++row) {
        QListWidgetItem *item = m_sidebar->item(row);
        if (place != Place() && placeOf(item) == place) {
            item->setSelected(true);
            m_sidebar->setCurrentItem(item);
        }
    }
    m_sidebar->viewport()->update();
}

void ContentView::showSelection(const Place &place)
{
    m_shown = place;
    if (m_detail) {
        m_detailLayout->removeWidget(m_detail);
        m_detail->hide();
        // A reader's view is kept, with what it has read.
        if (std::ranges::none_of(m_readers, [this](const auto &entry) { return entry.second == m_detail; }))
            m_detail->deleteLater();
    }
    if (place.reader) {
        QWidget *&reader = m_readers[*place.reader];
        if (!reader)
            reader = CategoryViewFactory::create(*place.reader, this);
        m_detail = reader;
    } else if (place.category) {
        m_detail = CategoryViewFactory::create(*place.category, m_stores, this);
        if (auto *sniffer = qobject_cast<SnifferView *>(m_detail))
            connect(sniffer, &SnifferView::readOutputRequested, this,
                    [this] { m_nav.setSelectedReader(OutputReader::sniffer); });
        if (auto *flow = qobject_cast<FlowView *>(m_detail))
            connect(flow, &FlowView::readOutputRequested, this,
                    [this] { m_nav.setSelectedReader(OutputReader::flow); });
    } else {
        m_detail = new EmptyStateView(QStringLiteral("sidebar.left"), QStringLiteral("Select a Category"),
                                      QStringLiteral("Choose a debug category from the sidebar to get started."), this);
    }
    m_detail->setObjectName(m_detail->objectName().isEmpty() ? QStringLiteral("detail") : m_detail->objectName());
    m_detailLayout->addWidget(m_detail);
    m_detail->show();
}

void ContentView::addReaderSection()
{
    auto *section = new QListWidgetItem(QStringLiteral("Read Output"));
    // A heading, not a place: it cannot be selected, and the keys pass over it.
    section->setFlags(Qt::NoItemFlags);
    section->setData(CategoryDelegate::SectionRole, true);
    m_sidebar->addItem(section);
    for (OutputReader reader : Enum::allCases<OutputReader>()) {
        const QString subtitle = Enum::text(Enum::payload(reader).subtitle);
        auto *item = new QListWidgetItem(Icons::symbol(Enum::text(Enum::payload(reader).icon)), Enum::rawValue(reader));
        item->setData(readerRole, int(reader));
        item->setData(CategoryDelegate::SubtitleRole, subtitle);
        item->setToolTip(subtitle);
        m_sidebar->addItem(item);
    }
}

QWidget *ContentView::createFooter()
{
    auto *footer = new QWidget(this);
    footer->setObjectName(QStringLiteral("footer"));
    auto *layout = new QHBoxLayout(footer);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(8);

    auto *icon = new QLabel(footer);
    icon->setObjectName(QStringLiteral("footerIcon"));
    icon->setPixmap(footerIcon(devicePixelRatioF()));
    icon->setFixedSize(28, 28);
    layout->addWidget(icon);

    auto *name = new QLabel(QStringLiteral("Brindlecap Builder"), footer);
    name->setObjectName(QStringLiteral("footerName"));
    Style::setPointSizeScale(name, 0.9);
    Style::setBold(name);
    auto *byline = new QLabel(QStringLiteral("Crafted for FortiGate troubleshooting"), footer);
    byline->setObjectName(QStringLiteral("footerByline"));
    Style::setPointSizeScale(byline, 0.8);
    Style::setSecondary(byline);
    auto *text = new QVBoxLayout;
    text->setSpacing(1);
    text->addWidget(name);
    text->addWidget(byline);
    layout->addLayout(text, 1);
    return footer;
}
