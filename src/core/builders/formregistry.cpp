#include "formregistry.h"

#include "flowform.h"
#include "haform.h"
#include "pingform.h"
#include "routingform.h"
#include "sessionform.h"
#include "snifferform.h"
#include "systemtopform.h"
#include "tracerouteform.h"
#include "vpnform.h"

namespace FormRegistry {

QList<DebugCategory> builderCategories()
{
    QList<DebugCategory> result;
    for (DebugCategory c : Enum::allCases<DebugCategory>()) {
        if (create(c))
            result.append(c);
    }
    return result;
}

std::unique_ptr<AnyForm> create(DebugCategory category)
{
    switch (category) {
    case DebugCategory::session:
        return std::make_unique<AnyFormOf<SessionForm>>();
    case DebugCategory::ping:
        return std::make_unique<AnyFormOf<PingForm>>();
    case DebugCategory::traceroute:
        return std::make_unique<AnyFormOf<TracerouteForm>>();
    case DebugCategory::flow:
        return std::make_unique<AnyFormOf<FlowForm>>();
    case DebugCategory::vpn:
        return std::make_unique<AnyFormOf<VPNForm>>();
    case DebugCategory::top:
        return std::make_unique<AnyFormOf<SystemTopForm>>();
    case DebugCategory::ha:
        return std::make_unique<AnyFormOf<HAForm>>();
    case DebugCategory::routing:
        return std::make_unique<AnyFormOf<RoutingForm>>();
    case DebugCategory::sniffer:
        return std::make_unique<AnyFormOf<SnifferForm>>();
    default:
        return nullptr;
    }
}

} // namespace FormRegistry
