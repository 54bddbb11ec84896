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
    status->addCheck(QStringLiteral("showStatus"),
                     QStringLiteral("HA status (`get system ha status`, `diagnose sys ha status`)"), m_form.showStatus);
    status->addCheck(QStringLiteral("showChecksum"),
                     QStringLiteral("Cluster checksum (`diagnose sys ha checksum cluster`)"), m_form.showChecksum);
    status->addCheck(QStringLiteral("showNonSync"), QStringLiteral("Global / root config checksums"),
                     m_form.showNonSync);
    status->addCheck(QStringLiteral("showDump"), QStringLiteral("Full HA dump (all vcluster / group / vcluster)"),
                     m_form.showDump);

    auto *actions = new FormColumn(QStringLiteral("Actions"), changeHandler(), 8);
    actions->addCheck(QStringLiteral("syncAll"), QStringLiteral("Force full sync (`execute ha synchronize all`)"),
                      m_form.syncAll);
    actions->addCheck(QStringLiteral("resetUptime"), QStringLiteral("Reset HA uptime (may trigger failover)"),
                      m_form.resetUptime);
    actions->addDivider(4)->setObjectName(QStringLiteral("actionsDivider"));
    actions->addCaption(QStringLiteral("Manage another unit (`execute ha manage`):"), 0.85)
        ->setObjectName(QStringLiteral("manageCaption"));
    FormGrid *manage = actions->addGrid();
    manage->addText(QStringLiteral("manageIndex"), QStringLiteral("Unit index:"), QStringLiteral("e.g. 1"),
                    m_form.manageIndex, 120);
    manage->addText(QStringLiteral("manageAdmin"), QStringLiteral("Admin user:"),
                    QStringLiteral("optional, e.g. admin"), m_form.manageAdmin, 200);
    addBlock(actions);

    auto *debug = addChecks(QStringLiteral("Live Debug"));
    debug->addCheck(QStringLiteral("debugHatalk"), QStringLiteral("hatalk (HA heartbeat)"), m_form.debugHatalk);
    debug->addCheck(QStringLiteral("debugHasync"), QStringLiteral("hasync (config sync)"), m_form.debugHasync);
    DebugChecks::add(debug, m_form.timestamps, m_form.includeStopBlock);
}
