#include "app/contentview.h"
#include "common/copybutton.h"
#include "common/emptystateview.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "model/navigationstate.h"
#include "model/settingsstorage.h"
#include "saved/savedcommandcaption.h"
#include "saved/savedcommanddetail.h"
#include "saved/savedcommandlistmodel.h"
#include "saved/savedcommandsview.h"
#include "storedlist.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {
// 2024-06-03 12:00:00 UTC: the same calendar day in every time zone from UTC-11 to UTC+11.
const double june3Noon = SavedCommand::referenceSeconds(QDateTime(QDate(2024, 6, 3), QTime(12, 0), Qt::UTC));

QStringList menuEntries(const QMenu *menu)
{
    QStringList entries;
    for (const QAction *action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("---") : action->text());
    return entries;
}
} // namespace

class TestSavedCommandsView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listsNewestFirstWithCaption();
    void search_data();
    void search();
    void emptyStates();
    void contextMenuHasItsEntriesAndKeepsTheSelection();
    void contextMenuDeleteConfirms();
    void detailShowsTheCommand();
    void editSave_data();
    void editSave();
    void editCancelLeavesTheStore();
    void editDroppedWhenSelectionChanges();
    void detailDeleteKeepsMissingSelection();
    void followsChangesMadeElsewhere();
    void exportWritesTheFile_data();
    void exportWritesTheFile();
    void exportFailureIsReported();
    void copyFlagIsSharedAndResets();
    void returningToTheCategoryStartsAfresh();

private:
    SavedCommand add(const QString &title, DebugCategory category = DebugCategory::session,
                     const QString &command = QStringLiteral("diagnose sys session list"), const QString &notes = {});
    std::unique_ptr<SavedCommandsView> makeView();
    static QStringList rowTitles(const SavedCommandsView &view);
    static void clickRow(SavedCommandsView &view, int row);
    static void openContextMenu(SavedCommandsView &view, int row);
    // Runs handler once on the next popup menu (or modal dialog) to open, from inside its event loop.
    void onNextPopup(std::function<void(QWidget *)> handler) { watch(true, std::move(handler)); }
    void onNextModal(std::function<void(QWidget *)> handler) { watch(false, std::move(handler)); }
    void watch(bool popup, std::function<void(QWidget *)> handler);
    static void pressSave(QFileDialog *dialog);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStorage> m_storage;
    std::unique_ptr<CommandStore> m_store;
};

void TestSavedCommandsView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_storage = std::make_unique<SettingsStorage>(m_dir->filePath(QStringLiteral("settings.conf")));
    m_store = std::make_unique<CommandStore>(*m_storage);
}

void TestSavedCommandsView::cleanup()
{
    qDeleteAll(findChildren<QTimer *>(QStringLiteral("modalWatcher")));
    m_store.reset();
    m_storage.reset();
    m_dir.reset();
}

SavedCommand TestSavedCommandsView::add(const QString &title, DebugCategory category, const QString &command,
                                        const QString &notes)
{
    SavedCommand c = SavedCommand::create(title, category, command, notes);
    c.createdAt = june3Noon;
    m_store->add(c);
    return c;
}

std::unique_ptr<SavedCommandsView> TestSavedCommandsView::makeView()
{
    auto view = std::make_unique<SavedCommandsView>(*m_store);
    view->resize(900, 600);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        return nullptr;
    return view;
}

QStringList TestSavedCommandsView::rowTitles(const SavedCommandsView &view)
{
    QStringList titles;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        titles << view.model()->index(row).data().toString();
    return titles;
}

void TestSavedCommandsView::clickRow(SavedCommandsView &view, int row)
{
    QApplication::processEvents();
    const QRect rect = view.list()->visualRect(view.model()->index(row));
    QTest::mouseClick(view.list()->viewport(), Qt::LeftButton, {}, rect.center());
}

void TestSavedCommandsView::openContextMenu(SavedCommandsView &view, int row)
{
    QApplication::processEvents();
    QWidget *viewport = view.list()->viewport();
    const QPoint position = view.list()->visualRect(view.model()->index(row)).center();
    // What a right click delivers: the button press and release, then the context-menu event.
    QTest::mouseClick(viewport, Qt::RightButton, {}, position);
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, viewport->mapToGlobal(position));
    QApplication::sendEvent(viewport, &event);
}

