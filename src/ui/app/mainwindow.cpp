#include "mainwindow.h"

#include "model/commandstore.h"
#include "saved/librarytransfer.h"

#include "common/icons.h"
#include "common/style.h"
#include "contentview.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "storenotice.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

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
    // Shown only while a notice is: an empty area would still take its margins.
    m_notices = new QWidget(central);
    auto *notices = new QVBoxLayout(m_notices);
    notices->setContentsMargins(8, 4, 8, 4);
    notices->setSpacing(4);
    auto *commandNotice = new StoreNotice(stores.commands, m_notices);
    commandNotice->setObjectName(QStringLiteral("commandStoreNotice"));
    auto *interfaceNotice = new StoreNotice(stores.interfaces, m_notices);
    interfaceNotice->setObjectName(QStringLiteral("interfaceStoreNotice"));
    for (StoreNotice *notice : {commandNotice, interfaceNotice}) {
        notices->addWidget(notice);
        notice->installEventFilter(this);
    }
    m_notices->setVisible(!commandNotice->isHidden() || !interfaceNotice->isHidden());
    column->addWidget(m_notices);
    column->addWidget(m_content, 1);
    setCentralWidget(central);
    setMinimumSize(900, 620);
    resize(firstSize(screen()));

    // No New Window item: one main window shows the one navigation state.
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    CommandStore &store = stores.commands;
    file->addAction(QStringLiteral("&Export Saved Commands\u2026"), this,
                    [this, &store] { LibraryTransfer::exportCommands(this, store.commands()); })
        ->setObjectName(QStringLiteral("exportLibrary"));
    file->addAction(QStringLiteral("&Import Saved Commands\u2026"), this,
                    [this, &store] { LibraryTransfer::importCommands(this, store); })
        ->setObjectName(QStringLiteral("importLibrary"));
    file->addSeparator();
    QAction *close = file->addAction(QStringLiteral("&Close"), this, &QWidget::close);
    close->setObjectName(QStringLiteral("closeWindow"));
    close->setShortcuts(Style::closeKeys());
    addAction(close); // its key works with the menu closed
    file->addAction(quitCommand);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    help->addAction(helpCommand);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShowToParent)
        m_notices->show();
    else if (event->type() == QEvent::HideToParent)
        m_notices->setVisible(std::ranges::any_of(m_notices->findChildren<StoreNotice *>(),
                                                  [](const QWidget *notice) { return !notice->isHidden(); }));
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // An edit still open is the user's work: the window closes once they have answered for it.
    if (m_content->mayLeave([this] { close(); }))
        event->accept();
    else
        event->ignore();
}
