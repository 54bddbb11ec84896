// The tray menu against the store and the navigation state it serves: it follows the saved commands
// live, and each item opens, copies or selects what it names.

#include "app/appcontroller.h"
#include "app/contentview.h"
#include "app/helpmenucommand.h"
#include "app/mainwindow.h"
#include "app/menubarview.h"
#include "builders/formregistry.h"
#include "help/helpwindow.h"
#include "model/commandstore.h"
#include "model/navigationstate.h"
#include "saved/savedcommandsview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// An item as the user reads it: iconText() drops the mnemonic marks, so a title's "&" shows only if the
// menu text doubles it.
QAction *item(const QMenu *menu, const QString &shown)
{
    const QList<QAction *> actions = menu->actions();
    const auto found = std::find_if(actions.begin(), actions.end(), [&](QAction *a) { return a->iconText() == shown; });
    return found == actions.end() ? nullptr : *found;
}

} // namespace

class TestMenuBarView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::optional<AppController> m_app;

    const QList<SavedCommand> &commands() const { return m_app->store().commands(); }
    void add(const QString &title, DebugCategory category, const QString &command = QStringLiteral("x"))
    {
        m_app->store().add(SavedCommand::create(title, category, command, QStringLiteral("notes")));
    }
    static QMenu *recent(const MenuBarView &view)
    {
        return view.menu()->findChild<QMenu *>(QStringLiteral("recentMenu"));
    }
    // The saved commands' submenus, in menu order.
    static QList<QMenu *> entries(const MenuBarView &view)
    {
        return recent(view)->findChildren<QMenu *>(Qt::FindDirectChildrenOnly);
    }