void TestSavedCommandsView::pressSave(QFileDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Save)->click();
}

void TestSavedCommandsView::watch(bool popup, std::function<void(QWidget *)> handler)
{
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("modalWatcher"));
    timer->setInterval(10);
    connect(timer, &QTimer::timeout, this, [timer, popup, handler = std::move(handler)] {
        QWidget *widget = popup ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
        if (!widget || !widget->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        handler(widget);
    });
    timer->start();
}

void TestSavedCommandsView::listsNewestFirstWithCaption()
{
    SavedCommand beyond = add(QStringLiteral("First"));
    add(QStringLiteral("Second"), DebugCategory::routing);
    add(QStringLiteral("Third"));
    // A date no calendar holds, from a hand edit or another program: shown, not overflowed.
    beyond.createdAt = -1e308;
    m_store->update(beyond);
    auto view = makeView();
    QVERIFY(view);
    QCOMPARE(rowTitles(*view),
             (QStringList{QStringLiteral("Third"), QStringLiteral("Second"), QStringLiteral("First")}));
    QCOMPARE(view->model()->index(1).data(SavedCommandListModel::CaptionRole).toString(),
             QStringLiteral("Routing \u00b7 ") + QLocale().toString(QDate(2024, 6, 3), QLocale::ShortFormat));
    QCOMPARE(view->model()->index(2).data(SavedCommandListModel::CaptionRole).toString(),
             QStringLiteral("Sessions \u00b7 Unknown date"));
    QCOMPARE(view->searchField()->placeholderText(), QStringLiteral("Search saved commands"));
}

void TestSavedCommandsView::search_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    const QStringList all{QStringLiteral("Tunnel"), QStringLiteral("Routes"), QStringLiteral("Core BGP")};
    QTest::newRow("nothing typed") << QString() << all;
    QTest::newRow("spaces only") << QStringLiteral("   ") << all;
    QTest::newRow("category by title") << QStringLiteral("ROUTING") << QStringList{QStringLiteral("Core BGP")};
    QTest::newRow("debug fl") << QStringLiteral("debug fl") << QStringList{QStringLiteral("Tunnel")};
    QTest::newRow("command text") << QStringLiteral("proute") << QStringList{QStringLiteral("Routes")};
    QTest::newRow("notes, trimmed") << QStringLiteral("  PEER ") << QStringList{QStringLiteral("Core BGP")};
}

void TestSavedCommandsView::search()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    add(QStringLiteral("Core BGP"), DebugCategory::routing, QStringLiteral("get router info bgp summary"),
        QStringLiteral("check peer"));
    add(QStringLiteral("Routes"), DebugCategory::session, QStringLiteral("diagnose firewall proute list"));
    add(QStringLiteral("Tunnel"), DebugCategory::flow, QStringLiteral("diagnose debug flow trace start 10"));
    auto view = makeView();
    QVERIFY(view);
    QTest::keyClicks(view->searchField(), typed);
    QCOMPARE(rowTitles(*view), expected);
    QCOMPARE(view->list()->isVisible(), !expected.isEmpty());
}

void TestSavedCommandsView::emptyStates()
{
    auto view = makeView();
    QVERIFY(view);
    auto *noCommands = view->findChild<EmptyStateView *>(QStringLiteral("noCommands"));
    auto *noMatches = view->findChild<EmptyStateView *>(QStringLiteral("noMatches"));
    QVERIFY(noCommands->isVisible());
    QCOMPARE(noCommands->title(), QStringLiteral("No Saved Commands"));
    QCOMPARE(noCommands->description(),
             QStringLiteral("Use \"Save for Later\" in any category to store commands here."));

    const SavedCommand c = add(QStringLiteral("Core BGP"));
    QVERIFY(view->list()->isVisible());
    QVERIFY(!noCommands->isVisible());

    QTest::keyClicks(view->searchField(), QStringLiteral("zzz"));
    QVERIFY(noMatches->isVisible());
    QCOMPARE(noMatches->title(), QStringLiteral("No Saved Commands"));
    QCOMPARE(noMatches->description(), QStringLiteral("No commands match your search."));

    // With the store emptied, the search no longer matters.
    m_store->remove(c.id);
    QVERIFY(noCommands->isVisible());
    QVERIFY(!noMatches->isVisible());

    auto *noSelection = view->findChild<EmptyStateView *>(QStringLiteral("noSelection"));
    QVERIFY(noSelection->isVisible());
    QCOMPARE(noSelection->title(), QStringLiteral("Select a Saved Command"));
    QCOMPARE(noSelection->description(), QStringLiteral("Choose a command from the list to view, copy, or export it."));
}

