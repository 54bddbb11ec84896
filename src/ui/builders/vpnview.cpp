#include "vpnview.h"

#include "checkcolumn.h"
#include "debugchecks.h"
#include "formgrid.h"

VPNView::VPNView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::vpn, store, parent)
{
    addHeader(QStringLiteral("IPsec VPN Troubleshooting"),
              QStringLiteral("Generate IPsec tunnel status and IKE debug sequences."));

    auto *filters = addGrid(QStringLiteral("Filters"));
    filters->addText(field(&VPNForm::gatewayName), QStringLiteral("Phase 1 / Gateway name:"),
                     QStringLiteral("e.g. HQ-to-Branch"));
    filters->addText(field(&VPNForm::tunnelName), QStringLiteral("Phase 2 / Tunnel name:"),
                     QStringLiteral("e.g. HQ-to-Branch_P2"));
    filters->addText(field(&VPNForm::peerIP), QStringLiteral("Peer IPv4:"), QStringLiteral("e.g. 203.0.113.5"));
    // Starts filled with "-1"; the placeholder shows once the user clears it.
    filters->addText(field(&VPNForm::ikeDebugLevel), QStringLiteral("IKE debug level:"),
                     QStringLiteral("default -1 (all)"));

    auto *options = addChecks(QStringLiteral("Options"));
    options->addCheck(field(&VPNForm::showTunnelStatus), QStringLiteral("Show tunnel / gateway status first"));
    DebugChecks::add(options, field(&VPNForm::timestamps), field(&VPNForm::includeStopBlock));
}
