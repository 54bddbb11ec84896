#include "mainwindow.h"

#include "common/icons.h"
#include "contentview.h"

#include <QApplication>
#include <QMenuBar>
#include <QScreen>

MainWindow::MainWindow(const Stores &stores, NavigationState &nav, QAction *helpCommand, QAction *quitCommand,
                       QWidget *parent)
    : QMainWindow(parent)
    , m_content(new ContentView(stores, nav, this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Brindlecap Builder"));
    setWindowIcon(Icons::application());
    setCentralWidget(m_content);
    setMinimumSize(900, 620);
    // Where the screen allows: the window manager would cut it otherwise.
    resize(screen() ? defaultSize.boundedTo(screen()->availableSize() - QSize(0, 48)) : defaultSize);

    // No New Window item: one main window shows the one navigation state.
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addAction(quitCommand);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    help->addAction(helpCommand);
}
