#include "routingview.h"

#include "formcolumn.h"
#include "segmentedpicker.h"
#include "text.h"

#include <QCheckBox>

namespace {
QString groupTitle(RoutingForm::RouteProto proto)
{
    return Enum::text(Enum::payload(proto).groupTitle);
}
} // namespace

RoutingView::RoutingView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::routing, store, parent)
{
    addHeader(QStringLiteral("Routing"),
              QStringLiteral("Generate command sets for OSPF, BGP, and static / policy-based routing."));
    addBlock(SegmentedPicker::create(field(&RoutingForm::proto), QStringLiteral("Protocol"), changeHandler()));

    m_ospf = new FormColumn(groupTitle(RouteProto::ospf), changeHandler(), 4);
    m_ospf->addCheck(field(&RoutingForm::ospfStatus), QStringLiteral("Show OSPF status"));
    m_ospf->addCheck(field(&RoutingForm::ospfNeighbors), QStringLiteral("Show OSPF neighbors"));
    m_ospf->addCheck(field(&RoutingForm::ospfInterface), QStringLiteral("Show OSPF interfaces"));
    m_ospf->addCheck(field(&RoutingForm::ospfDatabase), QStringLiteral("Show LSDB (database)"));
    m_ospf->addCheck(field(&RoutingForm::ospfRoutes), QStringLiteral("Show OSPF routes in RIB"));
    m_ospf->addDivider();
    m_ospf->addCheck(field(&RoutingForm::ospfDebug), QStringLiteral("Enable live OSPF debug"));
    m_ospfOptions =
        DebugChecks::addIndented(m_ospf, field(&RoutingForm::timestamps), field(&RoutingForm::includeStopBlock));
    addBlock(m_ospf);

    m_bgp = new FormColumn(groupTitle(RouteProto::bgp), changeHandler(), 8);
    m_bgp->addCheck(field(&RoutingForm::bgpSummary), QStringLiteral("BGP summary"));
    m_bgp->addText(field(&RoutingForm::bgpNeighborIP), QStringLiteral("Neighbor IP:"), QStringLiteral("e.g. 10.0.0.1"),
                   220);
    m_bgpNeighborRoutes =
        m_bgp->addCheck(field(&RoutingForm::bgpNeighborRoutes), QStringLiteral("Show routes received from neighbor"));
    m_bgpAdvertisedRoutes =
        m_bgp->addCheck(field(&RoutingForm::bgpAdvertisedRoutes), QStringLiteral("Show routes advertised to neighbor"));
    m_bgp->addCheck(field(&RoutingForm::bgpNetwork), QStringLiteral("Show locally originated networks"));
    m_bgp->addDivider();
    m_bgp->addCheck(field(&RoutingForm::bgpDebug), QStringLiteral("Enable live BGP debug"));
    // The same two flags as in the OSPF box, under names of their own.
    m_bgpOptions = DebugChecks::addIndented(m_bgp, field(&RoutingForm::timestamps),
                                            field(&RoutingForm::includeStopBlock), QStringLiteral("Bgp"));
    addBlock(m_bgp);

    m_static = new FormColumn(groupTitle(RouteProto::staticR), changeHandler(), 8);
    m_static->addCheck(field(&RoutingForm::staticStatic), QStringLiteral("Show static routes"));
    m_static->addCheck(field(&RoutingForm::staticAll), QStringLiteral("Show full routing-table"));
    m_static->addCheck(field(&RoutingForm::staticDatabase), QStringLiteral("Show routing-table database"));
    m_static->addCheck(field(&RoutingForm::staticPBR), QStringLiteral("Show policy-based routes (proute)"));
    m_static->addDivider();
    m_static->addText(field(&RoutingForm::staticDetailsIP), QStringLiteral("Lookup destination:"),
                      QStringLiteral("optional IP to resolve"), 220);
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
