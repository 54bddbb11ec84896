#pragma once

#include "savedcommand.h"

#include <QString>

// The search of the saved-command browser. The query is the search text with white space trimmed
// (Text::trimmed) and lower-cased; a command passes when the query occurs in its title, its command
// text, its notes or its category's title, each lower-cased. An empty query passes everything.
namespace SavedCommandFilter {

// The lower-cased texts of one command, computed once per command so that a keystroke only searches.
struct Key {
    QString title;
    QString command;
    QString notes;
    QString category;
};

QString query(const QString &searchText);
Key key(const SavedCommand &command);
// query must come from query().
bool matches(const Key &key, const QString &query);
bool matches(const SavedCommand &command, const QString &query);

} // namespace SavedCommandFilter
