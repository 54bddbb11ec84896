#pragma once

#include "formfield.h"

#include <QString>

struct RoutingForm {
    enum class RouteProto { ospf, bgp, staticR };

    RouteProto proto = RouteProto::ospf;
    bool ospfNeighbors = true;
    bool ospfStatus = true;
    bool ospfInterface = false;
    bool ospfDatabase = false;
    bool ospfRoutes = true;
    bool ospfDebug = false;
    bool bgpSummary = true;
    QString bgpNeighborIP;
    bool bgpNeighborRoutes = false;
    bool bgpAdvertisedRoutes = false;
    bool bgpNetwork = false;
    bool bgpDebug = false;
    bool staticAll = false;
    bool staticStatic = true;
    QString staticDetailsIP;
    bool staticDatabase = false;
    bool staticPBR = false;
    bool timestamps = true;
    bool includeStopBlock = true;

    QString generatedCommand() const;
    QString title() const;

    static const QList<FormField<RoutingForm>> &fields();
};

struct RouteProtoInfo {
    std::string_view panelTitle;
    std::string_view groupTitle;
};

template <> struct EnumTraits<RoutingForm::RouteProto> {
    using R = RoutingForm::RouteProto;
    using Case = EnumCase<R, RouteProtoInfo>;
    static constexpr std::array cases = {
        Case{R::ospf, "ospf", "OSPF", {"OSPF Routing", "OSPF"}},
        Case{R::bgp, "bgp", "BGP", {"BGP Routing", "BGP"}},
        Case{R::staticR, "staticR", "Static", {"Static Routing", "Static / RIB"}},
    };
};
