// The saved-command browser as the user works it, with the core as the oracle: the search is the
// core filter, the detail and an exported file hold the stored command exactly, and every change
// goes through the store.

#include "common/copybutton.h"
#include "common/textfiledialog.h"
#include "model/atomicfile.h"
#include "model/savedcommandfilter.h"
#include "model/textfile.h"
#include "saved/savedcommanddetail.h"
#include "saved/savedcommandlistmodel.h"
#include "saved/savedcommandsview.h"

#include "faildevice.h"
#include "storedlist.h"
#include "teststores.h"
#include "uitest.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QListView>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>

#include <sys/stat.h>

class TestSavedCommandsView : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestStores> m_stores;
    std::unique_ptr<SavedCommandsView> m_view;

    const QList<SavedCommand> &commands() const { return m_stores->commands().commands(); }
    SavedCommandDetail *detail() const { return m_view->detail(); }
    template <typename T = QWidget> T *shown(const char *name) const { return child<T>(detail(), name); }
    QMessageBox *alert() const { return m_view->findChild<QMessageBox *>(); }
    bool visible(const char *name) const { return child(m_view.get(), name)->isVisible(); }
    int selectedRow() const { return m_view->list()->selectionModel()->selectedRows().value(0, {}).row(); }
    QPoint at(int row) const
    {
        QApplication::processEvents();
        return m_view->list()->visualRect(m_view->model()->index(row)).center();
    }
    void clickRow(int row) { QTest::mouseClick(m_view->list()->viewport(), Qt::LeftButton, {}, at(row)); }
    // Opens a menu with open and chooses entry in it, as a click does; false when the menu has no such
    // entry, or it is disabled.
    bool choose(const QString &entry, const std::function<void()> &open)
    {
        bool chosen = false;
        // Runs inside the menu's own event loop, once the menu is up.
        QMetaObject::invokeMethod(
            this,
            [&] {
                auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                for (QAction *action : menu ? menu->actions() : QList<QAction *>()) {
                    if ((chosen = action->text() == entry && action->isEnabled()))
                        return QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                }
                if (menu)
                    menu->close();
            },
            Qt::QueuedConnection);
        open();
        QApplication::processEvents();
        return chosen;
    }
    // From row's context menu, opened as a right click does.
    bool chooseFromMenu(int row, const QString &entry)
    {
        QWidget *viewport = m_view->list()->viewport();
        const QPoint pos = at(row);
        QTest::mouseClick(viewport, Qt::RightButton, {}, pos);
        return choose(entry, [viewport, pos] {
            QContextMenuEvent event(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
            QApplication::sendEvent(viewport, &event);
        });
    }
    // From the menu beside the search.
    bool chooseFromLibrary(const QString &entry)
    {
        return choose(entry,
                      [this] { QTest::mouseClick(child<QToolButton>(m_view.get(), "libraryButton"), Qt::LeftButton); });
    }
    void dismissAlert()
    {
        alert()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void init()
    {
        m_stores = std::make_unique<TestStores>();
        // No test may block on the real file dialog: unless a test answers, the answer is Cancel.
        TextFileDialog::setChooserForTesting([](const QString &) { return QString(); });
        // Listed newest first. Padding, a second line, a slash (not in a file name) and a non-ASCII note
        // are all meant to come out exactly.
        CommandStore &store = m_stores->commands();
        store.add(SavedCommand::create(u"Core / BGP"_s, DebugCategory::routing, u"get router info bgp summary\nexit"_s,
                                       u"check peer\nthen \u00e9cole"_s));
        store.add(SavedCommand::create(u"Routes"_s, DebugCategory::session, u"diagnose firewall proute list"_s, {}));
        store.add(
            SavedCommand::create(u"Tunnel"_s, DebugCategory::flow, u"  diagnose debug flow trace start 10  "_s, {}));
        m_view = std::make_unique<SavedCommandsView>(m_stores->commands());
        QVERIFY(showActive(m_view.get(), {900, 600}));
    }
    void cleanup()
    {
        TextFileDialog::setChooserForTesting({});
        m_view.reset();
        m_stores.reset();
    }

    void searchIsTheCoreFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("matches");
        QTest::newRow("nothing") << QString() << 3;
        QTest::newRow("spaces only") << u" \t "_s << 3;
        QTest::newRow("notes, padded") << u"  PEER "_s << 1;
        QTest::newRow("several") << u"diagnose"_s << 2;
        QTest::newRow("none") << u"zzz"_s << 0;
    }
    void searchIsTheCoreFilter()
    {
        QFETCH(QString, typed);
        QFETCH(int, matches);
        m_view->searchField()->setText(typed);
        QStringList expected, shown;
        for (const SavedCommand &c : commands())
            if (SavedCommandFilter::matches(c, SavedCommandFilter::query(typed)))
                expected << c.title;
        for (int row = 0; row < m_view->model()->rowCount(); ++row)
            shown << m_view->model()->index(row).data().toString();
        QCOMPARE(shown, expected);
        QCOMPARE(expected.size(), matches);
        QCOMPARE(m_view->list()->isVisible(), matches > 0);
        QCOMPARE(visible("noMatches"), matches == 0);
        // With the store emptied, there is nothing to search: not "no matches".
        while (!commands().isEmpty())
            m_stores->commands().remove(commands().constFirst().id);
        QVERIFY(visible("noCommands") && !visible("noMatches"));
    }

    void detailShowsTheCommandExactly()
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
            QCOMPARE(shown("notesBox")->isVisible(), !c.notes.isEmpty());
            QCOMPARE(shown<QLabel>("notes")->text(), c.notes);
            QTest::mouseClick(detail()->copyButton(), Qt::LeftButton);
            QCOMPARE(QGuiApplication::clipboard()->text(), c.command);
            const QString caption = m_view->model()->index(row).data(SavedCommandListModel::CaptionRole).toString();
            QCOMPARE(shown<QLabel>("caption")->text(), caption);
            const QString date = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
            QVERIFY(caption.endsWith(c.id == beyond.id ? u"Unknown date"_s : date));
        }
    }

    void selectionAndEditFollowTheStore()
    {
        const QList<SavedCommand> before = commands();
        clickRow(0);
        QCOMPARE(m_view->selection(), before.at(0).id);
        detail()->edit();
        QTest::keyClicks(shown<QLineEdit>("editingTitle"), u"edited"_s);
        // A right click acts on its own row without selecting it, through the detail's button.
        QVERIFY(chooseFromMenu(1, u"Copy"_s));
        QCOMPARE(QGuiApplication::clipboard()->text(), before.at(1).command);
        QVERIFY(detail()->copyButton()->didCopy());
        // A search that hides the row keeps the selection and the edit, and shows the row selected again.
        m_view->searchField()->setText(u"zzz"_s);
        QCOMPARE(m_view->selection(), before.at(0).id);
        m_view->searchField()->clear();
        QCOMPARE(selectedRow(), 0);
        QVERIFY(detail()->isEditing());
        // Another command shown by the program, not the user: nothing can carry the texts onto that one.
        m_view->setSelection(before.at(1).id);
        QVERIFY(!detail()->isEditing());
        detail()->saveEdit();
        QVERIFY(commands() == before);
        detail()->edit();
        m_view->setSelection(std::nullopt);
        m_view->setSelection(before.at(1).id);
        QVERIFY(!detail()->isEditing());
        m_stores->commands().add(SavedCommand::create(u"Added elsewhere"_s, DebugCategory::ping, {}, {}));
        QCOMPARE(m_view->selection(), before.at(1).id);
        QCOMPARE(selectedRow(), 2);
        SavedCommand renamed = before.at(1);
        renamed.title = u"Renamed elsewhere"_s;
        m_stores->commands().update(renamed);
        QCOMPARE(shown<QLabel>("title")->text(), renamed.title);
        // Deleted elsewhere: the id stays selected, with nothing left to show.
        m_stores->commands().remove(renamed.id);
        QCOMPARE(m_view->selection(), renamed.id);
        QVERIFY(!detail()->isVisible() && visible("noSelection"));
        QCOMPARE(selectedRow(), -1);
    }

    void editSavesThroughTheStore_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("renamed");
        QTest::newRow("Save") << u"Renamed"_s << u"new notes"_s << u"save"_s << true;
        QTest::newRow("empty title keeps the old one, empty notes are taken") << u""_s << u""_s << u"save"_s << false;
        QTest::newRow("spaces are a title") << u"   "_s << u"n"_s << u"save"_s << true;
        QTest::newRow("Return in the title") << u"By Return"_s << u"n"_s << u"return"_s << true;
        QTest::newRow("Ctrl+Return in the notes") << u"By Ctrl"_s << u"n"_s << u"ctrl+return"_s << true;
        QTest::newRow("Cancel") << u"Dropped"_s << u"n"_s << u"cancel"_s << false;
    }
    void editSavesThroughTheStore()
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
        if (how == u"return")
            QTest::keyClick(titleEdit, Qt::Key_Return);
        else if (how == u"ctrl+return")
            QTest::keyClick(notesEdit, Qt::Key_Return, Qt::ControlModifier);
        else
            QTest::mouseClick(shown<QPushButton>(qPrintable(how)), Qt::LeftButton);
        QVERIFY(!detail()->isEditing());
        if (how != u"cancel") {
            expected[row].title = renamed ? title : expected.at(row).title;
            expected[row].notes = notes;
        }
        QVERIFY(commands() == expected);
        QCOMPARE(shown<QLabel>("title")->text(), expected.at(row).title);
    }

    void deleteAsksFirst()
    {
        clickRow(1);
        QList<SavedCommand> expected = commands();
        // Declined by Return (the default must not delete), then confirmed twice: the selected row is
        // no longer selected, deleting another row than the selected one keeps it.
        for (const int selected : {-1, 1, 0}) {
            if (selected >= 0)
                clickRow(selected);
            QVERIFY(chooseFromMenu(1, u"Delete"_s));
            QVERIFY(alert() && alert()->isVisible() && alert()->text().contains(expected.at(1).title));
            if (selected >= 0)
                child<QPushButton>(alert(), "confirmDelete")->click();
            else
                QTest::keyClick(alert(), Qt::Key_Return);
            QTRY_VERIFY(!alert());
            if (selected >= 0)
                expected.removeAt(1);
            QVERIFY(commands() == expected);
            QCOMPARE(m_view->selection(),
                     selected == 1 ? std::nullopt : std::optional(expected.at(selected ? 1 : 0).id));
        }
        // The detail's Delete asks the same about the command it shows.
        QTest::mouseClick(shown<QPushButton>("delete"), Qt::LeftButton);
        QVERIFY(alert() && alert()->isVisible() && alert()->text().contains(expected.at(0).title));
        child<QPushButton>(alert(), "confirmDelete")->click();
        QTRY_VERIFY(!alert());
        QVERIFY(!m_view->selection() && commands() == expected.mid(1));
    }

    // As a keyboard user expects: Down from the search, or on coming into the list, picks the first row;
    // Ctrl+F finds the search; Ctrl+C and Ctrl+Shift+C copy the command (never the title) as the detail's
    // Copy does; Delete asks; Escape leaves an edit.
    void keyboard()
    {
        QListView *list = m_view->list();
        m_view->searchField()->setFocus();
        QTest::keyClick(m_view->searchField(), Qt::Key_Down);
        QVERIFY(list->hasFocus() && selectedRow() == 0);
        QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(m_view->searchField()->hasFocus());
        m_view->setSelection(std::nullopt);
        list->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(selectedRow(), 0);
        for (const Qt::KeyboardModifiers modifiers :
             {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
            QGuiApplication::clipboard()->clear();
            QTest::keyClick(list, Qt::Key_C, modifiers);
            QCOMPARE(QGuiApplication::clipboard()->text(), commands().at(0).command);
            QCOMPARE(detail()->copyButton()->text(), u"Copied"_s);
        }
        QTest::keyClick(list, Qt::Key_Delete);
        QVERIFY(alert() && alert()->objectName() == u"confirmDeleteAlert"_s);
        dismissAlert();
        detail()->edit();
        QTest::keyClick(shown<QLineEdit>("editingTitle"), Qt::Key_Escape);
        QVERIFY(!detail()->isEditing() && commands().size() == 3);
    }

    void leavingAnEditAsks_data()
    {
        // Return and Escape press the default and the escape button, Save and Cancel.
        QTest::addColumn<int>("answer"); // a key, or the button clicked
        QTest::newRow("Return saves") << int(Qt::Key_Return);
        QTest::newRow("Discard") << int(QMessageBox::Discard);
        QTest::newRow("Escape cancels") << int(Qt::Key_Escape);
    }
    void leavingAnEditAsks()
    {
        QFETCH(int, answer);
        QList<SavedCommand> expected = commands();
        // An edit that changes nothing is left without a question.
        clickRow(0);
        QTest::mouseClick(shown<QPushButton>("edit"), Qt::LeftButton);
        clickRow(1);
        QVERIFY(!alert() && !detail()->isEditing() && m_view->selection() == expected.at(1).id);
        QTest::mouseClick(shown<QPushButton>("edit"), Qt::LeftButton);
        QTest::keyClicks(shown<QLineEdit>("editingTitle"), u"Edited"_s);
        clickRow(2);
        QVERIFY(alert() && alert()->isVisible() && alert()->text().contains(expected.at(1).title));
        if (answer == QMessageBox::Discard)
            alert()->button(QMessageBox::Discard)->click();
        else
            QTest::keyClick(alert(), Qt::Key(answer));
        QTRY_VERIFY(!alert());
        const bool stays = answer == Qt::Key_Escape;
        if (answer == Qt::Key_Return)
            expected[1].title = u"Edited"_s;
        QVERIFY(commands() == expected);
        QCOMPARE(m_view->selection(), expected.at(stays ? 1 : 2).id);
        QCOMPARE(selectedRow(), stays ? 1 : 2);
        QCOMPARE(detail()->isEditing(), stays);
        QCOMPARE(shown<QLineEdit>("editingTitle")->text(), stays ? u"Edited"_s : QString());
    }

    void exportWritesTheCommand()
    {
        const QString target = m_stores->path(u"exported.txt"_s);
        QStringList proposed;
        QString answer = target;
        TextFileDialog::setChooserForTesting([&](const QString &proposedPath) {
            proposed << proposedPath;
            return answer;
        });
        const int withNotes = int(commands().size()) - 1;
        clickRow(withNotes);
        QTest::mouseClick(shown<QPushButton>("export"), Qt::LeftButton);
        QCOMPARE(fileContents(target), commands().at(withNotes).exportText().toUtf8());
        // The list's menu exports its own row, not the selected one.
        QVERIFY(chooseFromMenu(0, u"Export to .txt\u2026"_s));
        QCOMPARE(fileContents(target), commands().at(0).exportText().toUtf8());
        // The first starts at home (there is no Documents here), the second in the folder of the first.
        QCOMPARE(proposed,
                 (QStringList{QDir::home().filePath(TextFile::proposedName(commands().at(withNotes).title)),
                              QFileInfo(target).dir().filePath(TextFile::proposedName(commands().at(0).title))}));
        // A name without the extension gets it.
        answer = m_stores->path(u"named"_s);
        QTest::mouseClick(shown<QPushButton>("export"), Qt::LeftButton);
        QCOMPARE(fileContents(answer + u".txt"_s), commands().at(withNotes).exportText().toUtf8());
        // Cancelled: nothing written. Failed: nothing written, and the user is told, the path said once; the
        // next save does not start in that folder.
        QVERIFY(QFile::remove(target));
        const QString failing = m_stores->path(u"missing-folder/out.txt"_s);
        for (const QString &path : {QString(), failing}) {
            answer = path;
            QTest::mouseClick(shown<QPushButton>("export"), Qt::LeftButton);
            QVERIFY(!QFile::exists(target) && !QFile::exists(path));
            QCOMPARE(bool(alert()), !path.isEmpty());
        }
        const QString told = alert()->informativeText();
        QVERIFY2(alert()->isVisible() && told.startsWith(failing + u": "_s) && told.count(failing) == 1,
                 qPrintable(told));
        dismissAlert();
        answer = QString();
        QTest::mouseClick(shown<QPushButton>("export"), Qt::LeftButton);
        QCOMPARE(QFileInfo(proposed.last()).path(), QFileInfo(target).path());
    }

    // The library out and back in: the stored format byte for byte, nothing added twice, a conflict
    // settled as chosen, a file with a bad entry changing nothing, each import one change of the store,
    // and a failed export told.
    void libraryExportsAndImports_data()
    {
        QTest::addColumn<QString>("choice");
        for (const char *choice : {"Keep Mine", "Take Theirs", "Keep Both"})
            QTest::newRow(choice) << QString::fromLatin1(choice);
    }
    void libraryExportsAndImports()
    {
        QFETCH(QString, choice);
        CommandStore &store = m_stores->commands();
        QString answer = m_stores->path(u"library.json"_s);
        QString proposed;
        std::function<QString(const QString &)> chooser = [&](const QString &path) {
            proposed = path;
            return answer;
        };
        TextFileDialog::setChooserForTesting(chooser);
        const QList<SavedCommand> original = commands();
        const QByteArray stored = SavedCommand::encodeList(original);
        QVERIFY(chooseFromLibrary(u"Export All\u2026"_s));
        QCOMPARE(fileContents(answer), stored);
        QCOMPARE(QFileInfo(proposed).fileName(),
                 u"saved-commands-%1.json"_s.arg(QDate::currentDate().toString(Qt::ISODate)));
        QVERIFY(!chooseFromLibrary(u"Export Matching\u2026"_s)); // the search hides nothing
        QTest::keyClicks(m_view->searchField(), u"diagnose"_s);
        answer = m_stores->path(u"matching.json"_s);
        QVERIFY(chooseFromLibrary(u"Export Matching\u2026"_s));
        QList<SavedCommand> matching = original;
        matching.removeIf([](const SavedCommand &c) { return !SavedCommandFilter::matches(c, u"diagnose"_s); });
        QCOMPARE(fileContents(answer), SavedCommand::encodeList(matching));
        m_view->searchField()->clear();
        answer = m_stores->path(u"library.json"_s);

        // The real dialog opens in the folder last saved to.
        const auto choose = std::exchange(chooser, {});
        TextFileDialog::setChooserForTesting({});
        QString opened;
        QTimer answering; // until the dialog is up, after the menu's own loop
        connect(&answering, &QTimer::timeout, this, [&opened] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                opened = dialog->directory().path();
                dialog->reject();
            }
        });
        answering.start(20);
        QVERIFY(chooseFromLibrary(u"Import\u2026"_s));
        QCOMPARE(opened, QFileInfo(answer).absolutePath());
        TextFileDialog::setChooserForTesting(choose);
        QSignalSpy changed(&store, &CommandStore::changed);
        while (!commands().isEmpty())
            store.remove(commands().first().id);
        changed.clear();
        for (const char *summary : {"3 added, 0 already present", "0 added, 3 already present"}) {
            QVERIFY(chooseFromLibrary(u"Import\u2026"_s));
            QTRY_VERIFY(alert()); // read in the background
            QVERIFY2(alert()->informativeText().startsWith(QLatin1String(summary)),
                     qPrintable(alert()->informativeText()));
            dismissAlert();
            QVERIFY(commands() == original && changed.size() == 1);
        }
        QVERIFY(store.flush() && storedList(m_stores->storage(), SettingsStorage::savedCommands) == stored);
        QVERIFY(QFile::remove(answer) && chooseFromLibrary(u"Export All\u2026"_s));
        QCOMPARE(fileContents(answer), stored); // exported again, byte for byte

        SavedCommand edited = commands().at(1);
        edited.title = u"Edited"_s;
        store.update(edited);
        const QList<SavedCommand> mine = commands();
        m_view->setSelection(edited.id);
        detail()->edit(); // open, untouched, while the import may replace the command
        changed.clear();
        QVERIFY(chooseFromLibrary(u"Import\u2026"_s));
        QTRY_VERIFY(alert()); // read in the background
        // Named, with what differs, before the choice.
        QCOMPARE(alert()->objectName(), u"importConflictAlert"_s);
        QVERIFY(alert()->text().contains(u"'Edited'"_s) &&
                alert()->detailedText().contains(u"Title: 'Edited' \u2192 '%1'"_s.arg(original.at(1).title)));
        child<QPushButton>(alert(), qPrintable(choice))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(alert()->objectName(), u"importSummary"_s);
        dismissAlert();
        if (choice == u"Keep Mine") {
            QVERIFY(commands() == mine && changed.isEmpty());
        } else if (choice == u"Take Theirs") {
            QVERIFY(commands() == original && changed.size() == 1);
        } else {
            QCOMPARE(commands().mid(1), mine);
            SavedCommand theirs = commands().first();
            QVERIFY(theirs.id != original.at(1).id);
            theirs.id = original.at(1).id;
            QVERIFY(theirs == original.at(1) && changed.size() == 1);
        }
        // The edit took up what the import brought, and saving it loses none of it.
        const QList<SavedCommand> imported = commands();
        detail()->saveEdit();
        QCOMPARE(commands(), imported);

        const QList<SavedCommand> before = commands();
        QByteArray broken = stored;
        QVERIFY(writeFile(answer, broken.replace(SavedCommand::idText(original.at(2).id).toLatin1(), "not-an-id")));
        QVERIFY(chooseFromLibrary(u"Import\u2026"_s));
        QTRY_VERIFY(alert()); // read in the background
        // Counted from 1, as the user counts.
        QVERIFY2(alert()->informativeText().contains(u"entry 3: 'not-an-id'"_s),
                 qPrintable(alert()->informativeText()));
        dismissAlert();
        // A pipe is refused at once, never waited on.
        QVERIFY(QFile::remove(answer) && mkfifo(QFile::encodeName(answer).constData(), 0600) == 0);
        QVERIFY(chooseFromLibrary(u"Import\u2026"_s));
        QTRY_VERIFY(alert() && alert()->informativeText().endsWith(u"named pipe, not a file"_s));
        dismissAlert();
        QVERIFY(commands() == before && QFile::remove(answer) && writeFile(answer, broken));

        // A full disk: the file keeps what it held, and the user is told.
        AtomicFile::setFaultsForTesting(
            AtomicFile::Faults{[](QIODevice &file) { return std::make_unique<FailDevice>(file, 0); }});
        QVERIFY(chooseFromLibrary(u"Export All\u2026"_s));
        AtomicFile::setFaultsForTesting(std::nullopt);
        QVERIFY(alert() && alert()->informativeText().contains(u"No space left on device"_s));
        QCOMPARE(fileContents(answer), broken);
    }
};

QTEST_MAIN(TestSavedCommandsView)
#include "tst_savedcommandsview.moc"