void TestSavedCommandsView::contextMenuHasItsEntriesAndKeepsTheSelection()
{
    const SavedCommand older = add(QStringLiteral("Older"), DebugCategory::ping, QStringLiteral("exec ping 1.1.1.1"));
    add(QStringLiteral("Newer"));
    auto view = makeView();
    QVERIFY(view);
    clickRow(*view, 0);
    view->detail()->edit();

    QStringList entries;
    onNextPopup([&entries](QWidget *popup) {
        auto *menu = qobject_cast<QMenu *>(popup);
        entries = menuEntries(menu);
        QAction *copy = menu->actions().constFirst();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(copy).center());
    });
    openContextMenu(*view, 1);
    QCOMPARE(entries, (QStringList{QStringLiteral("Copy"), QStringLiteral("Export to .txt\u2026"),
                                   QStringLiteral("---"), QStringLiteral("Delete")}));
    QCOMPARE(QGuiApplication::clipboard()->text(), older.command);
    // The right click neither selected the row nor ended the edit of the selected one.
    QCOMPARE(view->selection(), m_store->commands().at(0).id);
    QVERIFY(view->detail()->isEditing());
}

void TestSavedCommandsView::contextMenuDeleteConfirms()
{
    const SavedCommand bgp = add(QStringLiteral("Core BGP"));
    const SavedCommand other = add(QStringLiteral("Other"));
    auto view = makeView();
    QVERIFY(view);
    clickRow(*view, 1);
    QCOMPARE(view->selection(), bgp.id);

    // Delete, then Cancel: nothing changes.
    QString text, informative;
    QStringList buttons;
    auto chooseDelete = [this](const char *answer, QString *textOut, QString *informativeOut, QStringList *buttonsOut) {
        onNextPopup([=, this](QWidget *popup) {
            auto *menu = qobject_cast<QMenu *>(popup);
            onNextModal([=](QWidget *modal) {
                auto *alert = qobject_cast<QMessageBox *>(modal);
                if (!alert) {
                    modal->close();
                    return;
                }
                *textOut = alert->text();
                *informativeOut = alert->informativeText();
                for (QAbstractButton *button : alert->buttons())
                    *buttonsOut << button->text();
                for (QAbstractButton *button : alert->buttons()) {
                    if (button->text() == QLatin1String(answer)) {
                        button->click();
                        return;
                    }
                }
            });
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().constLast()).center());
        });
    };
    chooseDelete("Cancel", &text, &informative, &buttons);
    openContextMenu(*view, 1);
    QCOMPARE(text, QStringLiteral("Delete \"Core BGP\"?"));
    QCOMPARE(informative, QStringLiteral("This cannot be undone."));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("Cancel"), QStringLiteral("Delete")}));
    QCOMPARE(m_store->commands().size(), 2);
    QCOMPARE(view->selection(), bgp.id);

    // Deleting another row keeps the selection.
    buttons.clear();
    chooseDelete("Delete", &text, &informative, &buttons);
    openContextMenu(*view, 0);
    QCOMPARE(text, QStringLiteral("Delete \"Other\"?"));
    QCOMPARE(m_store->commands().size(), 1);
    QCOMPARE(view->selection(), bgp.id);
    Q_UNUSED(other);

    // Deleting the selected row clears the selection.
    chooseDelete("Delete", &text, &informative, &buttons);
    openContextMenu(*view, 0);
    QVERIFY(m_store->commands().isEmpty());
    QCOMPARE(view->selection(), std::nullopt);
    QTRY_VERIFY(view->findChild<EmptyStateView *>(QStringLiteral("noSelection"))->isVisible());
}

