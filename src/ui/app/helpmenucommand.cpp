#include "helpmenucommand.h"

HelpMenuCommand::HelpMenuCommand(QObject *parent)
    : QAction(QStringLiteral("Brindlecap Builder Help"), parent)
{
    setObjectName(QStringLiteral("helpCommand"));
    setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Question), QKeySequence(QKeySequence::HelpContents)});
    setShortcutContext(Qt::ApplicationShortcut);
    setMenuRole(QAction::NoRole);
}
