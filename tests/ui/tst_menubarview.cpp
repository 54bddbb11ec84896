#include "app/appcontroller.h"
#include "app/contentview.h"
#include "app/mainwindow.h"
#include "app/menubarview.h"
#include "help/helpwindow.h"
#include "model/commandstore.h"
#include "model/navigationstate.h"
#include "saved/savedcommandsview.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// What the user reads: "&&" shows as "&"; submenus end in " >", inert lines in " [inert]".
QStringList entries(const QMenu *menu)
{
    QStringList result;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator()) {
            result << QStringLiteral("---");
            continue;
        }
        QString text = action->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
        if (action->menu())
            text += QStringLiteral(" >");
        if (!action->isEnabled())
            text += QStringLiteral(" [inert]");
        result << text;
    }
    return result;
}

QAction *find(const QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QMenu *submenu(const QMenu *menu, const QString &text)
{
    QAction *action = find(menu, text);
    return action ? action->menu() : nullptr;
}
} // namespace

class TestMenuBarView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void structure_data();
    void structure();
    void shortcuts();
    void recentEntryHoldsItsActions();
    void titlesShownAsTyped();
    void newCommandListsNineCategories();
    void followsTheStoreLive();
    void copyToClipboardCopiesTheCommandOnly();
    void openInWindowAndManageShowTheBrowser();
    void newCommandOpensTheClosedWindow();
    void newCommandKeepsTheShownForm();
    void helpAndOpenBringWindowsForward();
    void closingTheMainWindowQuitsOnlyWithoutATray_data();
    void closingTheMainWindowQuitsOnlyWithoutATray();

private:
    SavedCommand add(const QString &title, DebugCategory category = DebugCategory::routing,
                     const QString &command = QStringLiteral("get router info bgp summary"));

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppController> m_controller;
};

void TestMenuBarView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_controller = std::make_unique<AppController>(m_dir->filePath(QStringLiteral("settings.conf")));
}

void TestMenuBarView::cleanup()
{
    m_controller.reset();
    m_dir.reset();
}

SavedCommand TestMenuBarView::add(const QString &title, DebugCategory category, const QString &command)
{
    const SavedCommand c = SavedCommand::create(title, category, command, QStringLiteral("notes"));
    m_controller->store().add(c);
    return c;
}

void TestMenuBarView::structure_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QStringList>("recent");

    QTest::newRow("none") << 0 << QStringLiteral("No Saved Commands [inert]") << QStringList{};
    const QString recentMenu = QStringLiteral("Recent Saved Commands >");
    const QStringList manage{QStringLiteral("---"), QStringLiteral("Manage Saved Commands\u2026")};
    QTest::newRow("one") << 1 << recentMenu << QStringList{QStringLiteral("Command 1 >")} + manage;
    QStringList tenNewest;
    for (int i = 12; i >= 3; --i)
        tenNewest << QStringLiteral("Command %1 >").arg(i);
    QTest::newRow("twelve: the ten newest, newest first") << 12 << recentMenu << tenNewest + manage;
}

void TestMenuBarView::structure()
{
    QFETCH(int, count);
    QFETCH(QString, middle);
    QFETCH(QStringList, recent);
    for (int i = 1; i <= count; ++i)
        add(QStringLiteral("Command %1").arg(i));
    MenuBarView view(*m_controller);
    QCOMPARE(entries(view.menu()),
             (QStringList{QStringLiteral("Open Brindlecap Builder"), QStringLiteral("---"),
                          QStringLiteral("New Command >"), QStringLiteral("---"), middle, QStringLiteral("---"),
                          QStringLiteral("Brindlecap Builder Help"), QStringLiteral("Quit Brindlecap Builder")}));
    QMenu *recentMenu = submenu(view.menu(), QStringLiteral("Recent Saved Commands"));
    QCOMPARE(recentMenu ? entries(recentMenu) : QStringList{}, recent);
    QCOMPARE(find(view.menu(), QStringLiteral("Manage Saved Commands\u2026")), nullptr);
}

