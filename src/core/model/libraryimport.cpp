#include "libraryimport.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include "text.h"

#include <tuple>

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

QList<std::pair<SavedCommand, SavedCommand>> conflicts(const QList<SavedCommand> &current,
                                                       const QList<SavedCommand> &incoming)
{
    const QHash<QUuid, qsizetype> index = firstIndex(current);
    QList<std::pair<SavedCommand, SavedCommand>> found;
    for (const SavedCommand &in : incoming) {
        const auto mine = index.constFind(in.id);
        if (mine != index.cend() && !(current.at(*mine) == in))
            found.append({current.at(*mine), in});
    }
    return found;
}

QString differences(const SavedCommand &mine, const SavedCommand &theirs)
{
    QStringList lines;
    const auto block = [](const QString &text) {
        return text.isEmpty() ? QStringLiteral("    (none)")
                              : QStringLiteral("    ") +
                                    Text::escaped(text).replace(QStringLiteral("\\n"), QStringLiteral("\n    "));
    };
    if (mine.title != theirs.title)
        lines << QStringLiteral("Title: %1 \u2192 %2").arg(Text::quoted(mine.title), Text::quoted(theirs.title));
    if (mine.category != theirs.category)
        lines << QStringLiteral("Category: %1 \u2192 %2")
                     .arg(Category::title(mine.category), Category::title(theirs.category));
    for (const auto &[name, a, b] :
         {std::tuple{"Command", mine.command, theirs.command}, std::tuple{"Notes", mine.notes, theirs.notes}}) {
        if (a != b)
            lines << QStringLiteral("%1, yours:").arg(QLatin1String(name)) << block(a)
                  << QStringLiteral("%1, imported:").arg(QLatin1String(name)) << block(b);
    }
    if (mine.createdAt != theirs.createdAt)
        lines << QStringLiteral("Saved at another time");
    return lines.join(u'\n');
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
