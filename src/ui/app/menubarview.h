#pragma once

#include "model/debugcategory.h"

#include <QObject>

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

    explicit MenuBarView(AppController &controller, QObject *parent = nullptr);
    ~MenuBarView() override;

    // Called once the main window is shown. Where the desktop has a tray: the tray icon, shown, and the
    // application kept running while no window is open. Elsewhere: no icon, and closing the main
    // window ends the application (also while the help window is open), as nothing could bring the
    // main window back.
    static std::unique_ptr<MenuBarView> attach(AppController &controller, bool trayAvailable);

    QMenu *menu() const { return m_menu; }
    QSystemTrayIcon *trayIcon() const { return m_tray; }
    void show();

private:
    void rebuild();
    void addRecentCommands();
    void openCategory(DebugCategory category);

    AppController &m_controller;
    QMenu *m_menu;
    QSystemTrayIcon *m_tray;
};
