#include "app/appcontroller.h"
#include "app/categorydelegate.h"
#include "app/contentview.h"
#include "app/mainwindow.h"
#include "builders/sessionview.h"
#include "common/emptystateview.h"
#include "help/helpwindow.h"
#include "model/navigationstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

class TestContentView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsOnSessionsWithSidebarAndFooter();
    void switchingAwayAndBackResetsTheForm();
    void navigationShowsTheCategoryView();
    void noSelectionShowsSelectACategory();
    void menus();
    void helpOpensOneWindow_data();
    void helpOpensOneWindow();

private:
    ContentView *content() const { return m_controller->mainWindow()->content(); }
    void select(int row)
    {
        QListWidget *sidebar = content()->sidebar();
        QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, {},
                          sidebar->visualItemRect(sidebar->item(row)).center());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppController> m_controller;
};

void TestContentView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_controller = std::make_unique<AppController>(m_dir->filePath(QStringLiteral("settings.conf")));
    QVERIFY(QTest::qWaitForWindowExposed(m_controller->showMainWindow()));
}

void TestContentView::cleanup()
{
    m_controller.reset();
}

void TestContentView::startsOnSessionsWithSidebarAndFooter()
{
    MainWindow *window = m_controller->mainWindow();
    QVERIFY(window->minimumWidth() >= 900 && window->minimumHeight() >= 620);
    QCOMPARE(window->windowTitle(), QStringLiteral("Brindlecap Builder"));

    QListWidget *sidebar = content()->sidebar();
    QStringList titles;
    QStringList subtitles;
    for (int i = 0; i < sidebar->count(); ++i) {
        titles << sidebar->item(i)->text();
        subtitles << sidebar->item(i)->data(CategoryDelegate::SubtitleRole).toString();
        QVERIFY(!sidebar->item(i)->icon().isNull());
        QVERIFY(!sidebar->item(i)->icon().pixmap(20, 20).isNull());
    }
    QCOMPARE(titles, (QStringList{QStringLiteral("Sessions"), QStringLiteral("Ping"), QStringLiteral("Traceroute"),
                                  QStringLiteral("Sniffer"), QStringLiteral("Debug Flow"), QStringLiteral("VPN"),
                                  QStringLiteral("System Top"), QStringLiteral("HA"), QStringLiteral("Routing"),
                                  QStringLiteral("Saved Commands")}));
    QCOMPARE(subtitles.at(1), QStringLiteral("exec ping-options / exec ping"));
    QCOMPARE(subtitles.at(9), QStringLiteral("Your saved commands"));
    QCOMPARE(sidebar->selectedItems().size(), 1);
    QCOMPARE(sidebar->selectedItems().first()->text(), QStringLiteral("Sessions"));
    QVERIFY(qobject_cast<SessionView *>(content()->detail()));

    QCOMPARE(content()->findChild<QLabel *>(QStringLiteral("footerName"))->text(),
             QStringLiteral("Brindlecap Builder"));
    QVERIFY(!content()->findChild<QLabel *>(QStringLiteral("footerByline"))->text().isEmpty());
    QVERIFY(!content()->findChild<QLabel *>(QStringLiteral("footerIcon"))->pixmap().isNull());
}

void TestContentView::switchingAwayAndBackResetsTheForm()
{
    auto *session = qobject_cast<SessionView *>(content()->detail());
    QTest::keyClicks(session->findChild<QLineEdit *>(QStringLiteral("src")), QStringLiteral("10.1.1.10"));
    QTest::mouseClick(session->findChild<QCheckBox *>(QStringLiteral("clearFirst")), Qt::LeftButton);
    QCOMPARE(session->form().src, QStringLiteral("10.1.1.10"));

    select(1); // Ping
    QCOMPARE(m_controller->nav().selectedCategory(), std::optional(DebugCategory::ping));
    select(0);
    QCOMPARE(m_controller->nav().selectedCategory(), std::optional(DebugCategory::session));
    session = qobject_cast<SessionView *>(content()->detail());
    QVERIFY(session);
    QCOMPARE(session->findChild<QLineEdit *>(QStringLiteral("src"))->text(), QString());
    QVERIFY(session->findChild<QCheckBox *>(QStringLiteral("clearFirst"))->isChecked());
    QCOMPARE(session->form().generatedCommand(), SessionForm().generatedCommand());
}

void TestContentView::navigationShowsTheCategoryView()
{
    // Selecting through the shared navigation state (as the tray menu does) moves the sidebar and
    // shows that category's own view.
    m_controller->nav().setSelectedCategory(DebugCategory::top);
    QCOMPARE(content()->sidebar()->selectedItems().first()->text(), QStringLiteral("System Top"));
    QCOMPARE(content()->detail()->objectName(), QStringLiteral("topView"));
    QVERIFY(content()->detail()->isVisible());
}

void TestContentView::noSelectionShowsSelectACategory()
{
    QListWidget *sidebar = content()->sidebar();
    QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      sidebar->visualItemRect(sidebar->item(0)).center());
    QCOMPARE(m_controller->nav().selectedCategory(), std::nullopt);
    auto *placeholder = qobject_cast<EmptyStateView *>(content()->detail());
    QVERIFY(placeholder);
    QCOMPARE(placeholder->title(), QStringLiteral("Select a Category"));
    QCOMPARE(placeholder->description(), QStringLiteral("Choose a debug category from the sidebar to get started."));
    QVERIFY(placeholder->isVisible());
}

void TestContentView::menus()
{
    QMenuBar *bar = m_controller->mainWindow()->menuBar();
    QMenu *help = bar->findChild<QMenu *>(QStringLiteral("helpMenu"));
    QVERIFY(help);
    QCOMPARE(help->actions().size(), 1);
    QCOMPARE(help->actions().first()->text(), QStringLiteral("Brindlecap Builder Help"));
    QCOMPARE(help->actions().first()->shortcuts(),
             (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+?")), QKeySequence(Qt::Key_F1)}));

    for (QAction *menu : bar->actions()) {
        for (QAction *item : menu->menu()->actions())
            QVERIFY2(!item->text().contains(QStringLiteral("New Window"), Qt::CaseInsensitive),
                     qPrintable(item->text()));
    }
    QMenu *file = bar->findChild<QMenu *>(QStringLiteral("fileMenu"));
    QAction *quit = file->findChild<QAction *>(QStringLiteral("quit"));
    QVERIFY(file->actions().contains(quit));
    QCOMPARE(quit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
}

void TestContentView::helpOpensOneWindow_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Ctrl+?") << int(Qt::Key_Question) << int(Qt::ControlModifier);
    QTest::newRow("F1") << int(Qt::Key_F1) << int(Qt::NoModifier);
}

void TestContentView::helpOpensOneWindow()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QVERIFY(!m_controller->helpWindow());
    MainWindow *window = m_controller->mainWindow();
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    HelpWindow *help = m_controller->helpWindow();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QCOMPARE(help->windowTitle(), QStringLiteral("Brindlecap Builder Help"));
    QVERIFY(help->minimumWidth() >= 720 && help->minimumHeight() >= 520);

    // Again, from the main window: the same window comes forward.
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_controller->helpWindow(), help);
    int helpWindows = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        helpWindows += qobject_cast<HelpWindow *>(w) && w->isVisible();
    QCOMPARE(helpWindows, 1);
}

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