void TestSavedCommandsView::detailShowsTheCommand()
{
    add(QStringLiteral("Plain"), DebugCategory::ping, QStringLiteral("exec ping 8.8.8.8"));
    add(QStringLiteral("Core BGP"), DebugCategory::routing, QStringLiteral("get router info bgp summary\nexit"),
        QStringLiteral("check peer"));
    auto view = makeView();
    QVERIFY(view);
    SavedCommandDetail *detail = view->detail();
    QVERIFY(!detail->isVisible());

    clickRow(*view, 0);
    QVERIFY(detail->isVisible());
    QCOMPARE(detail->findChild<QLabel *>(QStringLiteral("title"))->text(), QStringLiteral("Core BGP"));
    QCOMPARE(detail->findChild<SavedCommandCaption *>()->text(),
             QStringLiteral("Routing \u00b7 ") + QLocale().toString(QDate(2024, 6, 3), QLocale::ShortFormat));
    QVERIFY(detail->findChild<QGroupBox *>(QStringLiteral("notesBox"))->isVisible());
    QCOMPARE(detail->findChild<QLabel *>(QStringLiteral("notes"))->text(), QStringLiteral("check peer"));
    QCOMPARE(detail->findChild<QPlainTextEdit *>(QStringLiteral("commandText"))->toPlainText(),
             QStringLiteral("get router info bgp summary\nexit"));
    QVERIFY(detail->findChild<QPushButton *>(QStringLiteral("edit"))->isVisible());
    QVERIFY(!detail->findChild<QPushButton *>(QStringLiteral("save"))->isVisible());
    QCOMPARE(detail->findChild<QPushButton *>(QStringLiteral("export"))->text(), QStringLiteral("Export to .txt"));

    clickRow(*view, 1);
    QCOMPARE(detail->findChild<QLabel *>(QStringLiteral("title"))->text(), QStringLiteral("Plain"));
    QVERIFY(!detail->findChild<QGroupBox *>(QStringLiteral("notesBox"))->isVisible());
}

void TestSavedCommandsView::editSave_data()
{
    QTest::addColumn<QString>("typedTitle");
    QTest::addColumn<QString>("typedNotes");
    QTest::addColumn<QString>("expectedTitle");
    QTest::addColumn<bool>("notesBoxShown");
    QTest::newRow("empty title keeps the old one")
        << QString() << QStringLiteral("new notes") << QStringLiteral("Core BGP") << true;
    QTest::newRow("spaces are a title") << QStringLiteral("   ") << QStringLiteral("n") << QStringLiteral("   ")
                                        << true;
    QTest::newRow("empty notes remove the box")
        << QStringLiteral("Renamed") << QString() << QStringLiteral("Renamed") << false;
}

void TestSavedCommandsView::editSave()
{
    QFETCH(QString, typedTitle);
    QFETCH(QString, typedNotes);
    QFETCH(QString, expectedTitle);
    QFETCH(bool, notesBoxShown);
    add(QStringLiteral("Other"));
    const SavedCommand original = add(QStringLiteral("Core BGP"), DebugCategory::routing,
                                      QStringLiteral("get router info bgp summary"), QStringLiteral("check peer"));
    add(QStringLiteral("Newest"));
    auto view = makeView();
    QVERIFY(view);
    clickRow(*view, 1);
    SavedCommandDetail *detail = view->detail();
    QTest::mouseClick(detail->findChild<QPushButton *>(QStringLiteral("edit")), Qt::LeftButton);
    QVERIFY(detail->isEditing());
    auto *title = detail->findChild<QLineEdit *>(QStringLiteral("editingTitle"));
    auto *notes = detail->findChild<QPlainTextEdit *>(QStringLiteral("editingNotes"));
    QCOMPARE(title->text(), QStringLiteral("Core BGP"));
    QCOMPARE(title->placeholderText(), QStringLiteral("Title"));
    QCOMPARE(notes->toPlainText(), QStringLiteral("check peer"));
    QCOMPARE(notes->placeholderText(), QStringLiteral("Notes"));

    title->selectAll();
    QTest::keyClick(title, Qt::Key_Backspace);
    QTest::keyClicks(title, typedTitle);
    notes->selectAll();
    QTest::keyClick(notes, Qt::Key_Backspace);
    QTest::keyClicks(notes, typedNotes);
    QTest::mouseClick(detail->findChild<QPushButton *>(QStringLiteral("save")), Qt::LeftButton);

    QVERIFY(!detail->isEditing());
    const SavedCommand saved = m_store->commands().at(1);
    QCOMPARE(saved.title, expectedTitle);
    QCOMPARE(saved.notes, typedNotes);
    // Everything else is kept, and the entry keeps its place.
    QCOMPARE(saved.id, original.id);
    QCOMPARE(saved.command, original.command);
    QCOMPARE(saved.category, original.category);
    QCOMPARE(saved.createdAt, original.createdAt);
    QCOMPARE(detail->findChild<QLabel *>(QStringLiteral("title"))->text(), expectedTitle);
    QCOMPARE(detail->findChild<QGroupBox *>(QStringLiteral("notesBox"))->isVisible(), notesBoxShown);
    // Written at once.
    QVERIFY(m_store->flush());
    QCOMPARE(storedList(*m_storage, SettingsStorage::savedCommands), SavedCommand::encodeList(m_store->commands()));
}

