#include "routingview.h"

#include "formcolumn.h"
#include "segmentedpicker.h"
#include "text.h"

#include <QCheckBox>

namespace {
QString groupTitle(RoutingForm::RouteProto proto)
{
    return Enum::detail::fromUtf8(Enum::payload(proto).groupTitle);
}
} // namespace

RoutingView::RoutingView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::routing, store, parent)
{
    addHeader(QStringLiteral("Routing"),
              QStringLiteral("Generate command sets for OSPF, BGP, and static / policy-based routing."));
    addBlock(
        SegmentedPicker::create(QStringLiteral("proto"), QStringLiteral("Protocol"), m_form.proto, changeHandler()));

    m_ospf = new FormColumn(groupTitle(RouteProto::ospf), changeHandler(), 4);
    m_ospf->addCheck(QStringLiteral("ospfStatus"), QStringLiteral("Show OSPF status"), m_form.ospfStatus);
    m_ospf->addCheck(QStringLiteral("ospfNeighbors"), QStringLiteral("Show OSPF neighbors"), m_form.ospfNeighbors);
    m_ospf->addCheck(QStringLiteral("ospfInterface"), QStringLiteral("Show OSPF interfaces"), m_form.ospfInterface);
    m_ospf->addCheck(QStringLiteral("ospfDatabase"), QStringLiteral("Show LSDB (database)"), m_form.ospfDatabase);
    m_ospf->addCheck(QStringLiteral("ospfRoutes"), QStringLiteral("Show OSPF routes in RIB"), m_form.ospfRoutes);
    m_ospf->addDivider();
    m_ospf->addCheck(QStringLiteral("ospfDebug"), QStringLiteral("Enable live OSPF debug"), m_form.ospfDebug);
    m_ospfOptions = DebugChecks::addIndented(m_ospf, m_form.timestamps, m_form.includeStopBlock);
    addBlock(m_ospf);

    m_bgp = new FormColumn(groupTitle(RouteProto::bgp), changeHandler(), 8);
    m_bgp->addCheck(QStringLiteral("bgpSummary"), QStringLiteral("BGP summary"), m_form.bgpSummary);
    m_bgp->addText(QStringLiteral("bgpNeighborIP"), QStringLiteral("Neighbor IP:"), QStringLiteral("e.g. 10.0.0.1"),
                   m_form.bgpNeighborIP, 220);
    m_bgpNeighborRoutes =
        m_bgp->addCheck(QStringLiteral("bgpNeighborRoutes"), QStringLiteral("Show routes received from neighbor"),
                        m_form.bgpNeighborRoutes);
    m_bgpAdvertisedRoutes =
        m_bgp->addCheck(QStringLiteral("bgpAdvertisedRoutes"), QStringLiteral("Show routes advertised to neighbor"),
                        m_form.bgpAdvertisedRoutes);
    m_bgp->addCheck(QStringLiteral("bgpNetwork"), QStringLiteral("Show locally originated networks"),
                    m_form.bgpNetwork);
    m_bgp->addDivider();
    m_bgp->addCheck(QStringLiteral("bgpDebug"), QStringLiteral("Enable live BGP debug"), m_form.bgpDebug);
    // The same two flags as in the OSPF box, under names of their own.
    m_bgpOptions = DebugChecks::addIndented(m_bgp, m_form.timestamps, m_form.includeStopBlock, QStringLiteral("Bgp"));
    addBlock(m_bgp);

    m_static = new FormColumn(groupTitle(RouteProto::staticR), changeHandler(), 8);
    m_static->addCheck(QStringLiteral("staticStatic"), QStringLiteral("Show static routes"), m_form.staticStatic);
    m_static->addCheck(QStringLiteral("staticAll"), QStringLiteral("Show full routing-table"), m_form.staticAll);
    m_static->addCheck(QStringLiteral("staticDatabase"), QStringLiteral("Show routing-table database"),
                       m_form.staticDatabase);
    m_static->addCheck(QStringLiteral("staticPBR"), QStringLiteral("Show policy-based routes (proute)"),
                       m_form.staticPBR);
    m_static->addDivider();
    m_static->addText(QStringLiteral("staticDetailsIP"), QStringLiteral("Lookup destination:"),
                      QStringLiteral("optional IP to resolve"), m_form.staticDetailsIP, 220);
    addBlock(m_static);

    refresh();
}

void RoutingView::formChanged()
{
    m_ospf->setVisible(m_form.proto == RouteProto::ospf);
    m_bgp->setVisible(m_form.proto == RouteProto::bgp);
    m_static->setVisible(m_form.proto == RouteProto::staticR);

    // Each pair follows the flags, whichever box changed them last.
    DebugChecks::follow(m_ospf, m_ospfOptions, m_form.ospfDebug, m_form.timestamps, m_form.includeStopBlock);
    DebugChecks::follow(m_bgp, m_bgpOptions, m_form.bgpDebug, m_form.timestamps, m_form.includeStopBlock);

    // The per-neighbour views need an address; their ticks are kept for when one is typed again.
    const bool hasNeighbor = Text::isNonBlank(m_form.bgpNeighborIP);
    m_bgpNeighborRoutes->setEnabled(hasNeighbor);
    m_bgpAdvertisedRoutes->setEnabled(hasNeighbor);
}
