#include "libraryimport.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace LibraryImport {

namespace {
// Where each id first appears: the entry that a search from the top finds, in constant time.
QHash<QUuid, qsizetype> firstIndex(const QList<SavedCommand> &commands)
{
    QHash<QUuid, qsizetype> index;
    index.reserve(commands.size());
    for (qsizetype i = commands.size() - 1; i >= 0; --i)
        index.insert(commands.at(i).id, i);
    return index;
}
} // namespace

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
    const QHash<QUuid, qsizetype> index = firstIndex(current);
    return int(std::ranges::count_if(incoming, [&](const SavedCommand &in) {
        const auto mine = index.constFind(in.id);
        return mine != index.cend() && !(current.at(*mine) == in);
    }));
}

Outcome merge(const QList<SavedCommand> &current, const QList<SavedCommand> &incoming, Conflict choice)
{
    Outcome outcome;
    QList<SavedCommand> mine = current;
    const QHash<QUuid, qsizetype> index = firstIndex(mine);
    QList<SavedCommand> added;
    QSet<QUuid> addedIds;
    for (const SavedCommand &in : incoming) {
        if (addedIds.contains(in.id)) {
            ++outcome.present;
            continue;
        }
        const auto found = index.constFind(in.id);
        if (found == index.cend()) {
            added << in;
            addedIds.insert(in.id);
            ++outcome.added;
        } else if (mine.at(*found) == in) {
            ++outcome.present;
        } else if (choice == Conflict::takeTheirs) {
            mine[*found] = in;
            ++outcome.replaced;
        } else if (choice == Conflict::keepBoth) {
            SavedCommand copy = in;
            copy.id = QUuid::createUuid();
            added << copy;
            addedIds.insert(copy.id);
            ++outcome.added;
        } else {
            ++outcome.kept;
        }
    }
    outcome.commands = added + mine;
    return outcome;
}

} // namespace LibraryImport
