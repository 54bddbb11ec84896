#pragma once

#include <QAction>
#include <QGuiApplication>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class CommandStore;
class ListStore;
class QMessageBox;
class QSessionManager;
class HelpMenuCommand;
class InterfaceStore;
class HelpWindow;
class MainWindow;
class NavigationState;
class SettingsStorage;
class QSettings;

// Application-lifetime state and windows: the settings storage, the two stores of the user's lists,
// the navigation state, the main window and the single help window.
class AppController : public QObject
{
    Q_OBJECT

public:
    // An empty settingsFile means BRINDLECAP_SETTINGS or the per-user default.
    explicit AppController(const QString &settingsFile = {}, QObject *parent = nullptr);
    ~AppController() override;

    CommandStore &store() const { return *m_store; }
    InterfaceStore &interfaces() const { return *m_interfaces; }
    NavigationState &nav() const { return *m_nav; }
    HelpMenuCommand *helpCommand() const { return m_helpCommand; }
    // Quit (Ctrl+Q) and Open Brindlecap Builder (Ctrl+Shift+O), on their keys in every window.
    QAction *quitCommand() const { return m_quitCommand; }
    QAction *openCommand() const { return m_openCommand; }

    // Opens the main window, creating it if there is none, and brings it forward.
    MainWindow *showMainWindow();
    // Opens the help window, or brings the open one forward.
    HelpWindow *showHelp();

    MainWindow *mainWindow() const;
    HelpWindow *helpWindow() const;
    // Every way out of the application comes here. Quits, unless a list could not be written: then the
    // user chooses between trying again and quitting with what could not be written in a rescue file.
    void quit();
    // The session ends the application without asking (a signal, a logout that allows no question):
    // what could not be written is tried once more, then kept in a rescue file, and it quits.
    void endSession();
    // While there is no tray, closing the main window is quitting: nothing could bring it back.
    void setTrayPresent(bool present) { m_trayPresent = present; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The main window's size and place, kept between runs; none while its file cannot be read.
    std::unique_ptr<QSettings> geometryStore() const;
    void saveGeometry();
    // The first list with a change that could not be written; null when all are on disk.
    ListStore *unwritten() const;
    // Tries once more to write each list that failed, and keeps what still fails in a rescue file.
    void rescueUnwritten();
    // The question before quitting with a change not written: Try Again, Quit Anyway or Cancel.
    QMessageBox *lossAlert(ListStore &store, const QString &quitText, std::function<void()> retry,
                           std::function<void()> quitAnyway);
    void exit();
#if QT_CONFIG(sessionmanager)
    void commitData(QSessionManager &manager);
#endif

    std::unique_ptr<SettingsStorage> m_storage;
    std::unique_ptr<CommandStore> m_store;
    std::unique_ptr<InterfaceStore> m_interfaces;
    std::unique_ptr<NavigationState> m_nav;
    HelpMenuCommand *m_helpCommand;
    QAction *m_quitCommand;
    QAction *m_openCommand;
    QPointer<MainWindow> m_mainWindow;
    QPointer<HelpWindow> m_helpWindow;
    bool m_trayPresent = false;
    // Set while the application closes its windows to quit, so that closing the main window is not
    // taken for another request to quit.
    bool m_quitting = false;
};
