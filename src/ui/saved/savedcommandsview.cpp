#include "savedcommandsview.h"

#include "common/alert.h"

#include "librarytransfer.h"
#include "model/savedcommandfilter.h"

#include "common/copybutton.h"
#include "common/emptystateview.h"
#include "common/icons.h"
#include "common/textfiledialog.h"
#include "model/commandstore.h"
#include "savedcommanddelegate.h"
#include "savedcommanddetail.h"
#include "savedcommandlistmodel.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString bookmark = QStringLiteral("bookmark");
const QString noSavedCommands = QStringLiteral("No Saved Commands");
} // namespace

SavedCommandsView::SavedCommandsView(CommandStore &store, QWidget *parent)
    : QWidget(parent)
    , m_store(store)
    , m_model(new SavedCommandListModel(store, this))
    , m_search(new QLineEdit(this))
    , m_listStack(new QStackedWidget(this))
    , m_list(new QListView(this))
    , m_noCommands(new EmptyStateView(bookmark, noSavedCommands,
                                      QStringLiteral("Use \"Save for Later\" in any category to store commands here."),
                                      this))
    , m_noMatches(new EmptyStateView(bookmark, noSavedCommands, QStringLiteral("No commands match your search."), this))
    , m_detailStack(new QStackedWidget(this))
    , m_noSelection(new EmptyStateView(bookmark, QStringLiteral("Select a Saved Command"),
                                       QStringLiteral("Choose a command from the list to view, copy, or export it."),
                                       this))
    , m_detail(new SavedCommandDetail(store, this))
{
    setObjectName(QStringLiteral("savedCommandsView"));

    m_search->setObjectName(QStringLiteral("search"));
    m_search->setPlaceholderText(QStringLiteral("Search saved commands"));
    m_search->setAccessibleName(QStringLiteral("Search saved commands"));
    m_search->setClearButtonEnabled(true);
    m_search->addAction(Icons::symbol(QStringLiteral("magnifyingglass")), QLineEdit::LeadingPosition);

    m_list->setObjectName(QStringLiteral("savedCommandList"));
    m_list->setAccessibleName(QStringLiteral("Saved Commands"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new SavedCommandDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->viewport()->installEventFilter(this);
    m_list->installEventFilter(this);
    m_search->installEventFilter(this);
    m_noCommands->setObjectName(QStringLiteral("noCommands"));
    m_noMatches->setObjectName(QStringLiteral("noMatches"));
    m_listStack->addWidget(m_list);
    m_listStack->addWidget(m_noCommands);
    m_listStack->addWidget(m_noMatches);

    auto *listPane = new QWidget(this);
    listPane->setObjectName(QStringLiteral("listPane"));
    // Both panes at their narrowest fit beside the widest sidebar in the smallest main window, so that
    // the detail is never cut off at the right.
    listPane->setMinimumWidth(200);
    auto *listLayout = new QVBoxLayout(listPane);
    listLayout->setContentsMargins(0, 8, 0, 0);
    listLayout->setSpacing(6);
    auto *searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(8, 0, 8, 0);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(createLibraryButton());
    listLayout->addLayout(searchRow);
    listLayout->addWidget(m_listStack, 1);

    m_noSelection->setObjectName(QStringLiteral("noSelection"));
    m_detailStack->setObjectName(QStringLiteral("detailPane"));
    m_detailStack->setMinimumWidth(380);
    m_detailStack->addWidget(m_noSelection);
    m_detailStack->addWidget(m_detail);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(listPane);
    splitter->addWidget(m_detailStack);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 600});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    auto *find = new QShortcut(QKeySequence::Find, this, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(m_search, &QLineEdit::textChanged, m_model, &SavedCommandListModel::setSearchText);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SavedCommandsView::listSelectionChanged);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_syncing = true; });
    connect(m_model, &QAbstractItemModel::modelReset, this, &SavedCommandsView::modelReset);
    connect(m_list, &QWidget::customContextMenuRequested, this, &SavedCommandsView::showContextMenu);
    connect(m_detail, &SavedCommandDetail::exportRequested, this, &SavedCommandsView::exportCommand);
    connect(m_detail, &SavedCommandDetail::deleteRequested, this, &SavedCommandsView::confirmDelete);

    updateListState();
    updateDetail();
}

