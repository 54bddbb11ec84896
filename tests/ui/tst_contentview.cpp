// The main window as the user moves through it: the sidebar and the shared navigation state show the
// view the factory makes for a category, and the Help and File menus work from the window.

#include "app/appcontroller.h"
#include "app/categoryviewfactory.h"
#include "app/contentview.h"
#include "app/helpmenucommand.h"
#include "app/mainwindow.h"
#include "builders/formregistry.h"
#include "common/emptystateview.h"
#include "help/helpwindow.h"
#include "model/commandstore.h"
#include "model/navigationstate.h"
#include "output/commandoutputview.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestContentView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::optional<AppController> m_app;

    ContentView *content() const { return m_app->mainWindow()->content(); }
    void click(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QListWidget *sidebar = content()->sidebar();
        QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, modifiers,
                          sidebar->visualItemRect(sidebar->item(row)).center());
    }

private slots:
    void init()
    {
        m_app.emplace(m_dir.filePath(QStringLiteral("settings.conf")));
        QVERIFY(QTest::qWaitForWindowExposed(m_app->showMainWindow()));
    }
    void cleanup() { m_app.reset(); }

    void everyCategoryShowsItsOwnView_data()
    {
        QTest::addColumn<bool>("bySidebar");
        QTest::newRow("sidebar click") << true;
        QTest::newRow("navigation state, as the tray menu") << false;
    }
    void everyCategoryShowsItsOwnView()
    {
        QFETCH(bool, bySidebar);
        const QList<DebugCategory> categories = Enum::allCases<DebugCategory>();
        QCOMPARE(m_app->nav().selectedCategory(), DebugCategory::session);
        // From the last up, so that each step is a change and the first category is left and chosen again.
        for (qsizetype row = categories.size() - 1; row >= 0; --row) {
            const DebugCategory category = categories.at(row);
            bySidebar ? click(int(row)) : m_app->nav().setSelectedCategory(category);
            QCOMPARE(m_app->nav().selectedCategory(), category);
            const QList<QListWidgetItem *> selected = content()->sidebar()->selectedItems();
            QCOMPARE(selected.size(), 1);
            QCOMPARE(selected.first()->text(), Category::title(category));
            const std::unique_ptr<QWidget> expected(
                CategoryViewFactory::create(category, {m_app->store(), m_app->interfaces()}));
            QCOMPARE(content()->detail()->metaObject(), expected->metaObject());
            QVERIFY(content()->detail()->isVisible());
        }
        // Deselecting the row shows the placeholder.
        click(0, Qt::ControlModifier);
        QCOMPARE(m_app->nav().selectedCategory(), std::nullopt);
        QVERIFY(content()->sidebar()->selectedItems().isEmpty());
        auto *placeholder = qobject_cast<EmptyStateView *>(content()->detail());
        QVERIFY(placeholder && placeholder->isVisible());
    }

    void formKeepsItsValuesUntilItsCategoryIsLeft()
    {
        QWidget *form = content()->detail();
        auto *src = form->findChild<QLineEdit *>(QStringLiteral("src"));
        QTest::keyClicks(src, QStringLiteral("10.1.1.10"));
        const auto shown = [this] {
            return content()->detail()->findChild<CommandOutputView *>()->findChild<QPlainTextEdit *>()->toPlainText();
        };
        const QString defaults = FormRegistry::create(DebugCategory::session)->generatedCommand();
        QVERIFY(shown() != defaults);
        // Choosing the category shown changes nothing; leaving it and coming back starts afresh.
        m_app->nav().setSelectedCategory(DebugCategory::session);
        click(0);
        QCOMPARE(content()->detail(), form);
        QCOMPARE(src->text(), QStringLiteral("10.1.1.10"));
        click(1);
        click(0);
        QCOMPARE(m_app->nav().selectedCategory(), DebugCategory::session);
        QCOMPARE(content()->detail()->findChild<QLineEdit *>(QStringLiteral("src"))->text(), QString());
        QCOMPARE(shown(), defaults);
    }

    void helpKeysOpenOneWindow_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Ctrl+?") << QKeySequence(Qt::CTRL | Qt::Key_Question);
        QTest::newRow("the platform's help key") << QKeySequence(QKeySequence::HelpContents);
    }
    void helpKeysOpenOneWindow()
    {
        QFETCH(QKeySequence, keys);
        QVERIFY(!keys.isEmpty() && !m_app->helpWindow());
        MainWindow *window = m_app->mainWindow();
        QVERIFY(window->findChild<QMenu *>(QStringLiteral("helpMenu"))->actions().contains(m_app->helpCommand()));
        // Again, from the main window: the same window comes forward.
        QPointer<HelpWindow> help;
        for (int press = 0; press < 2; ++press) {
            QApplication::setActiveWindow(window);
            QTest::keyClick(window, keys[0].key(), keys[0].keyboardModifiers());
            help = help ? help.data() : m_app->helpWindow();
            QVERIFY(help && m_app->helpWindow() == help && QTest::qWaitForWindowExposed(help));
        }
    }

    void fileMenuQuitsAndOffersNoOtherWindow()
    {
        // One main window shows the one navigation state: no menu item opens another.
        for (QAction *menu : m_app->mainWindow()->menuBar()->actions()) {
            for (QAction *item : menu->menu()->actions())
                QVERIFY2(!item->text().contains(QStringLiteral("Window"), Qt::CaseInsensitive),
                         qPrintable(item->text()));
        }
        auto *quit = m_app->mainWindow()->findChild<QMenu *>(QStringLiteral("fileMenu"))->actions().value(0);
        QCOMPARE(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QTimer::singleShot(0, quit, &QAction::trigger);
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