void TestMenuBarView::shortcuts()
{
    MenuBarView view(*m_controller);
    QCOMPARE(find(view.menu(), QStringLiteral("Open Brindlecap Builder"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    QVERIFY(find(view.menu(), QStringLiteral("Brindlecap Builder Help"))
                ->shortcuts()
                .contains(QKeySequence(Qt::CTRL | Qt::Key_Question)));
    QCOMPARE(find(view.menu(), QStringLiteral("Quit Brindlecap Builder"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_Q));
    QVERIFY(!view.trayIcon()->icon().isNull());
}

void TestMenuBarView::recentEntryHoldsItsActions()
{
    add(QStringLiteral("Core BGP"), DebugCategory::routing);
    add(QStringLiteral("Flow"), DebugCategory::flow);
    MenuBarView view(*m_controller);
    QMenu *recent = submenu(view.menu(), QStringLiteral("Recent Saved Commands"));
    QVERIFY(recent);
    QCOMPARE(entries(submenu(recent, QStringLiteral("Core BGP"))),
             (QStringList{QStringLiteral("Copy to Clipboard"), QStringLiteral("Open in Window"), QStringLiteral("---"),
                          QStringLiteral("Routing [inert]")}));
    QCOMPARE(entries(submenu(recent, QStringLiteral("Flow"))).constLast(), QStringLiteral("Debug Flow [inert]"));
}

void TestMenuBarView::titlesShownAsTyped()
{
    add(QStringLiteral("R&D check"));
    add(QStringLiteral("R&D check"));
    MenuBarView view(*m_controller);
    const QStringList recent = entries(submenu(view.menu(), QStringLiteral("Recent Saved Commands")));
    QCOMPARE(recent.mid(0, 2), (QStringList{QStringLiteral("R&D check >"), QStringLiteral("R&D check >")}));
}

void TestMenuBarView::newCommandListsNineCategories()
{
    MenuBarView view(*m_controller);
    QMenu *newCommand = submenu(view.menu(), QStringLiteral("New Command"));
    QVERIFY(newCommand);
    QCOMPARE(entries(newCommand),
             (QStringList{QStringLiteral("Sessions"), QStringLiteral("Ping"), QStringLiteral("Traceroute"),
                          QStringLiteral("Sniffer"), QStringLiteral("Debug Flow"), QStringLiteral("VPN"),
                          QStringLiteral("System Top"), QStringLiteral("HA"), QStringLiteral("Routing")}));
    for (const QAction *action : newCommand->actions())
        QVERIFY2(!action->icon().isNull(), qPrintable(action->text()));
}

void TestMenuBarView::followsTheStoreLive()
{
    MenuBarView view(*m_controller);
    QVERIFY(find(view.menu(), QStringLiteral("No Saved Commands")));
    const SavedCommand first = add(QStringLiteral("First"));
    QVERIFY(!find(view.menu(), QStringLiteral("No Saved Commands")));
    QCOMPARE(entries(submenu(view.menu(), QStringLiteral("Recent Saved Commands"))).constFirst(),
             QStringLiteral("First >"));
    SavedCommand renamed = first;
    renamed.title = QStringLiteral("Renamed");
    m_controller->store().update(renamed);
    QCOMPARE(entries(submenu(view.menu(), QStringLiteral("Recent Saved Commands"))).constFirst(),
             QStringLiteral("Renamed >"));
    m_controller->store().remove(first.id);
    QVERIFY(find(view.menu(), QStringLiteral("No Saved Commands")));
    QVERIFY(!find(view.menu(), QStringLiteral("Recent Saved Commands")));
}

void TestMenuBarView::copyToClipboardCopiesTheCommandOnly()
{
    const SavedCommand c =
        add(QStringLiteral("Core BGP"), DebugCategory::routing, QStringLiteral("get router info bgp summary\nexit\n"));
    add(QStringLiteral("Other"), DebugCategory::ping, QStringLiteral("exec ping 1.1.1.1"));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    MenuBarView view(*m_controller);
    QMenu *entry = submenu(submenu(view.menu(), QStringLiteral("Recent Saved Commands")), QStringLiteral("Core BGP"));
    find(entry, QStringLiteral("Copy to Clipboard"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), c.command);
    QVERIFY(!m_controller->mainWindow());
}

void TestMenuBarView::openInWindowAndManageShowTheBrowser()
{
    add(QStringLiteral("Core BGP"));
    MenuBarView view(*m_controller);
    QVERIFY(!m_controller->mainWindow());
    QMenu *recent = submenu(view.menu(), QStringLiteral("Recent Saved Commands"));
    find(submenu(recent, QStringLiteral("Core BGP")), QStringLiteral("Open in Window"))->trigger();
    QVERIFY(m_controller->mainWindow());
    QVERIFY(m_controller->mainWindow()->isVisible());
    QCOMPARE(m_controller->nav().selectedCategory(), DebugCategory::saved);
    auto *browser = qobject_cast<SavedCommandsView *>(m_controller->mainWindow()->content()->detail());
    QVERIFY(browser);
    // The browser opens with its own selection, not the chosen command.
    QCOMPARE(browser->selection(), std::nullopt);

    m_controller->nav().setSelectedCategory(DebugCategory::ping);
    find(recent, QStringLiteral("Manage Saved Commands\u2026"))->trigger();
    QCOMPARE(m_controller->nav().selectedCategory(), DebugCategory::saved);
}

void TestMenuBarView::newCommandOpensTheClosedWindow()
{
    MenuBarView view(*m_controller);
    find(submenu(view.menu(), QStringLiteral("New Command")), QStringLiteral("Ping"))->trigger();
    MainWindow *window = m_controller->mainWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    const QList<QListWidgetItem *> selected = window->content()->sidebar()->selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.constFirst()->text(), QStringLiteral("Ping"));
}

void TestMenuBarView::newCommandKeepsTheShownForm()
{
    MenuBarView view(*m_controller);
    MainWindow *window = m_controller->showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QWidget *form = window->content()->detail();
    auto *src = form->findChild<QLineEdit *>(QStringLiteral("src"));
    QVERIFY(src);
    QTest::keyClicks(src, QStringLiteral("10.1.1.10"));

    QMenu *newCommand = submenu(view.menu(), QStringLiteral("New Command"));
    find(newCommand, QStringLiteral("Sessions"))->trigger();
    QCOMPARE(window->content()->detail(), form);
    QCOMPARE(src->text(), QStringLiteral("10.1.1.10"));

    // Another category, then back: a new form with its defaults.
    find(newCommand, QStringLiteral("Ping"))->trigger();
    find(newCommand, QStringLiteral("Sessions"))->trigger();
    QCOMPARE(m_controller->nav().selectedCategory(), DebugCategory::session);
    auto *fresh = window->content()->detail()->findChild<QLineEdit *>(QStringLiteral("src"));
    QVERIFY(fresh);
    QCOMPARE(fresh->text(), QString());
}

void TestMenuBarView::helpAndOpenBringWindowsForward()
{
    MenuBarView view(*m_controller);
    find(view.menu(), QStringLiteral("Brindlecap Builder Help"))->trigger();
    QVERIFY(m_controller->helpWindow());
    QVERIFY(m_controller->helpWindow()->isVisible());
    QVERIFY(!m_controller->mainWindow());

    find(view.menu(), QStringLiteral("Open Brindlecap Builder"))->trigger();
    QPointer<MainWindow> window = m_controller->mainWindow();
    QVERIFY(window && window->isVisible());
    // Closed (and so deleted), then opened again from the menu.
    window->close();
    QTRY_VERIFY(!window);
    find(view.menu(), QStringLiteral("Open Brindlecap Builder"))->trigger();
    QVERIFY(m_controller->mainWindow() && m_controller->mainWindow()->isVisible());
}

void TestMenuBarView::closingTheMainWindowQuitsOnlyWithoutATray_data()
{
    QTest::addColumn<bool>("trayAvailable");
    QTest::newRow("no tray: quits") << false;
    QTest::newRow("tray: keeps running") << true;
}

void TestMenuBarView::closingTheMainWindowQuitsOnlyWithoutATray()
{
    QFETCH(bool, trayAvailable);
    QPointer<MainWindow> window = m_controller->showMainWindow();
    // The help window stays open, so the application's own last-window rule cannot be what quits.
    m_controller->showHelp();
    const auto view = MenuBarView::attach(*m_controller, trayAvailable);
    QCOMPARE(bool(view), trayAvailable);
    QCOMPARE(QGuiApplication::quitOnLastWindowClosed(), !trayAvailable);

    // Inside the application's own loop, which returns 0 when the application quits, else 2 once the
    // window is gone. The guard drops a pending timer when the test ends.
    QObject guard;
    connect(window, &QObject::destroyed, &guard,
            [&guard] { QTimer::singleShot(0, &guard, [] { QCoreApplication::exit(2); }); });
    QTimer::singleShot(0, window, &QWidget::close);
    QCOMPARE(QCoreApplication::exec(), trayAvailable ? 2 : 0);
    QVERIFY(!window);
    QGuiApplication::setQuitOnLastWindowClosed(true);
}

QTEST_MAIN(TestMenuBarView)
#include "tst_menubarview.moc"