void TestSavedCommandsView::editCancelLeavesTheStore()
{
    add(QStringLiteral("Core BGP"), DebugCategory::routing, QStringLiteral("x"), QStringLiteral("n"));
    const QList<SavedCommand> before = m_store->commands();
    auto view = makeView();
    QVERIFY(view);
    clickRow(*view, 0);
    SavedCommandDetail *detail = view->detail();
    detail->edit();
    QTest::keyClicks(detail->findChild<QLineEdit *>(QStringLiteral("editingTitle")), QStringLiteral("changed"));
    QTest::mouseClick(detail->findChild<QPushButton *>(QStringLiteral("cancel")), Qt::LeftButton);
    QVERIFY(!detail->isEditing());
    QVERIFY(m_store->commands() == before);
    QCOMPARE(detail->findChild<QLabel *>(QStringLiteral("title"))->text(), QStringLiteral("Core BGP"));

    // Return in the title field saves.
    detail->edit();
    auto *title = detail->findChild<QLineEdit *>(QStringLiteral("editingTitle"));
    title->clear();
    QTest::keyClicks(title, QStringLiteral("By Return"));
    QTest::keyClick(title, Qt::Key_Return);
    QVERIFY(!detail->isEditing());
    QCOMPARE(m_store->commands().at(0).title, QStringLiteral("By Return"));
}

void TestSavedCommandsView::editDroppedWhenSelectionChanges()
{
    const SavedCommand a = add(QStringLiteral("A"), DebugCategory::ping, QStringLiteral("exec ping a"));
    const SavedCommand b = add(QStringLiteral("B"), DebugCategory::ping, QStringLiteral("exec ping b"));
    auto view = makeView();
    QVERIFY(view);
    SavedCommandDetail *detail = view->detail();
    auto *title = detail->findChild<QLineEdit *>(QStringLiteral("editingTitle"));
    auto *shownTitle = detail->findChild<QLabel *>(QStringLiteral("title"));

    clickRow(*view, 1); // A
    detail->edit();
    QTest::keyClicks(title, QStringLiteral(" edited"));

    // A search that hides A does not change the selection: the edit goes on.
    QTest::keyClicks(view->searchField(), QStringLiteral("exec ping b"));
    QVERIFY(detail->isEditing());
    view->searchField()->clear();

    clickRow(*view, 0); // B
    QVERIFY(!detail->isEditing());
    QCOMPARE(shownTitle->text(), QStringLiteral("B"));
    // Save is gone with the edit; nothing can carry A's texts onto B.
    QVERIFY(!detail->findChild<QPushButton *>(QStringLiteral("save"))->isVisible());
    detail->saveEdit();
    QVERIFY(m_store->commands().at(0) == b);
    QVERIFY(m_store->commands().at(1) == a);

    clickRow(*view, 1); // back to A: view mode, the old title
    QVERIFY(!detail->isEditing());
    QCOMPARE(shownTitle->text(), QStringLiteral("A"));

    // Clearing the selection also drops the edit.
    detail->edit();
    view->setSelection(std::nullopt);
    view->setSelection(a.id);
    QVERIFY(!detail->isEditing());
}

