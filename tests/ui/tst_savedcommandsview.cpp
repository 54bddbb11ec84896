// The saved-command browser as the user works it, with the core as the oracle: the search is the
// core filter, the detail and an exported file hold the stored command exactly, and every change
// goes through the store.

#include "common/copybutton.h"
#include "common/textfiledialog.h"
#include "model/savedcommandfilter.h"
#include "model/textfile.h"
#include "saved/savedcommanddetail.h"
#include "saved/savedcommandlistmodel.h"
#include "saved/savedcommandsview.h"

#include "storedlist.h"
#include "teststores.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>

class TestSavedCommandsView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void searchIsTheCoreFilter_data();
    void searchIsTheCoreFilter();
    void detailShowsTheCommandExactly();
    void selectionFollowsTheStore();
    void editSavesThroughTheStore_data();
    void editSavesThroughTheStore();
    void editEndsOnlyWithItsCommand();
    void deleteAsksFirst();
    void exportWritesTheCommand();

private:
    const QList<SavedCommand> &commands() const { return m_stores->commands().commands(); }
    SavedCommandDetail *detail() const { return m_view->detail(); }
    template <typename T> T *shown(const char *name) const
    {
        return detail()->findChild<T *>(QString::fromLatin1(name));
    }
    void clickRow(int row);
    // Opens row's context menu as a right click does and chooses entry; false when there was none.
    bool chooseFromMenu(int row, const QString &entry);
    QMessageBox *alert() const { return m_view->findChild<QMessageBox *>(); }

    std::unique_ptr<TestStores> m_stores;
    std::unique_ptr<SavedCommandsView> m_view;
};

void TestSavedCommandsView::init()
{
    m_stores = std::make_unique<TestStores>();
    // No test may block on the real file dialog: unless a test answers, the answer is Cancel.
    TextFileDialog::setChooserForTesting([](const QString &) { return QString(); });
    // Listed newest first. Padding, a second line, a slash (not in a file name) and a non-ASCII note are
    // all meant to come out exactly.
    CommandStore &store = m_stores->commands();
    store.add(SavedCommand::create(QStringLiteral("Core / BGP"), DebugCategory::routing,
                                   QStringLiteral("get router info bgp summary\nexit"),
                                   QStringLiteral("check peer\nthen \u00e9cole")));
    store.add(SavedCommand::create(QStringLiteral("Routes"), DebugCategory::session,
                                   QStringLiteral("diagnose firewall proute list"), {}));
    store.add(SavedCommand::create(QStringLiteral("Tunnel"), DebugCategory::flow,
                                   QStringLiteral("  diagnose debug flow trace start 10  "), {}));
    m_view = std::make_unique<SavedCommandsView>(m_stores->commands());
    m_view->resize(900, 600);
    m_view->show();
    m_view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
}

void TestSavedCommandsView::cleanup()
{
    TextFileDialog::setChooserForTesting({});
    m_view.reset();
    m_stores.reset();
}

void TestSavedCommandsView::clickRow(int row)
{
    QApplication::processEvents();
    const QRect rect = m_view->list()->visualRect(m_view->model()->index(row));
    QTest::mouseClick(m_view->list()->viewport(), Qt::LeftButton, {}, rect.center());
}

bool TestSavedCommandsView::chooseFromMenu(int row, const QString &entry)
{
    QApplication::processEvents();
    QWidget *viewport = m_view->list()->viewport();
    const QPoint at = m_view->list()->visualRect(m_view->model()->index(row)).center();
    QTest::mouseClick(viewport, Qt::RightButton, {}, at);
    // Runs inside the menu's own event loop, once the menu is up.
    bool chosen = false;
    QMetaObject::invokeMethod(
        this,
        [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            for (QAction *action : menu ? menu->actions() : QList<QAction *>()) {
                if (action->text() == entry) {
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                    chosen = true;
                    return;
                }
            }
            if (menu)
                menu->close();
        },
        Qt::QueuedConnection);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    QApplication::processEvents();
    return chosen;
}

