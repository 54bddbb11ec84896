#include "debugchecks.h"

#include "checkcolumn.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include <utility>

namespace DebugChecks {

namespace {
Pair addPair(CheckColumn *column, const QString &timestampsLabel, FieldRef<bool> timestamps,
             FieldRef<bool> includeStopBlock, int indent, const QString &suffix)
{
    timestamps.name += suffix;
    includeStopBlock.name += suffix;
    return {column->addCheck(timestamps, timestampsLabel, indent),
            column->addCheck(includeStopBlock, QStringLiteral("Append stop-debug block"), indent)};
}
} // namespace

Pair add(CheckColumn *column, FieldRef<bool> timestamps, FieldRef<bool> includeStopBlock)
{
    return addPair(column, QStringLiteral("Enable console timestamps"), timestamps, includeStopBlock, 0, QString());
}

Pair addIndented(CheckColumn *column, FieldRef<bool> timestamps, FieldRef<bool> includeStopBlock, const QString &suffix)
{
    return addPair(column, QStringLiteral("Console timestamps"), timestamps, includeStopBlock, 20, suffix);
}

void follow(CheckColumn *column, const Pair &pair, bool shown, bool timestamps, bool includeStopBlock)
{
    const std::pair<QCheckBox *, bool> checks[] = {{pair.timestamps, timestamps},
                                                   {pair.includeStopBlock, includeStopBlock}};
    for (const auto &[check, value] : checks) {
        column->rowOf(check)->setVisible(shown);
        const QSignalBlocker blocker(check);
        check->setChecked(value);
    }
}

} // namespace DebugChecks