void TestSavedCommandsView::detailDeleteKeepsMissingSelection()
{
    add(QStringLiteral("Keep"));
    const SavedCommand doomed = add(QStringLiteral("Doomed"));
    auto view = makeView();
    QVERIFY(view);
    clickRow(*view, 0);
    // No confirmation here: the store changes at once.
    QTest::mouseClick(view->detail()->findChild<QPushButton *>(QStringLiteral("delete")), Qt::LeftButton);
    QCOMPARE(m_store->commands().size(), 1);
    QCOMPARE(m_store->commands().at(0).title, QStringLiteral("Keep"));
    QCOMPARE(view->selection(), doomed.id);
    QVERIFY(view->findChild<EmptyStateView *>(QStringLiteral("noSelection"))->isVisible());
    QVERIFY(!view->detail()->isVisible());
    QVERIFY(view->list()->selectionModel()->selectedRows().isEmpty());
}

void TestSavedCommandsView::followsChangesMadeElsewhere()
{
    const SavedCommand a = add(QStringLiteral("A"));
    auto view = makeView();
    QVERIFY(view);
    clickRow(*view, 0);
    add(QStringLiteral("Added elsewhere"));
    QCOMPARE(rowTitles(*view), (QStringList{QStringLiteral("Added elsewhere"), QStringLiteral("A")}));
    // The selection follows its command to its new row.
    QCOMPARE(view->list()->selectionModel()->selectedRows().value(0).row(), 1);

    SavedCommand renamed = a;
    renamed.title = QStringLiteral("Renamed elsewhere");
    m_store->update(renamed);
    QCOMPARE(view->detail()->findChild<QLabel *>(QStringLiteral("title"))->text(), QStringLiteral("Renamed elsewhere"));
}

void TestSavedCommandsView::exportWritesTheFile_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("proposedName");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("no notes") << QStringLiteral("HQ / BGP check") << QString() << QStringLiteral("HQ_-_BGP_check.txt")
                              << QByteArray("get router info bgp summary\nexit");
    QTest::newRow("notes")
        << QStringLiteral("BGP") << QStringLiteral("check peer\nthen \u00e9cole") << QStringLiteral("BGP.txt")
        << QStringLiteral("# BGP\n# check peer\n# then \u00e9cole\n\nget router info bgp summary\nexit").toUtf8();
}

void TestSavedCommandsView::exportWritesTheFile()
{
    QFETCH(QString, title);
    QFETCH(QString, notes);
    QFETCH(QString, proposedName);
    QFETCH(QByteArray, content);
    add(title, DebugCategory::routing, QStringLiteral("get router info bgp summary\nexit"), notes);
    auto view = makeView();
    QVERIFY(view);
    clickRow(*view, 0);

    const QString target = m_dir->filePath(QStringLiteral("exported.txt"));
    QString dialogTitle, proposed;
    QStringList filters;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        dialogTitle = dialog->windowTitle();
        filters = dialog->nameFilters();
        proposed = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
        dialog->selectFile(target);
        pressSave(dialog);
    });
    QTest::mouseClick(view->detail()->findChild<QPushButton *>(QStringLiteral("export")), Qt::LeftButton);
    QCOMPARE(dialogTitle, QStringLiteral("Export Command as Text File"));
    QCOMPARE(filters, QStringList{QStringLiteral("Plain text (*.txt)")});
    QCOMPARE(proposed, proposedName);
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);

    // The context menu exports the same way; a cancelled dialog writes nothing.
    onNextPopup([this](QWidget *popup) {
        auto *menu = qobject_cast<QMenu *>(popup);
        onNextModal([](QWidget *modal) { modal->close(); });
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().at(1)).center());
    });
    QVERIFY(QFile::remove(target));
    openContextMenu(*view, 0);
    QVERIFY(!QFile::exists(target));
}

