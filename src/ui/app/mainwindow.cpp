#include "mainwindow.h"

#include "common/icons.h"
#include "contentview.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "storenotice.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

MainWindow::MainWindow(const Stores &stores, NavigationState &nav, QAction *helpCommand, QAction *quitCommand,
                       QWidget *parent)
    : QMainWindow(parent)
    , m_content(new ContentView(stores, nav, this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Brindlecap Builder"));
    setWindowIcon(Icons::application());
    // The notices above the content, so that they show whichever category is chosen.
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto *notices = new QVBoxLayout;
    notices->setContentsMargins(8, 4, 8, 4);
    notices->setSpacing(4);
    auto *commandNotice = new StoreNotice(stores.commands, central);
    commandNotice->setObjectName(QStringLiteral("commandStoreNotice"));
    auto *interfaceNotice = new StoreNotice(stores.interfaces, central);
    interfaceNotice->setObjectName(QStringLiteral("interfaceStoreNotice"));
    notices->addWidget(commandNotice);
    notices->addWidget(interfaceNotice);
    column->addLayout(notices);
    column->addWidget(m_content, 1);
    setCentralWidget(central);
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    // An edit still open is the user's work: the window closes once they have answered for it.
    if (m_content->mayLeave([this] { close(); }))
        event->accept();
    else
        event->ignore();
}