void SavedCommandsView::setSelection(std::optional<QUuid> id)
{
    if (id == m_selection)
        return;
    m_selection = id;
    syncListSelection();
    updateDetail();
}

QToolButton *SavedCommandsView::createLibraryButton()
{
    auto *button = new QToolButton(this);
    button->setObjectName(QStringLiteral("libraryButton"));
    button->setText(QStringLiteral("\u22ef"));
    button->setAccessibleName(QStringLiteral("Import and export"));
    button->setToolTip(button->accessibleName());
    button->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(button);
    menu->setObjectName(QStringLiteral("libraryMenu"));
    menu->addAction(QStringLiteral("Export All\u2026"), this,
                    [this] { LibraryTransfer::exportCommands(window(), m_store.commands()); })
        ->setObjectName(QStringLiteral("exportAll"));
    QAction *matching = menu->addAction(QStringLiteral("Export Matching\u2026"), this,
                                        [this] { LibraryTransfer::exportCommands(window(), m_model->commands()); });
    matching->setObjectName(QStringLiteral("exportMatching"));
    menu->addAction(QStringLiteral("Import\u2026"), this,
                    [this] { LibraryTransfer::importCommands(window(), m_store); })
        ->setObjectName(QStringLiteral("import"));
    // Only what the search shows, while it hides something.
    connect(menu, &QMenu::aboutToShow, this,
            [this, matching] { matching->setEnabled(!SavedCommandFilter::query(m_search->text()).isEmpty()); });
    button->setMenu(menu);
    return button;
}

void SavedCommandsView::copyCommand(const SavedCommand &command)
{
    // Through the detail's button, so that its label shows "Copied" whichever command was copied.
    m_detail->copyButton()->copyText(command.command);
}

void SavedCommandsView::exportCommand(const SavedCommand &command)
{
    TextFileDialog::saveText(window(), QStringLiteral("Export Command as Text File"), command.title,
                             command.exportText());
}

void SavedCommandsView::confirmDelete(const SavedCommand &command)
{
    const QUuid id = command.id;
    // Return must not delete for good.
    Alert::open(this, QMessageBox::Warning, "confirmDeleteAlert", QStringLiteral("Delete \"%1\"?").arg(command.title),
                QStringLiteral("This cannot be undone."),
                {{QMessageBox::NoButton, QStringLiteral("Delete"), QMessageBox::DestructiveRole, "confirmDelete",
                  [this, id] {
                      m_store.remove(id);
                      if (m_selection == id)
                          setSelection(std::nullopt);
                  }},
                 {QMessageBox::Cancel, {}, {}, nullptr, {}, true}});
}

bool SavedCommandsView::mayLeave(const std::function<void()> &then)
{
    if (!m_detail->hasUnsavedEdit())
        return true;
    // One question at a time: whatever else asks to move on meanwhile stays where it is.
    const auto *asking = findChild<QMessageBox *>(QStringLiteral("unsavedEditAlert"));
    if (asking && asking->isVisible())
        return false;
    Alert::askToSave(
        this, "unsavedEditAlert", QStringLiteral("Save changes to \"%1\"?").arg(m_detail->command().title),
        [this] { m_detail->saveEdit(); }, [this] { m_detail->cancelEdit(); }, then);
    return false;
}

