#pragma once

#include "fieldref.h"

#include <QString>

class CheckColumn;
class QCheckBox;

// The two checkboxes that close every live-debug box: console timestamps and the stop-debug block,
// bound to the form's timestamps and includeStopBlock flags.
namespace DebugChecks {

struct Pair {
    QCheckBox *timestamps = nullptr;
    QCheckBox *includeStopBlock = nullptr;
};

// "Enable console timestamps" and "Append stop-debug block", as the last two rows of a debug box.
Pair add(CheckColumn *column, FieldRef<bool> timestamps, FieldRef<bool> includeStopBlock);

// "Console timestamps" and "Append stop-debug block", indented 20 points under a protocol's own debug
// checkbox. A form with a second pair bound to the same flags names it with a suffix
// ("timestampsBgp"); it keeps the pairs showing the flags' values (see follow()).
Pair addIndented(CheckColumn *column, FieldRef<bool> timestamps, FieldRef<bool> includeStopBlock,
                 const QString &suffix = {});

// Shows the pair's rows or hides them (their values are kept), and sets the checkboxes from the flags
// without counting that as an edit: the way a second pair catches up with a change made in the first.
void follow(CheckColumn *column, const Pair &pair, bool shown, bool timestamps, bool includeStopBlock);

} // namespace DebugChecks
