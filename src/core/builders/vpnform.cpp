#include "vpnform.h"

#include "commandlines.h"
#include "debugblocks.h"

QString VPNForm::generatedCommand() const
{
    QStringList lines;
    if (showTunnelStatus) {
        // A blank name lists every gateway or tunnel rather than none.
        const QString gateways = QStringLiteral("diagnose vpn ike gateway list");
        const QString tunnels = QStringLiteral("diagnose vpn tunnel list");
        lines << (Text::isNonBlank(gatewayName) ? gateways + QStringLiteral(" name ") + gatewayName : gateways);
        lines << (Text::isNonBlank(tunnelName) ? tunnels + QStringLiteral(" name ") + tunnelName : tunnels);
        lines << QString();
    }
    lines << QStringLiteral("# Live IKE debug:");
    lines << QStringLiteral("diagnose vpn ike log filter clear");
    CommandLines::appendAsTyped(lines, QStringLiteral("diagnose vpn ike log filter name "), gatewayName);
    CommandLines::appendAsTyped(lines, QStringLiteral("diagnose vpn ike log filter dst-addr4 "), peerIP);
    if (timestamps)
        lines << DebugBlocks::timestampsLine();
    lines << QStringLiteral("diagnose debug application ike ") +
                 CommandLines::asTypedOr(ikeDebugLevel, QStringLiteral("-1"));
    lines << DebugBlocks::enableLine();
    if (includeStopBlock)
        lines << DebugBlocks::stopBlock();
    return Text::joinLines(lines);
}

QString VPNForm::title() const
{
    return QStringLiteral("IPsec VPN Debug");
}

const QList<FormField<VPNForm>> &VPNForm::fields()
{
    static const QList<FormField<VPNForm>> table = {
        Fields::text("gatewayName", &VPNForm::gatewayName, Advice::Expect::name),
        Fields::text("tunnelName", &VPNForm::tunnelName, Advice::Expect::name),
        Fields::text("peerIP", &VPNForm::peerIP, Advice::Expect::ipv4),
        Fields::text("ikeDebugLevel", &VPNForm::ikeDebugLevel, Advice::Expect::debugLevel),
        Fields::flag("timestamps", &VPNForm::timestamps),
        Fields::flag("includeStopBlock", &VPNForm::includeStopBlock),
        Fields::flag("showTunnelStatus", &VPNForm::showTunnelStatus),
    };
    return table;
}
