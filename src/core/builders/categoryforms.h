#pragma once

#include "flowform.h"
#include "haform.h"
#include "model/debugcategory.h"
#include "pingform.h"
#include "routingform.h"
#include "sessionform.h"
#include "snifferform.h"
#include "systemtopform.h"
#include "tracerouteform.h"
#include "vpnform.h"

#include <tuple>

// Every builder category with its form type, written once: the form registry (and through it the
// command line) and the desktop application's views are all made from this table.
namespace CategoryForms {

template <DebugCategory C, typename F> struct Entry {
    static constexpr DebugCategory category = C;
    using Form = F;
};

using Table = std::tuple<Entry<DebugCategory::session, SessionForm>, Entry<DebugCategory::ping, PingForm>,
                         Entry<DebugCategory::traceroute, TracerouteForm>, Entry<DebugCategory::sniffer, SnifferForm>,
                         Entry<DebugCategory::flow, FlowForm>, Entry<DebugCategory::vpn, VPNForm>,
                         Entry<DebugCategory::top, SystemTopForm>, Entry<DebugCategory::ha, HAForm>,
                         Entry<DebugCategory::routing, RoutingForm>>;

// Calls visit with each entry, in sidebar order.
template <typename Visit> void forEach(Visit &&visit)
{
    std::apply([&visit](auto... entries) { (visit(entries), ...); }, Table{});
}

} // namespace CategoryForms