void TestSavedCommandsView::searchIsTheCoreFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("matches");
    QTest::newRow("nothing") << QString() << 3;
    QTest::newRow("spaces only") << QStringLiteral(" \t ") << 3;
    QTest::newRow("category title") << QStringLiteral("ROUTING") << 1;
    QTest::newRow("command text") << QStringLiteral("proute") << 1;
    QTest::newRow("notes, padded") << QStringLiteral("  PEER ") << 1;
    QTest::newRow("several") << QStringLiteral("diagnose") << 2;
    QTest::newRow("none") << QStringLiteral("zzz") << 0;
}

void TestSavedCommandsView::searchIsTheCoreFilter()
{
    QFETCH(QString, typed);
    QFETCH(int, matches);
    m_view->searchField()->setText(typed);
    QStringList expected, shown;
    for (const SavedCommand &c : commands()) {
        if (SavedCommandFilter::matches(c, SavedCommandFilter::query(typed)))
            expected << c.title;
    }
    for (int row = 0; row < m_view->model()->rowCount(); ++row)
        shown << m_view->model()->index(row).data().toString();
    QCOMPARE(shown, expected);
    QCOMPARE(expected.size(), matches);
    QCOMPARE(m_view->list()->isVisible(), matches > 0);
    QCOMPARE(m_view->findChild<QWidget *>(QStringLiteral("noMatches"))->isVisible(), matches == 0);

    // With the store emptied, there is nothing to search: not "no matches".
    while (!commands().isEmpty())
        m_stores->commands().remove(commands().constFirst().id);
    QVERIFY(m_view->findChild<QWidget *>(QStringLiteral("noCommands"))->isVisible());
    QVERIFY(!m_view->findChild<QWidget *>(QStringLiteral("noMatches"))->isVisible());
}

void TestSavedCommandsView::detailShowsTheCommandExactly()
{
    // A date no calendar holds (a hand edit, another program) is shown, not overflowed.
    SavedCommand beyond = commands().at(1);
    beyond.createdAt = -1e308;
    m_stores->commands().update(beyond);
    QVERIFY(!detail()->isVisible());
    for (int row = 0; row < commands().size(); ++row) {
        const SavedCommand &c = commands().at(row);
        clickRow(row);
        QVERIFY(detail()->isVisible());
        QCOMPARE(shown<QLabel>("title")->text(), c.title);
        QCOMPARE(shown<QPlainTextEdit>("commandText")->toPlainText(), c.command);
        QCOMPARE(shown<QWidget>("notesBox")->isVisible(), !c.notes.isEmpty());
        QCOMPARE(shown<QLabel>("notes")->text(), c.notes);
        QTest::mouseClick(detail()->copyButton(), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), c.command);
        const QString caption = m_view->model()->index(row).data(SavedCommandListModel::CaptionRole).toString();
        QCOMPARE(shown<QLabel>("caption")->text(), caption);
        QCOMPARE(caption.endsWith(QStringLiteral("Unknown date")), c.id == beyond.id);
        QCOMPARE(caption.endsWith(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat)), c.id != beyond.id);
    }
}

