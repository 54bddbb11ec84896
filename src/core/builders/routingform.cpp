#include "routingform.h"

#include "commandlines.h"
#include "debugblocks.h"

namespace {

// The live debug section of a routing daemon ("ospf" or "bgp"), with its heading.
QStringList debugSection(const RoutingForm &f, const QString &heading, const QString &daemon)
{
    const QString router = QStringLiteral("diagnose ip router ") + daemon;
    QStringList lines = {QString(), heading};
    if (f.timestamps)
        lines << DebugBlocks::timestampsLine();
    lines << router + QStringLiteral(" all enable") << router + QStringLiteral(" level info")
          << DebugBlocks::enableLine();
    // The daemon's own debug switch stays on after "diagnose debug disable" unless turned off too.
    if (f.includeStopBlock)
        lines << DebugBlocks::stopBlock(router + QStringLiteral(" all disable"));
    return lines;
}

QStringList ospfLines(const RoutingForm &f)
{
    QStringList lines;
    if (f.ospfStatus)
        lines << QStringLiteral("get router info ospf status");
    if (f.ospfNeighbors)
        lines << QStringLiteral("get router info ospf neighbor");
    if (f.ospfInterface)
        lines << QStringLiteral("get router info ospf interface");
    if (f.ospfDatabase)
        lines << QStringLiteral("get router info ospf database");
    if (f.ospfRoutes)
        lines << QStringLiteral("get router info routing-table ospf");
    if (f.ospfDebug)
        lines << debugSection(f, QStringLiteral("# Live OSPF debug:"), QStringLiteral("ospf"));
    return lines;
}

QStringList bgpLines(const RoutingForm &f)
{
    QStringList lines;
    if (f.bgpSummary)
        lines << QStringLiteral("get router info bgp summary");
    // The per-neighbour views need an address; without one their flags are ignored.
    const QString neighbor = Text::trimmed(f.bgpNeighborIP);
    if (!neighbor.isEmpty()) {
        const QString neighbors = QStringLiteral("get router info bgp neighbors ") + neighbor;
        lines << neighbors;
        if (f.bgpNeighborRoutes)
            lines << neighbors + QStringLiteral(" routes");
        if (f.bgpAdvertisedRoutes)
            lines << neighbors + QStringLiteral(" advertised-routes");
    }
    if (f.bgpNetwork)
        lines << QStringLiteral("get router info bgp network");
    if (f.bgpDebug)
        lines << debugSection(f, QStringLiteral("# Live BGP debug:"), QStringLiteral("bgp"));
    return lines;
}

QStringList staticLines(const RoutingForm &f)
{
    QStringList lines;
    if (f.staticStatic)
        lines << QStringLiteral("get router info routing-table static");
    if (f.staticAll)
        lines << QStringLiteral("get router info routing-table all");
    if (f.staticDatabase)
        lines << QStringLiteral("get router info routing-table database");
    CommandLines::appendTrimmed(lines, QStringLiteral("get router info routing-table details "), f.staticDetailsIP);
    if (f.staticPBR)
        lines << QStringLiteral("diagnose firewall proute list") << QStringLiteral("diagnose firewall proute6 list");
    return lines;
}

} // namespace

QString RoutingForm::generatedCommand() const
{
    // Only the selected area's fields count; the others keep their values for when the user returns.
    switch (proto) {
    case RouteProto::ospf:
        return Text::joinLines(ospfLines(*this));
    case RouteProto::bgp:
        return Text::joinLines(bgpLines(*this));
    case RouteProto::staticR:
        return Text::joinLines(staticLines(*this));
    }
    return {};
}

QString RoutingForm::title() const
{
    return Enum::text(Enum::payload(proto).panelTitle);
}

const QList<FormField<RoutingForm>> &RoutingForm::fields()
{
    static const QList<FormField<RoutingForm>> table = {
        Fields::enumeration("proto", &RoutingForm::proto),
        Fields::flag("ospfNeighbors", &RoutingForm::ospfNeighbors),
        Fields::flag("ospfStatus", &RoutingForm::ospfStatus),
        Fields::flag("ospfInterface", &RoutingForm::ospfInterface),
        Fields::flag("ospfDatabase", &RoutingForm::ospfDatabase),
        Fields::flag("ospfRoutes", &RoutingForm::ospfRoutes),
        Fields::flag("ospfDebug", &RoutingForm::ospfDebug),
        Fields::flag("bgpSummary", &RoutingForm::bgpSummary),
        Fields::text("bgpNeighborIP", &RoutingForm::bgpNeighborIP, Advice::Expect::address),
        Fields::flag("bgpNeighborRoutes", &RoutingForm::bgpNeighborRoutes),
        Fields::flag("bgpAdvertisedRoutes", &RoutingForm::bgpAdvertisedRoutes),
        Fields::flag("bgpNetwork", &RoutingForm::bgpNetwork),
        Fields::flag("bgpDebug", &RoutingForm::bgpDebug),
        Fields::flag("staticAll", &RoutingForm::staticAll),
        Fields::flag("staticStatic", &RoutingForm::staticStatic),
        Fields::text("staticDetailsIP", &RoutingForm::staticDetailsIP, Advice::Expect::addressOrPrefix),
        Fields::flag("staticDatabase", &RoutingForm::staticDatabase),
        Fields::flag("staticPBR", &RoutingForm::staticPBR),
        Fields::flag("timestamps", &RoutingForm::timestamps),
        Fields::flag("includeStopBlock", &RoutingForm::includeStopBlock),
    };
    return table;
}
