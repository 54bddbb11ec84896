#include "menubarview.h"

#include "appcontroller.h"
#include "common/icons.h"
#include "helpmenucommand.h"
#include "mainwindow.h"
#include "model/commandstore.h"
#include "model/navigationstate.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {
// Menu texts treat "&" as a mnemonic marker; a title is shown as typed.
QString menuText(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

// A line that only informs: disabled, so it is drawn in the secondary colour and cannot be chosen.
void addInertLine(QMenu *menu, const QString &text)
{
    menu->addAction(menuText(text))->setEnabled(false);
}
} // namespace

MenuBarView::MenuBarView(AppController &controller, QObject *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_menu(new QMenu)
    , m_tray(new QSystemTrayIcon(Icons::symbol(QStringLiteral("terminal")), this))
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    m_menu->installEventFilter(this);
    m_tray->setToolTip(QStringLiteral("Brindlecap Builder"));
    m_tray->setContextMenu(m_menu);
    // A left click opens the same menu, as the menu-bar extra it stands for does.
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            m_menu->popup(QCursor::pos());
    });
    connect(&m_controller.store(), &CommandStore::changed, this, &MenuBarView::rebuild);
    rebuild();
}

MenuBarView::~MenuBarView()
{
    // The icon goes first, so that it never holds a menu that is gone.
    delete m_tray;
    delete m_menu;
}

std::unique_ptr<MenuBarView> MenuBarView::attach(AppController &controller, std::function<bool()> trayAvailable)
{
    auto view = std::make_unique<MenuBarView>(controller);
    view->show();
    // Nothing tells a widget application that a tray has started, or gone with its host: ask now and then.
    const auto follow = [view = view.get(), trayAvailable] { view->setTrayPresent(trayAvailable()); };
    auto *poll = new QTimer(view.get());
    connect(poll, &QTimer::timeout, view.get(), follow);
    poll->start(trayPollMs);
    follow();
    return view;
}

void MenuBarView::setTrayPresent(bool present)
{
    if (present == m_trayPresent)
        return;
    m_trayPresent = present;
    m_controller.setTrayPresent(present);
    // Without a tray nothing could bring a closed window back: it comes back now, with all it held.
    if (!present && (!m_controller.mainWindow() || !m_controller.mainWindow()->isVisible()))
        m_controller.showMainWindow();
}

bool MenuBarView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_menu && event->type() == QEvent::KeyPress) {
        const QKeySequence keys(static_cast<QKeyEvent *>(event)->keyCombination());
        for (QAction *action : m_menu->actions()) {
            if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == keys) {
                m_menu->close();
                action->trigger();
                return true;
            }
        }
    }
    if (event->type() == QEvent::Show && watched != m_menu) {
        if (auto *submenu = qobject_cast<QMenu *>(watched))
            keepMenusBehindVisible(submenu);
    }
    return QObject::eventFilter(watched, event);
}

void MenuBarView::keepMenusBehindVisible(QMenu *submenu)
{
    // From a tray in a screen's corner, a second level opens towards the screen's middle; Qt opens the
    // third to the right of it again, over the first. It goes on the same way as the second instead.
    auto *parent = qobject_cast<QMenu *>(submenu->parentWidget());
    if (!parent)
        return;
    const auto coversOneBehind = [parent](const QRect &place) {
        for (auto *menu = qobject_cast<QMenu *>(parent->parentWidget()); menu;
             menu = qobject_cast<QMenu *>(menu->parentWidget())) {
            if (menu->isVisible() && menu->geometry().intersects(place))
                return true;
        }
        return false;
    };
    QRect place = submenu->geometry();
    if (!coversOneBehind(place))
        return;
    place.moveRight(parent->geometry().left() - 1);
    if (place.left() >= submenu->screen()->availableGeometry().left() && !coversOneBehind(place))
        submenu->move(place.topLeft());
}

void MenuBarView::show()
{
    m_tray->show();
}

void MenuBarView::rebuild()
{
    // Submenus are children of the menu; clear() removes their entries but not the menus themselves.
    const auto submenus = m_menu->findChildren<QMenu *>(Qt::FindDirectChildrenOnly);
    m_menu->clear();
    qDeleteAll(submenus);

    QAction *open =
        m_menu->addAction(QStringLiteral("Open Brindlecap Builder"), this, [this] { m_controller.showMainWindow(); });
    open->setObjectName(QStringLiteral("openMainWindow"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    m_menu->addSeparator();

    QMenu *newCommand = m_menu->addMenu(QStringLiteral("New Command"));
    newCommand->setObjectName(QStringLiteral("newCommandMenu"));
    for (DebugCategory category : Enum::allCases<DebugCategory>()) {
        if (category == DebugCategory::saved)
            continue;
        newCommand->addAction(Icons::symbol(Category::icon(category)), menuText(Category::title(category)), this,
                              [this, category] { openCategory(category); });
    }
    m_menu->addSeparator();

    if (m_controller.store().commands().isEmpty())
        addInertLine(m_menu, QStringLiteral("No Saved Commands"));
    else
        addRecentCommands();
    m_menu->addSeparator();

    m_menu->addAction(m_controller.helpCommand());
    QAction *quit = m_menu->addAction(QStringLiteral("Quit Brindlecap Builder"), &m_controller, &AppController::quit);
    quit->setObjectName(QStringLiteral("quit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MenuBarView::addRecentCommands()
{
    QMenu *recent = m_menu->addMenu(QStringLiteral("Recent Saved Commands"));
    recent->setObjectName(QStringLiteral("recentMenu"));
    const QList<SavedCommand> &commands = m_controller.store().commands();
    for (qsizetype i = 0; i < std::min<qsizetype>(recentCount, commands.size()); ++i) {
        const SavedCommand &saved = commands.at(i);
        QMenu *entry = recent->addMenu(menuText(saved.title));
        entry->installEventFilter(this);
        entry->addAction(QStringLiteral("Copy to Clipboard"), this,
                         [text = saved.command] { QGuiApplication::clipboard()->setText(text); });
        entry->addAction(QStringLiteral("Open in Window"), this, [this] { openCategory(DebugCategory::saved); });
        entry->addSeparator();
        addInertLine(entry, Category::title(saved.category));
    }
    recent->addSeparator();
    recent->addAction(QStringLiteral("Manage Saved Commands\u2026"), this,
                      [this] { openCategory(DebugCategory::saved); });
}

void MenuBarView::openCategory(DebugCategory category)
{
    // Selecting the category already shown changes nothing, so its form keeps its values.
    m_controller.nav().setSelectedCategory(category);
    m_controller.showMainWindow();
}
