#include "appcontroller.h"

#include "common/alert.h"
#include "help/helpwindow.h"
#include "helpmenucommand.h"
#include "mainwindow.h"
#include "model/atomicfile.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "model/navigationstate.h"
#include "model/settingsstorage.h"
#include "storenotice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QSettings>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

namespace {
const QString geometryKey = QStringLiteral("mainWindow/geometry");

void bringForward(QWidget *window)
{
    window->show();
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->raise();
    window->activateWindow();
}
} // namespace

AppController::AppController(const QString &settingsFile, QObject *parent)
    : QObject(parent)
    , m_storage(std::make_unique<SettingsStorage>(settingsFile))
    , m_store(std::make_unique<CommandStore>(*m_storage, CommandStore::Loading::inBackground))
    , m_interfaces(std::make_unique<InterfaceStore>(*m_storage))
    , m_nav(std::make_unique<NavigationState>())
    , m_helpCommand(new HelpMenuCommand(this))
    , m_quitCommand(new QAction(QStringLiteral("&Quit"), this))
    , m_openCommand(new QAction(QStringLiteral("Open Brindlecap Builder"), this))
{
    m_interfaces->load();
    // Whether closing the last window quits is this controller's to decide (see eventFilter).
    QApplication::setQuitOnLastWindowClosed(false);
#if QT_CONFIG(sessionmanager)
    connect(qApp, &QGuiApplication::commitDataRequest, this, &AppController::commitData, Qt::DirectConnection);
#endif
    connect(m_helpCommand, &QAction::triggered, this, [this] { showHelp(); });
    m_quitCommand->setObjectName(QStringLiteral("quit"));
    m_quitCommand->setMenuRole(QAction::QuitRole);
    connect(m_quitCommand, &QAction::triggered, this, &AppController::quit);
    m_openCommand->setObjectName(QStringLiteral("openMainWindow"));
    connect(m_openCommand, &QAction::triggered, this, [this] { showMainWindow(); });
    for (auto [command, keys] :
         {std::pair{m_quitCommand, Qt::CTRL | Qt::Key_Q}, std::pair{m_openCommand, Qt::CTRL | Qt::SHIFT | Qt::Key_O}}) {
        command->setShortcut(QKeySequence(keys));
        command->setShortcutContext(Qt::ApplicationShortcut);
    }
}

AppController::~AppController()
{
    if (m_mainWindow)
        saveGeometry();
    delete m_helpWindow;
    delete m_mainWindow;
}

MainWindow *AppController::showMainWindow()
{
    if (!m_mainWindow) {
        m_mainWindow = new MainWindow({*m_store, *m_interfaces}, *m_nav, m_helpCommand, m_quitCommand);
        m_mainWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_mainWindow->addAction(m_openCommand);
        if (const auto store = geometryStore())
            m_mainWindow->restoreGeometry(store->value(geometryKey).toByteArray());
        m_mainWindow->installEventFilter(this);
    }
    bringForward(m_mainWindow);
    return m_mainWindow;
}

HelpWindow *AppController::showHelp()
{
    if (!m_helpWindow) {
        m_helpWindow = new HelpWindow(m_storage->fileName());
        m_helpWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_helpWindow->addActions({m_quitCommand, m_openCommand});
    }
    bringForward(m_helpWindow);
    return m_helpWindow;
}

