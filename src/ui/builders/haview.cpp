#include "haview.h"

#include "checkcolumn.h"
#include "debugchecks.h"
#include "formcolumn.h"
#include "formgrid.h"
#include "singlelineedit.h"

#include <QFrame>
#include <QLabel>

HAView::HAView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::ha, store, parent)
{
    addHeader(QStringLiteral("HA Troubleshooting"),
              QStringLiteral("Inspect and debug FortiGate High Availability clusters."));

    auto *status = addChecks(QStringLiteral("Status Commands"));
    status->addCheck(field(&HAForm::showStatus),
                     QStringLiteral("HA status (`get system ha status`, `diagnose sys ha status`)"));
    status->addCheck(field(&HAForm::showChecksum),
                     QStringLiteral("Cluster checksum (`diagnose sys ha checksum cluster`)"));
    status->addCheck(field(&HAForm::showNonSync), QStringLiteral("Global / root config checksums"));
    status->addCheck(field(&HAForm::showDump), QStringLiteral("Full HA dump (all vcluster / group / vcluster)"));

    auto *actions = new FormColumn(QStringLiteral("Actions"), changeHandler(), 8);
    actions->addCheck(field(&HAForm::syncAll), QStringLiteral("Force full sync (`execute ha synchronize all`)"));
    actions->addCheck(field(&HAForm::resetUptime), QStringLiteral("Reset HA uptime (may trigger failover)"));
    actions->addDivider(4)->setObjectName(QStringLiteral("actionsDivider"));
    actions->addCaption(QStringLiteral("Manage another unit (`execute ha manage`):"), 0.85)
        ->setObjectName(QStringLiteral("manageCaption"));
    FormGrid *manage = actions->addGrid();
    manage->addText(field(&HAForm::manageIndex), QStringLiteral("Unit index:"), QStringLiteral("e.g. 1"), 120);
    manage->addText(field(&HAForm::manageAdmin), QStringLiteral("Admin user:"), QStringLiteral("optional, e.g. admin"),
                    200);
    addBlock(actions);

    auto *debug = addChecks(QStringLiteral("Live Debug"));
    debug->addCheck(field(&HAForm::debugHatalk), QStringLiteral("hatalk (HA heartbeat)"));
    debug->addCheck(field(&HAForm::debugHasync), QStringLiteral("hasync (config sync)"));
    DebugChecks::add(debug, field(&HAForm::timestamps), field(&HAForm::includeStopBlock));
}
