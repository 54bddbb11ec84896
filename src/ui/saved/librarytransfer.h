#pragma once

#include "model/savedcommand.h"

#include <QList>

class CommandStore;
class QWidget;

// The whole library in and out of a file, in exactly the stored format (so an export is also a
// backup). Shared by the File menu and the Saved Commands view.
namespace LibraryTransfer {

// Asks where, proposing saved-commands-YYYY-MM-DD.json, and writes commands atomically; a failure is
// shown. Returns the path written, or an empty string.
QString exportCommands(QWidget *parent, const QList<SavedCommand> &commands);

// Asks for a file, checks every entry before anything changes (a bad one is shown with its reason),
// asks once what to do when ids of the user's come with other content, merges in one change of the
// store and shows what happened. Every alert is window-modal and does not block the caller.
void importCommands(QWidget *parent, CommandStore &store);

} // namespace LibraryTransfer