void TestSavedCommandsView::selectionFollowsTheStore()
{
    clickRow(0);
    const SavedCommand selected = commands().at(0);
    QCOMPARE(m_view->selection(), selected.id);

    m_stores->commands().add(SavedCommand::create(QStringLiteral("Added elsewhere"), DebugCategory::ping, {}, {}));
    QCOMPARE(m_view->selection(), selected.id);
    QCOMPARE(m_view->list()->selectionModel()->selectedRows().value(0).row(), 1);

    SavedCommand renamed = selected;
    renamed.title = QStringLiteral("Renamed elsewhere");
    m_stores->commands().update(renamed);
    QCOMPARE(shown<QLabel>("title")->text(), renamed.title);

    // A search that hides the row keeps the selection, and shows the row selected again after.
    m_view->searchField()->setText(QStringLiteral("zzz"));
    QCOMPARE(m_view->selection(), selected.id);
    m_view->searchField()->clear();
    QCOMPARE(m_view->list()->selectionModel()->selectedRows().value(0).row(), 1);

    // The detail's Delete does not ask; the id stays selected, with nothing left to show.
    QTest::mouseClick(shown<QPushButton>("delete"), Qt::LeftButton);
    QCOMPARE(commands().size(), qsizetype(3));
    QVERIFY(std::none_of(commands().cbegin(), commands().cend(), [&](auto &c) { return c.id == selected.id; }));
    QCOMPARE(m_view->selection(), selected.id);
    QVERIFY(!detail()->isVisible());
    QVERIFY(m_view->findChild<QWidget *>(QStringLiteral("noSelection"))->isVisible());
    QVERIFY(m_view->list()->selectionModel()->selectedRows().isEmpty());
}

void TestSavedCommandsView::editSavesThroughTheStore_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("renamed");
    const auto row = [](const char *name, const char *title, const char *notes, const char *how, bool renamed) {
        QTest::newRow(name) << QString::fromUtf8(title) << QString::fromUtf8(notes) << QString::fromLatin1(how)
                            << renamed;
    };
    row("Save", "Renamed", "new notes", "save", true);
    row("empty title keeps the old one, empty notes are taken", "", "", "save", false);
    row("spaces are a title", "   ", "n", "save", true);
    row("Return in the title", "By Return", "n", "return", true);
    row("Ctrl+Return in the notes", "By Ctrl", "n", "ctrl+return", true);
    row("Cancel", "Dropped", "n", "cancel", false);
}

void TestSavedCommandsView::editSavesThroughTheStore()
{
    QFETCH(QString, title);
    QFETCH(QString, notes);
    QFETCH(QString, how);
    QFETCH(bool, renamed);
    QList<SavedCommand> expected = commands();
    const int row = 2; // the one with notes
    clickRow(row);
    QTest::mouseClick(shown<QPushButton>("edit"), Qt::LeftButton);
    auto *titleEdit = shown<QLineEdit>("editingTitle");
    auto *notesEdit = shown<QPlainTextEdit>("editingNotes");
    QCOMPARE(titleEdit->text(), expected.at(row).title);
    QCOMPARE(notesEdit->toPlainText(), expected.at(row).notes);
    titleEdit->clear();
    QTest::keyClicks(titleEdit, title);
    notesEdit->clear();
    notesEdit->setFocus();
    QTest::keyClicks(notesEdit, notes);
    if (how == QLatin1String("return"))
        QTest::keyClick(titleEdit, Qt::Key_Return);
    else if (how == QLatin1String("ctrl+return"))
        QTest::keyClick(notesEdit, Qt::Key_Return, Qt::ControlModifier);
    else
        QTest::mouseClick(shown<QPushButton>(qPrintable(how)), Qt::LeftButton);
    QVERIFY(!detail()->isEditing());

    if (how != QLatin1String("cancel")) {
        expected[row].title = renamed ? title : expected.at(row).title;
        expected[row].notes = notes;
    }
    QVERIFY(commands() == expected);
    QCOMPARE(shown<QLabel>("title")->text(), expected.at(row).title);
    // On disk at once, as a new store reads it.
    QVERIFY(m_stores->commands().flush());
    QVERIFY(CommandStore(m_stores->storage()).commands() == expected);
}

