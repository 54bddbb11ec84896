#pragma once

#include <QAction>
#include <QObject>
#include <QPointer>

#include <memory>

class CommandStore;
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
    // Quits, unless a list could not be written: then the user chooses between trying again and
    // losing the changes.
    void quit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The main window's size and place, kept between runs.
    std::unique_ptr<QSettings> geometryStore() const;
    void saveGeometry();

    std::unique_ptr<SettingsStorage> m_storage;
    std::unique_ptr<CommandStore> m_store;
    std::unique_ptr<InterfaceStore> m_interfaces;
    std::unique_ptr<NavigationState> m_nav;
    HelpMenuCommand *m_helpCommand;
    QAction *m_quitCommand;
    QAction *m_openCommand;
    QPointer<MainWindow> m_mainWindow;
    QPointer<HelpWindow> m_helpWindow;
};