bool SavedCommandsView::eventFilter(QObject *watched, QEvent *event)
{
    // A right click opens the row's menu without selecting the row, so an edit in progress survives it.
    if (watched == m_list->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
        return true;
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    const QKeyCombination keys = key ? static_cast<QKeyEvent *>(event)->keyCombination() : QKeyCombination();
    // Down from the search goes on into the list.
    if (watched == m_search && event->type() == QEvent::KeyPress && keys == QKeyCombination(Qt::Key_Down) &&
        m_model->rowCount() > 0) {
        if (m_list->selectionModel()->selectedRows().isEmpty())
            m_list->setCurrentIndex(m_model->index(0));
        m_list->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (watched != m_list)
        return QWidget::eventFilter(watched, event);
    // Entering the list with nothing chosen: Down chooses the first row, not the second.
    if (event->type() == QEvent::FocusIn && m_list->selectionModel()->selectedRows().isEmpty()) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_list->selectionModel()->selectedRows().isEmpty())
                    m_list->selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
            },
            Qt::QueuedConnection);
    }
    const QModelIndex current = m_list->currentIndex();
    const bool onRow = current.isValid() && m_list->selectionModel()->isSelected(current);
    // What a saved command is for: Ctrl+C copies its command, never its title; Delete asks first.
    const bool copy = QKeySequence(keys) == QKeySequence(QKeySequence::Copy) ||
                      keys == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_C);
    const bool remove = keys == QKeyCombination(Qt::Key_Delete);
    if (key && onRow && (copy || remove)) {
        if (event->type() == QEvent::KeyPress) {
            const SavedCommand command = m_model->commandAt(current.row());
            if (copy)
                copyCommand(command);
            else
                confirmDelete(command);
        }
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SavedCommandsView::showContextMenu(const QPoint &position)
{
    const QModelIndex index = m_list->indexAt(position);
    if (!index.isValid())
        return;
    const SavedCommand command = m_model->commandAt(index.row());

    QMenu menu(this);
    menu.setObjectName(QStringLiteral("savedCommandMenu"));
    QAction *copy = menu.addAction(QStringLiteral("Copy"));
    QAction *exportText = menu.addAction(QStringLiteral("Export to .txt\u2026"));
    menu.addSeparator();
    QAction *remove = menu.addAction(Icons::symbol(QStringLiteral("trash")), QStringLiteral("Delete"));
    // Acted on after the menu has closed, so that a dialog never opens over a closing menu.
    QAction *chosen = menu.exec(m_list->viewport()->mapToGlobal(position));
    if (chosen == copy)
        copyCommand(command);
    else if (chosen == exportText)
        exportCommand(command);
    else if (chosen == remove)
        confirmDelete(command);
}

void SavedCommandsView::listSelectionChanged()
{
    if (m_syncing)
        return;
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    const std::optional<QUuid> id =
        rows.isEmpty() ? std::nullopt : std::optional(m_model->commandAt(rows.first().row()).id);
    // Shown selected on the edited command again until the user has answered for the edit.
    if (id != m_selection && !mayLeave([this, id] { setSelection(id); })) {
        syncListSelection();
        return;
    }
    setSelection(id);
}

void SavedCommandsView::modelReset()
{
    syncListSelection();
    m_syncing = false;
    updateListState();
    updateDetail();
}

void SavedCommandsView::syncListSelection()
{
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    const int row = m_selection ? m_model->rowOf(*m_selection) : -1;
    if (row >= 0) {
        const QModelIndex index = m_model->index(row);
        m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_list->scrollTo(index);
    } else {
        m_list->selectionModel()->clearSelection();
    }
    m_syncing = wasSyncing;
}

void SavedCommandsView::updateListState()
{
    if (m_model->rowCount() > 0)
        m_listStack->setCurrentWidget(m_list);
    else
        m_listStack->setCurrentWidget(m_store.commands().isEmpty() ? m_noCommands : m_noMatches);
}

void SavedCommandsView::updateDetail()
{
    if (m_selection) {
        for (const SavedCommand &command : m_store.commands()) {
            if (command.id == *m_selection) {
                m_detail->setCommand(command);
                m_detailStack->setCurrentWidget(m_detail);
                return;
            }
        }
    }
    // Nothing shown: an edit in progress ends here, whatever is selected next.
    if (m_detail->isEditing())
        m_detail->cancelEdit();
    m_detailStack->setCurrentWidget(m_noSelection);
}
