#pragma once

#include <QMainWindow>
#include <QSize>

#include "common/stores.h"

class ContentView;
class NavigationState;
class QAction;

// The main window: the content view with the File and Help menus.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // quitCommand and helpCommand are the application's, shared with its other windows.
    MainWindow(const Stores &stores, NavigationState &nav, QAction *helpCommand, QAction *quitCommand,
               QWidget *parent = nullptr);

    ContentView *content() const { return m_content; }
    // Tall enough for the tallest form with its Generated Command panel.
    static constexpr QSize defaultSize{1100, 1090};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    ContentView *m_content;
    QWidget *m_notices;
};