void TestSavedCommandsView::exportFailureIsReported()
{
    add(QStringLiteral("T"), DebugCategory::ping, QStringLiteral("exec ping 1.1.1.1"));
    auto view = makeView();
    QVERIFY(view);
    clickRow(*view, 0);
    const QString target = m_dir->filePath(QStringLiteral("missing-folder/out.txt"));
    QString alertText, alertDetail;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        onNextModal([&](QWidget *next) {
            if (auto *alert = qobject_cast<QMessageBox *>(next)) {
                alertText = alert->text();
                alertDetail = alert->informativeText();
            }
            next->close();
        });
        dialog->selectFile(target);
        pressSave(dialog);
    });
    QTest::mouseClick(view->detail()->findChild<QPushButton *>(QStringLiteral("export")), Qt::LeftButton);
    QCOMPARE(alertText, QStringLiteral("Could not save file"));
    QVERIFY(!alertDetail.isEmpty());
    QVERIFY(!QFile::exists(target));
    QCOMPARE(m_store->commands().size(), 1);
}

void TestSavedCommandsView::copyFlagIsSharedAndResets()
{
    const SavedCommand a = add(QStringLiteral("A"), DebugCategory::ping, QStringLiteral("exec ping a\nexit"),
                               QStringLiteral("notes are not copied"));
    const SavedCommand b = add(QStringLiteral("B"), DebugCategory::ping, QStringLiteral("exec ping b"));
    auto view = makeView();
    QVERIFY(view);
    clickRow(*view, 1); // A
    auto *copy = view->detail()->findChild<CopyButton *>(QStringLiteral("copy"));
    QCOMPARE(copy->text(), QStringLiteral("Copy"));
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), a.command);
    QCOMPARE(copy->text(), QStringLiteral("Copied"));

    // The flag belongs to the browser: the next command shown reads "Copied" too.
    clickRow(*view, 0); // B
    QCOMPARE(copy->text(), QStringLiteral("Copied"));

    // A second copy (from the list's menu) schedules its own reset; the first is not cancelled.
    onNextPopup([](QWidget *popup) {
        auto *menu = qobject_cast<QMenu *>(popup);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().constFirst()).center());
    });
    openContextMenu(*view, 0);
    QCOMPARE(QGuiApplication::clipboard()->text(), b.command);
    const QList<QTimer *> resets = copy->findChildren<QTimer *>(QStringLiteral("copyReset"));
    QCOMPARE(resets.size(), 2);
    QCOMPARE(resets.at(0)->interval(), 1500);
    QVERIFY(resets.at(0)->isActive() && resets.at(1)->isActive());

    resets.at(0)->start(0);
    QTRY_COMPARE(copy->text(), QStringLiteral("Copy"));
    QVERIFY(resets.at(1)->isActive());
    resets.at(1)->start(0);
    QTRY_VERIFY(copy->findChildren<QTimer *>(QStringLiteral("copyReset")).isEmpty());
    QCOMPARE(copy->text(), QStringLiteral("Copy"));
}

void TestSavedCommandsView::returningToTheCategoryStartsAfresh()
{
    add(QStringLiteral("A"));
    NavigationState nav;
    InterfaceStore interfaces(*m_storage);
    ContentView content(Stores{*m_store, interfaces}, nav);
    content.resize(1100, 700);
    content.show();
    QVERIFY(QTest::qWaitForWindowExposed(&content));
    nav.setSelectedCategory(DebugCategory::saved);
    auto *view = qobject_cast<SavedCommandsView *>(content.detail());
    QVERIFY(view);
    QTest::keyClicks(view->searchField(), QStringLiteral("a"));
    clickRow(*view, 0);
    QVERIFY(view->selection());

    nav.setSelectedCategory(DebugCategory::session);
    nav.setSelectedCategory(DebugCategory::saved);
    view = qobject_cast<SavedCommandsView *>(content.detail());
    QVERIFY(view);
    QCOMPARE(view->searchField()->text(), QString());
    QCOMPARE(view->selection(), std::nullopt);
    QTRY_VERIFY(view->findChild<EmptyStateView *>(QStringLiteral("noSelection"))->isVisible());
}

QTEST_MAIN(TestSavedCommandsView)
#include "tst_savedcommandsview.moc"