private slots:
    void init() { m_app.emplace(m_dir.filePath(QStringLiteral("settings.conf"))); }
    void cleanup() { m_app.reset(); }

    void recentFollowsTheStore()
    {
        MenuBarView view(*m_app);
        const auto empty = [&] {
            const QAction *none = item(view.menu(), QStringLiteral("No Saved Commands"));
            return none && !none->isEnabled() && !recent(view);
        };
        QVERIFY(empty());
        const QList<DebugCategory> categories = FormRegistry::builderCategories();
        for (int i = 0; i < 12; ++i)
            add(QStringLiteral("R&D %1").arg(i), categories.at(i % categories.size()));
        QVERIFY(!item(view.menu(), QStringLiteral("No Saved Commands")));
        // The ten newest in the store's order, each ending in its category on an inert line.
        QCOMPARE(entries(view).size(), 10);
        for (int i = 0; i < 10; ++i) {
            const QList<QAction *> actions = entries(view).at(i)->actions();
            QCOMPARE(entries(view).at(i)->menuAction()->iconText(), commands().at(i).title);
            QCOMPARE(actions.constLast()->iconText(), Category::title(commands().at(i).category));
            QVERIFY(actions.constFirst()->isEnabled() && !actions.constLast()->isEnabled());
        }
        SavedCommand renamed = commands().first();
        renamed.title = QStringLiteral("Renamed");
        m_app->store().update(renamed);
        QCOMPARE(entries(view).first()->menuAction()->iconText(), renamed.title);
        while (!commands().isEmpty())
            m_app->store().remove(commands().first().id);
        QVERIFY(empty());
    }

    void recentEntryCopiesOrOpensTheBrowser()
    {
        add(QStringLiteral("Core BGP"), DebugCategory::routing, QStringLiteral(" a\nb\n"));
        add(QStringLiteral("Other"), DebugCategory::ping);
        MenuBarView view(*m_app);
        QMenu *entry = entries(view).at(1);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        item(entry, QStringLiteral("Copy to Clipboard"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), commands().at(1).command);
        QVERIFY(!m_app->mainWindow());

        item(entry, QStringLiteral("Open in Window"))->trigger();
        QVERIFY(m_app->mainWindow() && m_app->mainWindow()->isVisible());
        QCOMPARE(m_app->nav().selectedCategory(), DebugCategory::saved);
        auto *browser = qobject_cast<SavedCommandsView *>(m_app->mainWindow()->content()->detail());
        // The browser opens with its own selection, not the chosen command.
        QVERIFY(browser && !browser->selection());
        m_app->nav().setSelectedCategory(DebugCategory::ping);
        recent(view)->actions().constLast()->trigger(); // Manage Saved Commands
        QCOMPARE(m_app->nav().selectedCategory(), DebugCategory::saved);
    }

    void newCommandOpensEachBuilderAndKeepsTheShownForm()
    {
        MenuBarView view(*m_app);
        const QList<QAction *> actions = view.menu()->findChild<QMenu *>(QStringLiteral("newCommandMenu"))->actions();
        const QList<DebugCategory> categories = FormRegistry::builderCategories();
        QCOMPARE(actions.size(), categories.size());
        // From the last up: the first opens the closed window, the others switch it.
        for (qsizetype i = categories.size() - 1; i >= 0; --i) {
            QCOMPARE(actions.at(i)->iconText(), Category::title(categories.at(i)));
            actions.at(i)->trigger();
            QVERIFY(m_app->mainWindow() && m_app->mainWindow()->isVisible());
            QCOMPARE(m_app->nav().selectedCategory(), categories.at(i));
            QCOMPARE(m_app->mainWindow()->content()->sidebar()->selectedItems().value(0)->text(),
                     Category::title(categories.at(i)));
        }
        QWidget *form = m_app->mainWindow()->content()->detail();
        auto *field = form->findChild<QLineEdit *>(QStringLiteral("src"));
        field->setText(QStringLiteral("10.1.1.10"));
        actions.at(0)->trigger();
        QCOMPARE(m_app->mainWindow()->content()->detail(), form);
        QCOMPARE(field->text(), QStringLiteral("10.1.1.10"));
    }

    void openHelpAndQuit()
    {
        MenuBarView view(*m_app);
        QVERIFY(!view.trayIcon()->icon().isNull());
        QVERIFY(view.menu()->actions().contains(m_app->helpCommand()));
        QVERIFY(m_app->helpCommand()->shortcuts().contains(QKeySequence(QKeySequence::HelpContents)));
        m_app->helpCommand()->trigger();
        QVERIFY(m_app->helpWindow() && m_app->helpWindow()->isVisible() && !m_app->mainWindow());

        auto *open = view.menu()->findChild<QAction *>(QStringLiteral("openMainWindow"));
        QCOMPARE(open->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
        // Opened, closed (and so deleted), then opened again.
        for (int time = 0; time < 2; ++time) {
            open->trigger();
            QPointer<MainWindow> window = m_app->mainWindow();
            QVERIFY(window && window->isVisible());
            window->close();
            QTRY_VERIFY(!window);
        }
        auto *quit = view.menu()->findChild<QAction *>(QStringLiteral("quit"));
        QCOMPARE(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QTimer::singleShot(0, quit, &QAction::trigger);
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void closingTheMainWindowQuitsOnlyWithoutATray_data()
    {
        QTest::addColumn<bool>("trayAvailable");
        QTest::newRow("no tray: quits") << false;
        QTest::newRow("tray: keeps running") << true;
    }
    void closingTheMainWindowQuitsOnlyWithoutATray()
    {
        QFETCH(bool, trayAvailable);
        QPointer<MainWindow> window = m_app->showMainWindow();
        // The help window stays open, so the application's own last-window rule cannot be what quits.
        m_app->showHelp();
        const auto view = MenuBarView::attach(*m_app, trayAvailable);
        QCOMPARE(bool(view), trayAvailable);
        QCOMPARE(QGuiApplication::quitOnLastWindowClosed(), !trayAvailable);
        // Inside the application's own loop, which returns 0 when the application quits, else 2 once
        // the window is gone. The guard drops a pending timer when the test ends.
        QObject guard;
        connect(window, &QObject::destroyed, &guard,
                [&guard] { QTimer::singleShot(0, &guard, [] { QCoreApplication::exit(2); }); });
        QTimer::singleShot(0, window, &QWidget::close);
        QCOMPARE(QCoreApplication::exec(), trayAvailable ? 2 : 0);
        QVERIFY(!window);
        QGuiApplication::setQuitOnLastWindowClosed(true);
    }
};

QTEST_MAIN(TestMenuBarView)
#include "tst_menubarview.moc"
