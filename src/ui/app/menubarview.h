#pragma once

#include "model/debugcategory.h"

#include <QObject>

#include <functional>
#include <memory>

class AppController;
class QMenu;
class QSystemTrayIcon;

// The tray icon ("terminal") and its menu: open the main window, start a new command of any category,
// copy or open one of the ten most recent saved commands, open the help, quit. The menu is rebuilt
// whenever the store changes. The menu exists even where the desktop has no tray, but the icon is
// only shown through show().
class MenuBarView : public QObject
{
    Q_OBJECT

public:
    static constexpr int recentCount = 10;
    static constexpr int trayPollMs = 1000;

    explicit MenuBarView(AppController &controller, QObject *parent = nullptr);
    ~MenuBarView() override;

    // Called once the main window is shown; the icon is shown at once, and appears whenever a tray
    // does (a desktop may start its tray after the applications of the session). While there is no
    // tray, closing the main window ends the application (also while the help window is open), as
    // nothing could bring it back; while there is one, the application keeps running while no window
    // is open. When the tray goes (its host ended), a closed main window is shown again.
    static std::unique_ptr<MenuBarView> attach(AppController &controller, std::function<bool()> trayAvailable);
    bool trayPresent() const { return m_trayPresent; }

    QMenu *menu() const { return m_menu; }
    QSystemTrayIcon *trayIcon() const { return m_tray; }
    void show();

protected:
    // The menu's items take their keys while the menu is open.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setTrayPresent(bool present);
    void rebuild();
    void keepMenusBehindVisible(QMenu *submenu);
    void addRecentCommands();
    void openCategory(DebugCategory category);

    AppController &m_controller;
    QMenu *m_menu;
    QSystemTrayIcon *m_tray;
    bool m_trayPresent = false;
};
