#pragma once

#include "savedcommand.h"

#include <QList>
#include <QString>

// Merging a file of saved commands (an export, a colleague's library) into the user's by id.
namespace LibraryImport {

// What to do with an incoming command whose id is the user's with other content.
enum class Conflict { keepMine, takeTheirs, keepBoth };

struct Outcome {
    QList<SavedCommand> commands;
    int added = 0;
    int present = 0;
    int replaced = 0;
    int kept = 0;
    // "12 added, 3 already present, 1 replaced".
    QString summary() const;
};

// The user's command and the incoming one, for each incoming command with the id of one of current's
// and other content, in the file's order.
QList<std::pair<SavedCommand, SavedCommand>> conflicts(const QList<SavedCommand> &current,
                                                       const QList<SavedCommand> &incoming);
// What differs between the two versions, field by field, for the user to read: "Title: A → B", the
// command and notes each in full. Control characters are escaped.
QString differences(const SavedCommand &mine, const SavedCommand &theirs);

// New ids go on top, in the file's order; an identical command is skipped; a conflict follows choice
// (keepBoth gives the incoming command a new id). Within the file, the first of two equal ids counts.
Outcome merge(const QList<SavedCommand> &current, const QList<SavedCommand> &incoming, Conflict choice);

} // namespace LibraryImport
