// The main window and the tray menu over one application: the sidebar, the navigation state and the
// tray show the view the factory makes for a category, the tray follows the saved commands live, and
// each menu item opens, copies, selects or quits what it names.

#include "app/appcontroller.h"
#include "app/categoryviewfactory.h"
#include "app/contentview.h"
#include "app/helpmenucommand.h"
#include "app/mainwindow.h"
#include "app/menubarview.h"
#include "app/quitonsignal.h"
#include "builders/formregistry.h"
#include "common/emptystateview.h"
#include "common/style.h"
#include "help/helpwindow.h"
#include "model/atomicfile.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "model/navigationstate.h"
#include "output/savecommanddialog.h"
#include "readers/snifferoutputview.h"
#include "saved/savedcommanddetail.h"
#include "saved/savedcommandsview.h"

#include "faildevice.h"
#include "storedlist.h"
#include "uitest.h"

#include <QDesktopServices>
#include <QListWidget>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <sys/stat.h>

class TestMenuBarView : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir; // each test starts from no stored lists
    std::optional<AppController> m_app;
    QUrl m_opened; // what a folder link opened

    // An item as the user reads it: iconText() drops the mnemonic marks, so a title's "&" shows only
    // if the menu text doubles it.
    static QAction *item(const QMenu *menu, const QString &shown)
    {
        const QList<QAction *> actions = menu->actions();
        const auto found = std::ranges::find_if(actions, [&](auto *a) { return a->iconText() == shown; });
        return found == actions.end() ? nullptr : *found;
    }
    // Ctrl+Q in the window quits the application the normal way, from inside its own loop.
    static void quits(QWidget *window)
    {
        QApplication::setActiveWindow(window);
        QTimer::singleShot(0, window, [window] { QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
    const QList<SavedCommand> &commands() const { return m_app->store().commands(); }
    ContentView *content() const { return m_app->mainWindow()->content(); }
    void click(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QListWidget *sidebar = content()->sidebar();
        QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, modifiers,
                          sidebar->visualItemRect(sidebar->item(row)).center());
    }

public slots:
    void opened(const QUrl &url) { m_opened = url; }

private slots:
    void init() { m_app.emplace(m_dir.emplace().filePath(u"settings.conf"_s)); }
    void cleanup()
    {
        AtomicFile::setFaultsForTesting(std::nullopt);
        m_app.reset();
    }

    void recentFollowsTheStoreAndOpensOrCopies()
    {
        MenuBarView view(*m_app);
        const auto recent = [&] { return child<QMenu>(view.menu(), "recentMenu"); };
        const auto entries = [&] { return recent()->findChildren<QMenu *>(Qt::FindDirectChildrenOnly); };
        const auto empty = [&] {
            const QAction *none = item(view.menu(), u"No Saved Commands"_s);
            return none && !none->isEnabled() && !recent();
        };
        QVERIFY(empty());
        const QList<DebugCategory> categories = FormRegistry::builderCategories();
        for (int i = 0; i < 12; ++i)
            m_app->store().add(SavedCommand::create(u"R&D %1"_s.arg(i), categories.at(i % categories.size()),
                                                    u" a\nb%1\n"_s.arg(i), u"notes"_s));
        QVERIFY(!item(view.menu(), u"No Saved Commands"_s));
        // The ten newest in the store's order, each ending in its category on an inert line.
        QCOMPARE(entries().size(), 10);
        for (int i = 0; i < 10; ++i) {
            const QList<QAction *> actions = entries().at(i)->actions();
            QCOMPARE(entries().at(i)->menuAction()->iconText(), commands().at(i).title);
            QCOMPARE(actions.constLast()->iconText(), Category::title(commands().at(i).category));
            QVERIFY(actions.constFirst()->isEnabled() && !actions.constLast()->isEnabled());
        }
        SavedCommand renamed = commands().first();
        renamed.title = u"Renamed"_s;
        m_app->store().update(renamed);
        QCOMPARE(entries().first()->menuAction()->iconText(), renamed.title);
        QMenu *entry = entries().at(1);
        item(entry, u"Copy to Clipboard"_s)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), commands().at(1).command);
        QVERIFY(!m_app->mainWindow());
        item(entry, u"Open in Window"_s)->trigger();
        QVERIFY(m_app->mainWindow() && m_app->mainWindow()->isVisible());
        QCOMPARE(m_app->nav().selectedCategory(), DebugCategory::saved);
        // The browser opens with its own selection, not the chosen command.
        auto *browser = qobject_cast<SavedCommandsView *>(content()->detail());
        QVERIFY(browser && !browser->selection());
        m_app->nav().setSelectedCategory(DebugCategory::ping);
        recent()->actions().constLast()->trigger(); // Manage Saved Commands
        QCOMPARE(m_app->nav().selectedCategory(), DebugCategory::saved);
        while (!commands().isEmpty())
            m_app->store().remove(commands().first().id);
        QVERIFY(empty());
    }

    // From a tray in the screen's corner, no submenu of the recent commands covers the menus it opened from.
    void submenusLeaveTheMenusBehindThemVisible()
    {
        MenuBarView view(*m_app);
        m_app->store().add(
            SavedCommand::create(u"A title long enough to need room"_s, DebugCategory::ping, u"x"_s, {}));
        const QRect screen = view.menu()->screen()->availableGeometry();
        view.menu()->popup(screen.bottomRight() -
                           QPoint(view.menu()->sizeHint().width(), view.menu()->sizeHint().height()));
        QMenu *menu = view.menu();
        for (QMenu *next : {child<QMenu>(menu, "recentMenu"), child<QMenu>(menu, "recentMenu")->findChild<QMenu *>()}) {
            menu->setActiveAction(next->menuAction());
            QTest::keyClick(menu, Qt::Key_Right);
            QTRY_VERIFY(next->isVisible());
            for (QMenu *behind = menu; behind; behind = qobject_cast<QMenu *>(behind->parentWidget()))
                QVERIFY(!next->geometry().intersects(behind->geometry()));
            menu = next;
        }
    }

    void everyCategoryShowsItsOwnView_data()
    {
        QTest::addColumn<QString>("by");
        // The tray sets the navigation state, as anything else in the program would.
        QTest::newRow("sidebar click") << u"sidebar"_s;
        QTest::newRow("tray's New Command, window closed at first") << u"tray"_s;
    }
    void everyCategoryShowsItsOwnView()
    {
        QFETCH(QString, by);
        MenuBarView tray(*m_app);
        auto *newCommands = child<QMenu>(tray.menu(), "newCommandMenu");
        QCOMPARE(newCommands->actions().size(), FormRegistry::builderCategories().size());
        const QList<DebugCategory> categories = Enum::allCases<DebugCategory>();
        const auto choose = [&](qsizetype row) {
            if (by == u"sidebar")
                click(int(row));
            else
                item(newCommands, Category::title(categories.at(row)))->trigger();
        };
        const auto command = [this] {
            return child<QPlainTextEdit>(content()->detail(), "commandText")->toPlainText();
        };
        if (by != u"tray")
            QVERIFY(QTest::qWaitForWindowExposed(m_app->showMainWindow()));
        QCOMPARE(m_app->nav().selectedCategory(), DebugCategory::session);
        choose(0);
        QVERIFY(m_app->mainWindow() && m_app->mainWindow()->isVisible());
        // Choosing the category shown changes nothing; leaving it and coming back starts afresh.
        QWidget *form = content()->detail();
        QTest::keyClicks(child<QLineEdit>(form, "src"), u"10.1.1.10"_s);
        const QString defaults = FormRegistry::create(DebugCategory::session)->generatedCommand();
        QVERIFY(command() != defaults);
        choose(0);
        QCOMPARE(content()->detail(), form);
        QCOMPARE(child<QLineEdit>(form, "src")->text(), u"10.1.1.10"_s);
        // From the last up, so that each step is a change and the first category is left and chosen again.
        for (qsizetype row = categories.size() - 1; row >= 0; --row) {
            const DebugCategory category = categories.at(row);
            if (by == u"tray" && category == DebugCategory::saved)
                continue;
            choose(row);
            QCOMPARE(m_app->nav().selectedCategory(), category);
            const QList<QListWidgetItem *> selected = content()->sidebar()->selectedItems();
            QCOMPARE(selected.size(), 1);
            QCOMPARE(selected.first()->text(), Category::title(category));
            const std::unique_ptr<QWidget> expected(
                CategoryViewFactory::create(category, {m_app->store(), m_app->interfaces()}));
            QCOMPARE(content()->detail()->metaObject(), expected->metaObject());
            QVERIFY(content()->detail()->isVisible());
        }
        QCOMPARE(child<QLineEdit>(content()->detail(), "src")->text(), QString());
        QCOMPARE(command(), defaults);
        // Deselecting the row shows the placeholder.
        click(0, Qt::ControlModifier);
        QCOMPARE(m_app->nav().selectedCategory(), std::nullopt);
        QVERIFY(content()->sidebar()->selectedItems().isEmpty());
        auto *placeholder = qobject_cast<EmptyStateView *>(content()->detail());
        QVERIFY(placeholder && placeholder->isVisible());
        if (by == u"tray")
            return;
        // The reader under its heading takes the categories' place and is kept; the keys pass over the
        // heading, and the Sniffer form's link leads to the same reader, the Debug Flow form's to its own.
        const int reader = content()->sidebar()->count() - int(Enum::allCases<OutputReader>().size());
        click(reader);
        QWidget *shown = content()->detail();
        QVERIFY(qobject_cast<SnifferOutputView *>(shown) && shown->isVisible());
        QCOMPARE(m_app->nav().selectedReader(), OutputReader::sniffer);
        QTest::keyClick(content()->sidebar(), Qt::Key_Up);
        QCOMPARE(m_app->nav().selectedCategory(), DebugCategory::saved);
        QVERIFY(!shown->isVisible());
        click(int(DebugCategory::sniffer));
        QTest::mouseClick(child<QPushButton>(content()->detail(), "readSnifferOutput"), Qt::LeftButton);
        QCOMPARE(content()->detail(), shown);
        QCOMPARE(content()->sidebar()->currentRow(), reader);
        click(int(DebugCategory::flow));
        QTest::mouseClick(child<QPushButton>(content()->detail(), "readFlowOutput"), Qt::LeftButton);
        QCOMPARE(m_app->nav().selectedReader(), OutputReader::flow);
    }

    void eachWindowOpensOnceAndEitherMenuQuits()
    {
        MenuBarView view(*m_app);
        m_app->setTrayPresent(true); // closing the window keeps the application running
        QVERIFY(!view.trayIcon()->icon().isNull() && view.menu()->actions().contains(m_app->helpCommand()));
        m_app->helpCommand()->trigger();
        QVERIFY(m_app->helpWindow() && m_app->helpWindow()->isVisible() && !m_app->mainWindow());
        quits(m_app->helpWindow());
        // Opened from the open tray menu by its keys, closed (and so deleted), then opened again.
        for (int time = 0; time < 2; ++time) {
            view.menu()->popup({});
            QVERIFY(QTest::qWaitForWindowExposed(view.menu()));
            QTest::keyClick(view.menu(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
            QPointer<MainWindow> window = m_app->mainWindow();
            QVERIFY(window && window->isVisible() && !view.menu()->isVisible());
            window->close();
            QTRY_VERIFY(!window);
        }
        view.menu()->popup({});
        QVERIFY(QTest::qWaitForWindowExposed(view.menu()));
        quits(view.menu());
        MainWindow *window = m_app->showMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(child<QMenu>(window, "helpMenu")->actions().contains(m_app->helpCommand()));
        // Each help key in the main window opens the help window, and again brings the same one forward.
        for (const QKeySequence &keys :
             {QKeySequence(Qt::CTRL | Qt::Key_Question), QKeySequence(QKeySequence::HelpContents)}) {
            delete m_app->helpWindow();
            QPointer<HelpWindow> help;
            for (int press = 0; press < 2; ++press) {
                QApplication::setActiveWindow(window);
                QTest::keyClick(window, keys[0].key(), keys[0].keyboardModifiers());
                help = help ? help.data() : m_app->helpWindow();
                QVERIFY(help && m_app->helpWindow() == help && QTest::qWaitForWindowExposed(help));
            }
        }
        // One main window shows the one navigation state: no menu item opens another.
        for (QAction *menu : window->menuBar()->actions()) {
            for (QAction *item : menu->menu()->actions())
                QVERIFY2(!item->text().contains(u"Window"_s, Qt::CaseInsensitive), qPrintable(item->text()));
        }
        QVERIFY(child<QMenu>(window, "fileMenu")->actions().contains(m_app->quitCommand()));
        quits(window);
    }

    // Where the screen allows, the first window shows the whole of every form with its panel; then its
    // size and place are those the user left. At the smallest size, a saved command keeps its padding,
    // and leaving an edit of it asks first.
    void windowAtItsDefaultLeftAndSmallestSize()
    {
        m_app->store().add(SavedCommand::create(u"Edited"_s, DebugCategory::ping, u"execute ping 10.0.0.1"_s, u"n"_s));
        m_app->setTrayPresent(true);
        QPointer<MainWindow> window = m_app->showMainWindow();
        window->resize(MainWindow::defaultSize);
        for (DebugCategory category : FormRegistry::builderCategories()) {
            m_app->nav().setSelectedCategory(category);
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QTRY_COMPARE(qobject_cast<QScrollArea *>(content()->detail())->verticalScrollBar()->maximum(), 0);
        }
        QCOMPARE(content()->y(), 0); // no room kept for notices while there are none
        const QRect left(40, 50, 1000, 700);
        window->setGeometry(left);
        window->close();
        QTRY_VERIFY(!window);
        m_app.emplace(m_dir->filePath(u"settings.conf"_s));
        window = m_app->showMainWindow();
        QCOMPARE(window->geometry(), left);
        QTRY_VERIFY(m_app->store().isLoaded());
        m_app->nav().setSelectedCategory(DebugCategory::saved);
        window->resize(window->minimumSize());
        QPointer browser = qobject_cast<SavedCommandsView *>(content()->detail());
        browser->setSelection(commands().first().id);
        QVERIFY(QTest::qWaitForWindowActive(window));
        // The sidebar at its widest leaves the least room.
        const int widest = child(content(), "sidebarColumn")->maximumWidth();
        content()->findChild<QSplitter *>()->setSizes({widest, window->width() - widest});
        QApplication::processEvents();
        for (const char *name : {"notesBox", "commandBox"}) {
            QWidget *box = child(browser, name);
            const int right = window->width() - box->mapTo(window, QPoint(box->width(), 0)).x();
            QVERIFY2(right >= box->x(), name);
        }
        browser->detail()->edit();
        QTest::keyClicks(child<QPlainTextEdit>(browser, "editingNotes"), u"typed"_s);
        // The sidebar stays on the edit until the answer; Discard then goes where the user clicked.
        click(0);
        auto *alert = browser->findChild<QMessageBox *>();
        QVERIFY(alert && alert->isVisible() && content()->detail() == browser);
        QCOMPARE(m_app->nav().selectedCategory(), DebugCategory::saved);
        QCOMPARE(content()->sidebar()->currentRow(), int(DebugCategory::saved));
        alert->button(QMessageBox::Discard)->click();
        QTRY_VERIFY(!browser);
        QCOMPARE(m_app->nav().selectedCategory(), DebugCategory::session);
        QCOMPARE(commands().first().notes, u"n"_s);
    }

    void failuresAreReportedAndRetried_data()
    {
        QTest::addColumn<bool>("interfaces");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("says");
        QTest::newRow("saved commands") << false << QByteArray("{not a list") << u"could not be read from"_s;
        QTest::newRow("custom interfaces") << true << QByteArray("{not a list") << u"could not be read from"_s;
        QTest::newRow("saved commands, a newer version's keys")
            << false
            << SavedCommand::encodeList({SavedCommand::create({}, DebugCategory::ha, {}, {})})
                   .replace("}", R"(,"tags":[]})")
            << u"newer version"_s;
    }
    void failuresAreReportedAndRetried()
    {
        QFETCH(bool, interfaces);
        QFETCH(QByteArray, stored);
        QFETCH(QString, says);
        const char *notices[] = {"commandStoreNotice", "interfaceStoreNotice"};
        QVERIFY(writeFile(interfaces ? m_app->interfaces().fileName() : m_app->store().fileName(), stored));
        // A pipe where the window's size is kept is not waited on.
        QVERIFY(mkfifo(QFile::encodeName(m_dir->filePath(u"window-state.conf"_s)).constData(), 0600) == 0);
        m_app.emplace(m_dir->filePath(u"settings.conf"_s));
        ListStore &store = interfaces ? static_cast<ListStore &>(m_app->interfaces()) : m_app->store();
        m_app->nav().setSelectedCategory(DebugCategory::saved);
        MainWindow *window = m_app->showMainWindow();
        QWidget *notice = child(window, notices[interfaces]);
        const auto text = [&] { return child<QLabel>(notice, "noticeText")->text(); };
        // Unreadable at start, or to be written without a newer version's keys: told where the copy is,
        // once the load has found it, with nothing to try again; the other list is fine.
        QTRY_VERIFY2(
            !child(window, notices[!interfaces])->isVisible() && notice->isVisible() &&
                !child(notice, "retry")->isVisible() && QFile::exists(store.backupFileName()) &&
                text().contains(store.backupFileName()) && text().contains(says) &&
                text().contains(store.fileName() + (store.loadError().isEmpty() ? u""_s : u": "_s + store.loadError())),
            qPrintable(text()));
        // The folder with the copy opens from the notice.
        QDesktopServices::setUrlHandler(u"file"_s, this, "opened");
        QTest::mouseClick(child<QPushButton>(notice, "showCopy"), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(m_opened, QUrl::fromLocalFile(m_dir->path()));
        // A full disk, which fails for root too; only for the list, so that a rescue file has room.
        const AtomicFile::Faults full{[&store](QIODevice &file) {
            const bool list = static_cast<QFileDevice &>(file).fileName() == store.fileName();
            return std::make_unique<FailDevice>(file, list ? 0 : std::numeric_limits<qint64>::max());
        }};
        AtomicFile::setFaultsForTesting(full);
        const auto add = [&](int i) {
            if (interfaces)
                m_app->interfaces().add(u"port%1"_s.arg(i));
            else
                m_app->store().add(SavedCommand::create(u"Kept %1"_s.arg(i), DebugCategory::ping, {}, {}));
            store.flush();
        };
        add(1);
        const QString reason = store.fileName() + u": No space left on device."_s;
        QVERIFY2(notice->isVisible() && child(notice, "retry")->isVisible() && text().contains(reason),
                 qPrintable(text()));
        // Try Again: tried, and shown while the disk is full; once there is room, the list is written and
        // the notice goes.
        QSignalSpy failed(&store, &ListStore::saveFailed);
        for (const bool full : {true, false}) {
            if (!full)
                AtomicFile::setFaultsForTesting(std::nullopt);
            child<QPushButton>(notice, "retry")->click();
            QVERIFY(store.flush() == !full && failed.size() == 1 && notice->isVisible() == full);
        }
        // Every way out with a change unwritten asks first: closing the window with no tray to bring it
        // back, then Ctrl+Q, where Try Again, once there is room, writes it and quits.
        AtomicFile::setFaultsForTesting(full);
        add(2);
        window->close();
        QMessageBox *alert = nullptr;
        QTRY_VERIFY((alert = window->findChild<QMessageBox *>(u"quitAlert"_s)));
        QStringList asked{alert->text()};
        alert->button(QMessageBox::Cancel)->click();
        QTRY_VERIFY(!window->findChild<QMessageBox *>(u"quitAlert"_s) && window->isVisible());
        auto guard = std::make_unique<QObject>(); // drops a pending timer once gone
        QTimer::singleShot(0, guard.get(), [&] {
            QTimer::singleShot(0, guard.get(), [] { QCoreApplication::exit(1); }); // still running: it failed
            m_app->quitCommand()->trigger();
            auto *alert = window->findChild<QMessageBox *>(u"quitAlert"_s);
            asked << (alert ? alert->text() : QString());
            AtomicFile::setFaultsForTesting(std::nullopt);
            if (alert)
                child<QPushButton>(alert, "retry")->click();
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(asked.filter(reason).size() == 2 && store.saveError().isEmpty());
        // The session's end asks nothing: what cannot be written goes to a rescue file, and it quits.
        AtomicFile::setFaultsForTesting(full);
        add(3);
        guard.reset();
        const QuitOnSignal onSignal([this] { m_app->endSession(); });
        std::raise(SIGTERM);
        QCOMPARE(QCoreApplication::exec(), 0);
        const QStringList rescued = QDir(m_dir->path()).entryList({u"*.rescue-*"_s});
        QVERIFY(rescued.size() == 1 && fileContents(m_dir->filePath(rescued.first())) == store.document());
    }

    // On a dark palette whose placeholder colour is unreadable (KDE's Breeze Dark), secondary text still
    // reads, as the palette's text toned down.
    void secondaryTextReadsOnADarkPalette()
    {
        const QPalette original = QApplication::palette();
        QPalette dark(QColor(252, 252, 252), QColor(49, 54, 59));
        dark.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
        QApplication::setPalette(dark);
        const auto restore = qScopeGuard([&original] { QApplication::setPalette(original); });
        const QPalette shown = child<QLabel>(m_app->showMainWindow(), "formDescription")->palette();
        QVERIFY(Style::contrast(shown.color(QPalette::WindowText), shown.color(QPalette::Window)) >= 4.5);
        QVERIFY(shown.color(QPalette::WindowText) != dark.color(QPalette::WindowText)); // toned down
    }

    // Leaving an open Save for Later sheet from the tray asks, as leaving an edit does. Closed to the tray
    // with Ctrl+W, the window comes back when the tray goes with its host.
    void trayMovesAskAndTheWindowComesBack()
    {
        bool tray = true;
        QPointer<MainWindow> window = m_app->showMainWindow();
        const auto view = MenuBarView::attach(*m_app, [&tray] { return tray; });
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        auto *sheet = window->findChild<SaveCommandDialog *>();
        QVERIFY(sheet && sheet->isVisible());
        item(view->menu()->findChild<QMenu *>(u"newCommandMenu"_s), u"Ping"_s)->trigger();
        auto *alert = window->findChild<QMessageBox *>(u"unsavedSheetAlert"_s);
        QVERIFY(alert && m_app->nav().selectedCategory() == DebugCategory::session);
        alert->button(QMessageBox::Save)->click();
        QTRY_VERIFY(m_app->nav().selectedCategory() == DebugCategory::ping && commands().size() == 1);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
        QTRY_VERIFY(!window);
        tray = false;
        QTRY_VERIFY_WITH_TIMEOUT(m_app->mainWindow() && m_app->mainWindow()->isVisible(), 4 * MenuBarView::trayPollMs);
        QVERIFY(!view->trayPresent());
    }

    void closingTheMainWindowQuitsOnlyWithoutATray_data()
    {
        QTest::addColumn<int>("trayFromQuestion"); // how many times the tray is asked for before it is there
        QTest::addColumn<bool>("trayAvailable");
        QTest::newRow("no tray: quits") << 1000 << false;
        QTest::newRow("tray: keeps running") << 0 << true;
        QTest::newRow("tray started later: keeps running") << 2 << true;
    }
    void closingTheMainWindowQuitsOnlyWithoutATray()
    {
        QFETCH(int, trayFromQuestion);
        QFETCH(bool, trayAvailable);
        QPointer<MainWindow> window = m_app->showMainWindow();
        // The help window stays open, so the application's own last-window rule cannot be what quits.
        m_app->showHelp();
        int asked = 0;
        const auto view = MenuBarView::attach(*m_app, [&] { return asked++ >= trayFromQuestion; });
        QVERIFY(view->trayIcon()->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(view->trayPresent(), trayAvailable, 4 * MenuBarView::trayPollMs);
        // Inside the application's own loop, which returns 0 when the application quits, else 2 once
        // the window is gone. The guard drops a pending timer when the test ends.
        QObject guard;
        connect(window, &QObject::destroyed, &guard,
                [&guard] { QTimer::singleShot(0, &guard, [] { QCoreApplication::exit(2); }); });
        QTimer::singleShot(0, window, &QWidget::close);
        QCOMPARE(QCoreApplication::exec(), trayAvailable ? 2 : 0);
        QVERIFY(!window || !window->isVisible());
    }
};

QTEST_MAIN(TestMenuBarView)
#include "tst_menubarview.moc"
