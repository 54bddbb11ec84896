#include "vpnview.h"

#include "checkcolumn.h"
#include "formgrid.h"

VPNView::VPNView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::vpn, store, parent)
{
    addHeader(QStringLiteral("IPsec VPN Troubleshooting"),
              QStringLiteral("Generate IPsec tunnel status and IKE debug sequences."));

    auto *filters = addGrid(QStringLiteral("Filters"));
    filters->addText(QStringLiteral("gatewayName"), QStringLiteral("Phase 1 / Gateway name:"),
                     QStringLiteral("e.g. HQ-to-Branch"), m_form.gatewayName);
    filters->addText(QStringLiteral("tunnelName"), QStringLiteral("Phase 2 / Tunnel name:"),
                     QStringLiteral("e.g. HQ-to-Branch_P2"), m_form.tunnelName);
    filters->addText(QStringLiteral("peerIP"), QStringLiteral("Peer IPv4:"), QStringLiteral("e.g. 203.0.113.5"),
                     m_form.peerIP);
    // Starts filled with "-1"; the placeholder shows once the user clears it.
    filters->addText(QStringLiteral("ikeDebugLevel"), QStringLiteral("IKE debug level:"),
                     QStringLiteral("default -1 (all)"), m_form.ikeDebugLevel);

    auto *options = addChecks(QStringLiteral("Options"));
    options->addCheck(QStringLiteral("showTunnelStatus"), QStringLiteral("Show tunnel / gateway status first"),
                      m_form.showTunnelStatus);
    options->addCheck(QStringLiteral("timestamps"), QStringLiteral("Enable console timestamps"), m_form.timestamps);
    options->addCheck(QStringLiteral("includeStopBlock"), QStringLiteral("Append stop-debug block"),
                      m_form.includeStopBlock);
}
