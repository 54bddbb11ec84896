#include "debugchecks.h"

#include "checkcolumn.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include <utility>

namespace DebugChecks {

namespace {
Pair addPair(CheckColumn *column, const QString &timestampsLabel, bool &timestamps, bool &includeStopBlock, int indent,
             const QString &suffix)
{
    return {column->addCheck(QStringLiteral("timestamps") + suffix, timestampsLabel, timestamps, indent),
            column->addCheck(QStringLiteral("includeStopBlock") + suffix, QStringLiteral("Append stop-debug block"),
                             includeStopBlock, indent)};
}
} // namespace

Pair add(CheckColumn *column, bool &timestamps, bool &includeStopBlock)
{
    return addPair(column, QStringLiteral("Enable console timestamps"), timestamps, includeStopBlock, 0, QString());
}

Pair addIndented(CheckColumn *column, bool &timestamps, bool &includeStopBlock, const QString &suffix)
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