std::unique_ptr<QSettings> AppController::geometryStore() const
{
    // Its own file: the settings file may still hold the lists of the first version, which a rewrite
    // through QSettings would not keep byte for byte.
    const QString path = QFileInfo(m_storage->fileName()).dir().filePath(QStringLiteral("window-state.conf"));
    // QSettings would wait for ever on a pipe there.
    if (!AtomicFile::readable(path))
        return nullptr;
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

void AppController::saveGeometry()
{
    // Per screen set-up, as the saved geometry holds the screen it was on.
    if (const auto store = geometryStore())
        store->setValue(geometryKey, m_mainWindow->saveGeometry());
}

bool AppController::eventFilter(QObject *watched, QEvent *event)
{
    // The type first: while the window is being destroyed, it is no longer a MainWindow.
    if (event->type() == QEvent::Close && watched == m_mainWindow) {
        if (!m_trayPresent && !m_quitting) {
            // Nothing could bring the window back: closing it is quitting, which may ask first.
            event->ignore();
            QMetaObject::invokeMethod(this, &AppController::quit, Qt::QueuedConnection);
            return true;
        }
        saveGeometry();
    }
    return QObject::eventFilter(watched, event);
}

MainWindow *AppController::mainWindow() const
{
    return m_mainWindow;
}

HelpWindow *AppController::helpWindow() const
{
    return m_helpWindow;
}

ListStore *AppController::unwritten() const
{
    for (ListStore *store : {static_cast<ListStore *>(m_store.get()), static_cast<ListStore *>(m_interfaces.get())}) {
        if (!store->saveError().isEmpty())
            return store;
    }
    return nullptr;
}

void AppController::rescueUnwritten()
{
    for (ListStore *store : {static_cast<ListStore *>(m_store.get()), static_cast<ListStore *>(m_interfaces.get())}) {
        if (store->saveError().isEmpty())
            continue;
        store->retrySave();
        if (!store->flush())
            store->rescue(nullptr); // logged, with where it went or why it could not
    }
}

QMessageBox *AppController::lossAlert(ListStore &store, const QString &quitText, std::function<void()> retry,
                                      std::function<void()> quitAnyway)
{
    // Escape keeps the application running, so that the user can make room and come back.
    return Alert::make(
        m_mainWindow, QMessageBox::Warning, "quitAlert",
        StoreNotice::writeFailure(store) +
            QStringLiteral(" %1 anyway, with the unsaved changes in a rescue file beside the list, "
                           "where there is room for one?")
                .arg(quitText),
        {},
        {{QMessageBox::NoButton, QStringLiteral("Try Again"), QMessageBox::AcceptRole, "retry", std::move(retry), true},
         {QMessageBox::NoButton, QStringLiteral("%1 Anyway").arg(quitText), QMessageBox::DestructiveRole, "quitAnyway",
          std::move(quitAnyway)},
         {QMessageBox::Cancel}});
}

void AppController::quit()
{
    ListStore *store = unwritten();
    if (!store) {
        exit();
        return;
    }
    lossAlert(
        *store, QStringLiteral("Quit"),
        [this, store] {
            store->retrySave();
            store->flush();
            quit();
        },
        [this] {
            rescueUnwritten();
            exit();
        })
        ->open();
}

void AppController::endSession()
{
    rescueUnwritten();
    // Without closing the windows: an open edit's question would wait for an answer that never comes.
    QCoreApplication::exit(0);
}

void AppController::exit()
{
    // Closes every window first, each of which may still refuse (an edit not saved); sent at once.
    m_quitting = true;
    QCoreApplication::quit();
    m_quitting = false;
}

#if QT_CONFIG(sessionmanager)
void AppController::commitData(QSessionManager &manager)
{
    for (ListStore *store = unwritten(); store; store = unwritten()) {
        store->retrySave();
        if (store->flush())
            continue;
        // Asked only where the desktop lets the user answer; else kept in a rescue file at once.
        if (!manager.allowsInteraction())
            break;
        const std::unique_ptr<QMessageBox> alert(lossAlert(*store, QStringLiteral("Log Out"), {}, {}));
        alert->setAttribute(Qt::WA_DeleteOnClose, false);
        alert->exec();
        manager.release();
        const QString chosen = alert->clickedButton() ? alert->clickedButton()->objectName() : QString();
        if (chosen == u"quitAnyway")
            break;
        if (chosen != u"retry") {
            manager.cancel();
            return;
        }
    }
    rescueUnwritten();
}
#endif
