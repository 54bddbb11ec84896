#include "appcontroller.h"

#include "help/helpwindow.h"
#include "helpmenucommand.h"
#include "mainwindow.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "model/navigationstate.h"
#include "model/settingsstorage.h"
#include "storenotice.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

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
        m_mainWindow->restoreGeometry(geometryStore()->value(geometryKey).toByteArray());
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
    return std::make_unique<QSettings>(
        QFileInfo(m_storage->fileName()).dir().filePath(QStringLiteral("window-state.conf")), QSettings::IniFormat);
}

void AppController::saveGeometry()
{
    // Per screen set-up, as the saved geometry holds the screen it was on.
    geometryStore()->setValue(geometryKey, m_mainWindow->saveGeometry());
}

bool AppController::eventFilter(QObject *watched, QEvent *event)
{
    // The type first: while the window is being destroyed, it is no longer a MainWindow.
    if (event->type() == QEvent::Close && watched == m_mainWindow)
        saveGeometry();
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

void AppController::quit()
{
    ListStore *unwritten = nullptr;
    for (ListStore *store : {static_cast<ListStore *>(m_store.get()), static_cast<ListStore *>(m_interfaces.get())}) {
        if (!unwritten && !store->saveError().isEmpty())
            unwritten = store;
    }
    if (!unwritten) {
        QCoreApplication::quit();
        return;
    }
    // Quitting now loses what could not be written: the user chooses.
    auto *alert = new QMessageBox(QMessageBox::Warning, QStringLiteral("Brindlecap Builder"),
                                  StoreNotice::writeFailure(*unwritten) +
                                      QStringLiteral(" Quit anyway and lose the unsaved changes?"),
                                  QMessageBox::NoButton, m_mainWindow);
    alert->setObjectName(QStringLiteral("quitAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setTextFormat(Qt::PlainText);
    QPushButton *retry = alert->addButton(QStringLiteral("Try Again"), QMessageBox::AcceptRole);
    retry->setObjectName(QStringLiteral("retry"));
    QPushButton *quitAnyway = alert->addButton(QStringLiteral("Quit Anyway"), QMessageBox::DestructiveRole);
    quitAnyway->setObjectName(QStringLiteral("quitAnyway"));
    // Escape keeps the application running, so that the user can make room and come back.
    alert->addButton(QMessageBox::Cancel);
    alert->setDefaultButton(retry);
    connect(retry, &QPushButton::clicked, this, [this, unwritten] {
        unwritten->retrySave();
        unwritten->flush();
        quit();
    });
    connect(quitAnyway, &QPushButton::clicked, qApp, &QCoreApplication::quit);
    alert->open();
}
