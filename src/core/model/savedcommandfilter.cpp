#include "savedcommandfilter.h"

#include "text.h"

#include <array>

namespace SavedCommandFilter {

QString query(const QString &searchText)
{
    return Text::trimmed(searchText).toLower();
}

Key key(const SavedCommand &command)
{
    static const auto categories = [] {
        std::array<QString, EnumTraits<DebugCategory>::cases.size()> lowered;
        for (DebugCategory c : Enum::allCases<DebugCategory>())
            lowered.at(std::size_t(c)) = Category::title(c).toLower();
        return lowered;
    }();
    return {command.title.toLower(), command.command.toLower(), command.notes.toLower(),
            categories.at(std::size_t(command.category))};
}

bool matches(const Key &key, const QString &query)
{
    return query.isEmpty() || key.title.contains(query) || key.command.contains(query) || key.notes.contains(query) ||
           key.category.contains(query);
}

bool matches(const SavedCommand &command, const QString &query)
{
    return matches(key(command), query);
}

} // namespace SavedCommandFilter
