#pragma once

#include "enumtable.h"

#include <QString>

#include <optional>

// The ten categories of the sidebar, in sidebar order. The raw value is the title shown and the text
// stored in saved commands.
enum class DebugCategory { session, ping, traceroute, sniffer, flow, vpn, top, ha, routing, saved };

struct DebugCategoryInfo {
    std::string_view subtitle;
    std::string_view icon; // symbol name, mapped to an icon by the UI
};

template <> struct EnumTraits<DebugCategory> {
    using Case = EnumCase<DebugCategory, DebugCategoryInfo>;
    static constexpr std::array cases = {
        Case{DebugCategory::session, "session", "Sessions", {"diagnose sys session", "list.bullet.rectangle"}},
        Case{DebugCategory::ping, "ping", "Ping", {"exec ping-options / exec ping", "dot.radiowaves.left.and.right"}},
        Case{DebugCategory::traceroute,
             "traceroute",
             "Traceroute",
             {"exec traceroute-options / exec traceroute", "point.topleft.down.to.point.bottomright.curvepath"}},
        Case{DebugCategory::sniffer,
             "sniffer",
             "Sniffer",
             {"diagnose sniffer packet", "waveform.badge.magnifyingglass"}},
        Case{DebugCategory::flow, "flow", "Debug Flow", {"diagnose debug flow", "arrow.left.arrow.right"}},
        Case{DebugCategory::vpn, "vpn", "VPN", {"IPsec VPN", "lock.shield"}},
        Case{DebugCategory::top, "top", "System Top", {"diagnose sys top / performance", "speedometer"}},
        Case{DebugCategory::ha, "ha", "HA", {"High Availability", "arrow.triangle.2.circlepath"}},
        Case{DebugCategory::routing,
             "routing",
             "Routing",
             {"OSPF / BGP / Static", "point.3.filled.connected.trianglepath.dotted"}},
        Case{DebugCategory::saved, "saved", "Saved Commands", {"Your saved commands", "bookmark"}},
    };
};

namespace Category {
inline QString title(DebugCategory c)
{
    return Enum::rawValue(c);
}
inline QString subtitle(DebugCategory c)
{
    return Enum::text(Enum::payload(c).subtitle);
}
inline QString icon(DebugCategory c)
{
    return Enum::text(Enum::payload(c).icon);
}
inline std::optional<DebugCategory> fromRawValue(QStringView text)
{
    return Enum::fromRawValue<DebugCategory>(text);
}
} // namespace Category
