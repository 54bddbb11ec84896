#include "libraryimport.h"

#include <QStringList>

#include <algorithm>

namespace LibraryImport {

QString Outcome::summary() const
{
    QStringList parts{QStringLiteral("%1 added").arg(added), QStringLiteral("%1 already present").arg(present),
                      QStringLiteral("%1 replaced").arg(replaced)};
    if (kept > 0)
        parts << QStringLiteral("%1 kept as you had them").arg(kept);
    return parts.join(QStringLiteral(", "));
}

int conflicts(const QList<SavedCommand> &current, const QList<SavedCommand> &incoming)
{
    return int(std::ranges::count_if(incoming, [&current](const SavedCommand &in) {
        const auto mine = std::ranges::find(current, in.id, &SavedCommand::id);
        return mine != current.end() && !(*mine == in);
    }));
}

Outcome merge(const QList<SavedCommand> &current, const QList<SavedCommand> &incoming, Conflict choice)
{
    Outcome outcome;
    QList<SavedCommand> mine = current;
    QList<SavedCommand> added;
    for (const SavedCommand &in : incoming) {
        if (std::ranges::find(added, in.id, &SavedCommand::id) != added.end()) {
            ++outcome.present;
            continue;
        }
        const auto found = std::ranges::find(mine, in.id, &SavedCommand::id);
        if (found == mine.end()) {
            added << in;
            ++outcome.added;
        } else if (*found == in) {
            ++outcome.present;
        } else if (choice == Conflict::takeTheirs) {
            *found = in;
            ++outcome.replaced;
        } else if (choice == Conflict::keepBoth) {
            SavedCommand copy = in;
            copy.id = QUuid::createUuid();
            added << copy;
            ++outcome.added;
        } else {
            ++outcome.kept;
        }
    }
    outcome.commands = added + mine;
    return outcome;
}

} // namespace LibraryImport
