#pragma once

#include <QMainWindow>
#include <QScreen>
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
    // The default where the screen allows: the window manager would cut it otherwise.
    static QSize firstSize(const QScreen *screen)
    {
        return screen ? defaultSize.boundedTo(screen->availableSize() - QSize(0, 48)) : defaultSize;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    ContentView *m_content;
    QWidget *m_notices;
};
