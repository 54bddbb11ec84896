#pragma once

#include "model/enumtable.h"

#include <QString>

// The help window's topics in sidebar order. The raw value is the sidebar title, the payload the
// symbol shown beside it (mapped to an icon by the UI, as for DebugCategory).
enum class HelpTopic {
    overview,
    workflow,
    sessions,
    ping,
    traceroute,
    sniffer,
    flow,
    vpn,
    top,
    ha,
    routing,
    saved,
    menuBar,
    shortcuts,
    about
};

template <> struct EnumTraits<HelpTopic> {
    using Case = EnumCase<HelpTopic, std::string_view>;
    static constexpr std::array cases = {
        Case{HelpTopic::overview, "overview", "Overview", "book"},
        Case{HelpTopic::workflow, "workflow", "Workflow & Output", "arrow.triangle.branch"},
        Case{HelpTopic::sessions, "sessions", "Sessions", "list.bullet.rectangle"},
        Case{HelpTopic::ping, "ping", "Ping", "dot.radiowaves.left.and.right"},
        Case{HelpTopic::traceroute, "traceroute", "Traceroute", "point.topleft.down.to.point.bottomright.curvepath"},
        Case{HelpTopic::sniffer, "sniffer", "Sniffer & BPF Builder", "waveform.badge.magnifyingglass"},
        Case{HelpTopic::flow, "flow", "Debug Flow", "arrow.left.arrow.right"},
        Case{HelpTopic::vpn, "vpn", "VPN (IPsec)", "lock.shield"},
        Case{HelpTopic::top, "top", "System Top", "speedometer"},
        Case{HelpTopic::ha, "ha", "HA", "arrow.triangle.2.circlepath"},
        Case{HelpTopic::routing, "routing", "Routing", "point.3.filled.connected.trianglepath.dotted"},
        Case{HelpTopic::saved, "saved", "Saved Commands", "bookmark"},
        Case{HelpTopic::menuBar, "menuBar", "Menu Bar", "menubar.rectangle"},
        Case{HelpTopic::shortcuts, "shortcuts", "Keyboard Shortcuts", "keyboard"},
        Case{HelpTopic::about, "about", "About", "info.circle"},
    };
};

namespace HelpTopics {
inline QString title(HelpTopic topic)
{
    return Enum::rawValue(topic);
}
inline QString symbol(HelpTopic topic)
{
    return Enum::text(Enum::payload(topic));
}
} // namespace HelpTopics