void TestSavedCommandsView::editEndsOnlyWithItsCommand()
{
    const QList<SavedCommand> before = commands();
    clickRow(0);
    detail()->edit();
    QTest::keyClicks(shown<QLineEdit>("editingTitle"), QStringLiteral("edited"));
    // A right click acts on its own row without selecting it, through the detail's button.
    QVERIFY(chooseFromMenu(1, QStringLiteral("Copy")));
    QCOMPARE(QGuiApplication::clipboard()->text(), before.at(1).command);
    QVERIFY(detail()->copyButton()->didCopy());
    // Nor does a search that hides the row change the selection.
    m_view->searchField()->setText(QStringLiteral("zzz"));
    m_view->searchField()->clear();
    QCOMPARE(m_view->selection(), before.at(0).id);
    QVERIFY(detail()->isEditing());

    // Another command shown: the edit is gone, and nothing can carry its texts onto that one.
    clickRow(1);
    QVERIFY(!detail()->isEditing());
    detail()->saveEdit();
    QVERIFY(commands() == before);
    detail()->edit();
    m_view->setSelection(std::nullopt);
    m_view->setSelection(before.at(1).id);
    QVERIFY(!detail()->isEditing());
}

void TestSavedCommandsView::deleteAsksFirst()
{
    clickRow(1);
    QList<SavedCommand> expected = commands();
    // Declined by Return (the default must not delete) and by Cancel: nothing changes.
    for (bool byReturn : {true, false}) {
        QVERIFY(chooseFromMenu(1, QStringLiteral("Delete")));
        QVERIFY(alert() && alert()->isVisible() && alert()->text().contains(expected.at(1).title));
        if (byReturn)
            QTest::keyClick(alert(), Qt::Key_Return);
        else
            alert()->button(QMessageBox::Cancel)->click();
        QTRY_VERIFY(!alert());
        QVERIFY(commands() == expected);
    }
    // Confirmed: gone, and no longer selected; deleting another row than the selected one keeps it.
    for (int selected : {1, 0}) {
        clickRow(selected);
        QVERIFY(chooseFromMenu(1, QStringLiteral("Delete")));
        QVERIFY(alert());
        alert()->findChild<QPushButton *>(QStringLiteral("confirmDelete"))->click();
        QTRY_VERIFY(!alert());
        expected.removeAt(1);
        QVERIFY(commands() == expected);
        QCOMPARE(m_view->selection(), selected == 1 ? std::nullopt : std::optional(expected.at(0).id));
    }
}

void TestSavedCommandsView::exportWritesTheCommand()
{
    const QString target = m_stores->path(QStringLiteral("exported.txt"));
    QStringList proposed;
    QString answer = target;
    TextFileDialog::setChooserForTesting([&](const QString &name) {
        proposed << name;
        return answer;
    });
    const int withNotes = int(commands().size()) - 1;
    clickRow(withNotes);
    QTest::mouseClick(shown<QPushButton>("export"), Qt::LeftButton);
    QCOMPARE(fileContents(target), commands().at(withNotes).exportText().toUtf8());
    // The list's menu exports its own row, not the selected one.
    QVERIFY(chooseFromMenu(0, QStringLiteral("Export to .txt\u2026")));
    QCOMPARE(fileContents(target), commands().at(0).exportText().toUtf8());
    QCOMPARE(proposed, (QStringList{TextFile::proposedName(commands().at(withNotes).title),
                                    TextFile::proposedName(commands().at(0).title)}));

    // Cancelled: nothing written. Failed: nothing written, and the user is told.
    QVERIFY(QFile::remove(target));
    for (const QString &path : {QString(), m_stores->path(QStringLiteral("missing-folder/out.txt"))}) {
        answer = path;
        QTest::mouseClick(shown<QPushButton>("export"), Qt::LeftButton);
        QVERIFY(!QFile::exists(target) && !QFile::exists(path));
        QCOMPARE(bool(alert()), !path.isEmpty());
    }
    QVERIFY(alert()->isVisible());
    QCOMPARE(alert()->icon(), QMessageBox::Warning);
    QVERIFY(!alert()->informativeText().isEmpty());
}

QTEST_MAIN(TestSavedCommandsView)
#include "tst_savedcommandsview.moc"
