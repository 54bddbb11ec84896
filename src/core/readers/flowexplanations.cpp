#include "flowexplanations.h"

#include "flowtext.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

enum class Topic {
    implicitDeny,
    denyPolicy,
    localIn,
    localInPolicy,
    reversePath,
    noSession,
    sessionBlocked,
    asymmetric,
    ipsecSelector,
    saNotReady,
    replay,
    quota,
    iprope,
    otherDrop,
    unknownVerdict,
    allowed,
    localDelivery,
    ipsecIn,
    newSession,
    existingSession,
    inherited,
    vip,
    dnat,
    policyRoute,
    sdwanRule,
    snat,
    ipsecOut,
    inspection,
    offload,
};

struct Entry {
    Topic topic;
    std::string_view title;
    std::string_view text;
};

// The one table. %in, %out, %policy, %session, %direction, %src, %tunnel, %tunnelId, %from, %dnat, %snat,
// %route and %inspection stand for the trace's facts, or for a plain phrase where the trace lacks one.
constexpr std::array table{
    Entry{Topic::implicitDeny, "No policy matched (implicit deny)",
          "Policy 0 is the implicit deny at the end of the list: no policy from %in to %out matched this source, "
          "destination and service. Check that a policy exists for this pair of interfaces (or their zones) and "
          "that its addresses, service, schedule and users cover the packet; a wrong route gives a wrong outgoing "
          "interface, so check the route too."},
    Entry{Topic::denyPolicy, "Denied by %policy",
          "The first policy to match this packet denies it (%policy). Check the order of the policies "
          "from %in to %out and whether this one is meant to catch this source, destination and service."},
    Entry{Topic::localIn, "Refused by the FortiGate's local-in check",
          "The packet was addressed to the FortiGate itself and was refused on %in. Check that the service (ping, "
          "HTTPS, SSH, SNMP, ...) is enabled in the interface's administrative access, that the source is among "
          "the administrator's trusted hosts, and the local-in policies."},
    Entry{Topic::localInPolicy, "Refused by a local-in policy",
          "The packet was addressed to the FortiGate itself and local-in %policy refused it on %in. Check "
          "that local-in policy's source, destination, service and schedule; the other local-in policies and the "
          "interface's administrative access come into play once it no longer matches."},
    Entry{Topic::reversePath, "Reverse-path check failed",
          "The FortiGate has no route back to %src through %in, the interface the packet came in on, so it "
          "treats the packet as spoofed. Add or correct the route to the source through that interface (a "
          "default route through it is enough unless strict source checking is on), or fix the asymmetric path "
          "that brought the packet here."},
    Entry{Topic::noSession, "No session for this packet",
          "A TCP packet other than a SYN arrived and no session matches it, so it was dropped. The session has "
          "probably expired or been cleared, or the connection's first packets took another path; check the "
          "routing in both directions and the session's timeout."},
    Entry{Topic::sessionBlocked, "The session is blocked",
          "The packet belongs to session %session, which the FortiGate has marked as blocked, typically after a "
          "change of route or policy made it invalid. Check what changed for this traffic; once the session is "
          "cleared or times out, the next packet builds a new one."},
    Entry{Topic::asymmetric, "Reply on another interface (asymmetric route)",
          "A packet of this session would leave by another interface than the session was set up with, which "
          "means the traffic does not take the same path both ways. Check the routes to both ends; allowing "
          "asymmetric routing in the VDOM's settings is a last resort, as it weakens inspection."},
    Entry{Topic::ipsecSelector, "No IPsec selector covers the traffic",
          "The packet was routed into tunnel %tunnel, but no phase-2 selector covers its source and destination, "
          "so it was dropped. Compare the phase-2 selectors on both sides with the addresses the packet carries "
          "at this point, after any source NAT on the policy into the tunnel."},
    Entry{Topic::saNotReady, "The IPsec tunnel is not up yet",
          "No phase-2 security association was ready for tunnel %tunnel; the first packet usually starts the "
          "negotiation and is dropped. If it keeps happening, check the state of phase 1 and phase 2 in the IPsec "
          "monitor and the IKE debug output."},
    Entry{Topic::replay, "Anti-replay check failed",
          "The packet's TCP sequence number is not what session %session expects, so the anti-replay check "
          "dropped it; typical causes are asymmetric routing, or a device on the path that rewrites sequence "
          "numbers. Check that both directions pass this FortiGate before relaxing the anti-replay setting."},
    Entry{Topic::quota, "Traffic-shaping quota exceeded",
          "A traffic shaper or quota that applies to this traffic was used up and the packet was dropped. Check "
          "the shaping policies and the shapers' maximum and per-address limits, and their drop counters."},
    Entry{Topic::iprope, "A policy group check dropped it",
          "A policy lookup ended in act-drop without a clearer drop message, as with a multicast policy or a "
          "policy that denies. The iprope records of the trace show which policy group and policy matched."},
    Entry{Topic::otherDrop, "Dropped",
          "The FortiGate dropped the packet for a reason this program does not name; the record that says so is "
          "shown with the trace. Read the records just before it and look the message up in Fortinet's "
          "documentation."},
    Entry{Topic::unknownVerdict, "No verdict in the trace",
          "The trace ends before the FortiGate printed whether it accepted or dropped the packet. Usually the "
          "packet count given to `diagnose debug flow trace start` was used up, the session was offloaded so its "
          "later packets are not traced, or the output was cut when it was copied; trace again with a larger "
          "count."},
    Entry{Topic::allowed, "Allowed by %policy",
          "The packet from %in to %out was accepted by firewall %policy. If it is not the policy you expected, another "
          "one earlier in the list matches this traffic as well: the first match wins."},
    Entry{Topic::localDelivery, "For the FortiGate itself",
          "The route lookup found the destination to be one of the FortiGate's own addresses, so the packet goes "
          "to the local-in checks (administrative access, trusted hosts, local-in policies), not to the firewall "
          "policies."},
    Entry{Topic::ipsecIn, "Came out of an IPsec tunnel",
          "The packet arrived decrypted from the tunnel to %tunnelId, on %in; it is the inner packet, traced on "
          "its own. The policies from that tunnel interface decide what happens to it."},
    Entry{Topic::newSession, "New session %session",
          "The packet starts a connection the FortiGate had no session for, so route, policy and NAT are all "
          "decided for it here. `diagnose sys session list` shows the session with this number as its serial."},
    Entry{Topic::existingSession, "Forwarded by session %session",
          "The packet matched session %session in %direction, so it follows what was decided for the session's "
          "first packet and no route or policy lookup is printed. A reply seen in the original direction, or a "
          "mid-connection packet whose start was never seen, points at asymmetric routing."},
    Entry{Topic::inherited, "Policy and NAT from the session's first packet",
          "This packet's trace does not repeat the policy and NAT of its session; they are taken from %from, which "
          "created session %session."},
    Entry{Topic::vip, "Destination NAT by a virtual IP",
          "A virtual IP rewrote the destination to %dnat before routing, so route and policy are looked up for "
          "that address. Check the virtual IP's external and mapped addresses and ports, and that a policy from "
          "%in names the virtual IP."},
    Entry{Topic::dnat, "Destination rewritten",
          "The destination was rewritten to %dnat. On a reply this undoes the source NAT of the session's first "
          "packet; on a new connection a virtual IP or central DNAT rule did it."},
    Entry{Topic::policyRoute, "Policy route %route",
          "Policy route %route matched before the routing table was consulted and chose the gateway and the "
          "outgoing interface %out. Check the policy routes when the path is not the expected one."},
    Entry{Topic::sdwanRule, "SD-WAN rule",
          "The large id %route is an SD-WAN rule, so the rule chose %out rather than the routing table. Check "
          "the rule's members, its strategy and the health of its members when the path is not the expected "
          "one."},
    Entry{Topic::snat, "Source NAT",
          "The source was rewritten to %snat as the packet left by %out: the outgoing interface's address, or an "
          "IP pool's where the policy names one. Check that the far end and the routers on the way accept this "
          "address and route replies back to it."},
    Entry{Topic::ipsecOut, "Into IPsec tunnel %tunnel",
          "The route sent the packet into tunnel %tunnel to be encrypted. If no answer comes back, check that the "
          "tunnel is up and that the far end's selectors, policies and routes cover this traffic."},
    Entry{Topic::inspection, "Handed to inspection",
          "The packet was passed on for inspection (%inspection), flow-based IPS or the proxy, which can still "
          "block or hold it after this trace ends. If the traffic stops here, check the security profiles of "
          "%policy and their logs."},
    Entry{Topic::offload, "Offloaded to the network processor",
          "The session was installed on the network processor, so its later packets bypass the CPU and no longer "
          "show in debug flow. To trace them, turn off hardware offload on the policy while testing and clear "
          "the session."},
};

const Entry &entry(Topic topic)
{
    for (const Entry &e : table) {
        if (e.topic == topic)
            return e;
    }
    return table.front(); // every topic is in the table
}

Topic reasonTopic(const FlowTrace &trace)
{
    switch (trace.dropReason) {
    case FlowDropReason::implicitDeny:
        return Topic::implicitDeny;
    case FlowDropReason::denyPolicy:
        return Topic::denyPolicy;
    case FlowDropReason::localIn:
        return trace.policyId.value_or(0) > 0 ? Topic::localInPolicy : Topic::localIn;
    case FlowDropReason::reversePath:
        return Topic::reversePath;
    case FlowDropReason::noSession:
        return Topic::noSession;
    case FlowDropReason::sessionBlocked:
        return Topic::sessionBlocked;
    case FlowDropReason::asymmetric:
        return Topic::asymmetric;
    case FlowDropReason::ipsecSelector:
        return Topic::ipsecSelector;
    case FlowDropReason::saNotReady:
        return Topic::saNotReady;
    case FlowDropReason::replay:
        return Topic::replay;
    case FlowDropReason::quota:
        return Topic::quota;
    case FlowDropReason::iprope:
        return Topic::iprope;
    case FlowDropReason::none:
    case FlowDropReason::other:
        break;
    }
    return Topic::otherDrop;
}

Topic verdictTopic(const FlowTrace &trace)
{
    switch (trace.verdict) {
    case FlowVerdict::dropped:
        return reasonTopic(trace);
    case FlowVerdict::allowed:
        return trace.local || trace.localInPolicy ? Topic::localDelivery : Topic::allowed;
    case FlowVerdict::forwarded:
        return Topic::existingSession;
    case FlowVerdict::unknown:
        break;
    }
    return Topic::unknownVerdict;
}

// SD-WAN rules print ids far above any policy route's.
constexpr qint64 largestPolicyRoute = 0xffff;

QString named(const QByteArray &text, const char *otherwise)
{
    return text.isEmpty() ? QString::fromLatin1(otherwise) : FlowText::name(text);
}

enum class Fact { tunnelId, tunnel, inspection, in, out, policy, session, direction, src, from, dnat, snat, route };

// Longer names first, so that %tunnel does not take the start of %tunnelId.
constexpr std::array<std::pair<std::string_view, Fact>, 13> factNames{{
    {"%tunnelId", Fact::tunnelId},
    {"%tunnel", Fact::tunnel},
    {"%inspection", Fact::inspection},
    {"%in", Fact::in},
    {"%out", Fact::out},
    {"%policy", Fact::policy},
    {"%session", Fact::session},
    {"%direction", Fact::direction},
    {"%src", Fact::src},
    {"%from", Fact::from},
    {"%dnat", Fact::dnat},
    {"%snat", Fact::snat},
    {"%route", Fact::route},
}};

QString fact(Fact fact, const FlowTrace &trace)
{
    switch (fact) {
    case Fact::tunnelId:
        return named(trace.tunnelId, "its peer");
    case Fact::tunnel:
        return named(trace.ipsecTunnel, "the tunnel");
    case Fact::inspection:
        return named(trace.inspection, "unnamed");
    case Fact::in:
        return named(trace.inInterface, "the incoming interface");
    case Fact::out:
        return trace.local ? QStringLiteral("the FortiGate itself")
                           : named(trace.outInterface, "the outgoing interface");
    case Fact::policy:
        return trace.policyId ? QStringLiteral("policy %1").arg(*trace.policyId) : QStringLiteral("a policy");
    case Fact::session:
        return named(trace.sessionId, "(id not printed)");
    case Fact::direction:
        return trace.sessionDirection.isEmpty()
                   ? QStringLiteral("one of its directions")
                   : QStringLiteral("the %1 direction").arg(FlowText::name(trace.sessionDirection));
    case Fact::src:
        return named(trace.source.address, "the source");
    case Fact::from:
        return trace.inheritedFrom >= 0 ? QStringLiteral("packet %1 of this reading").arg(trace.inheritedFrom + 1)
                                        : QStringLiteral("an earlier packet");
    case Fact::dnat:
        return trace.dnat ? FlowText::endpoint(*trace.dnat) : QStringLiteral("another address");
    case Fact::snat:
        return trace.snat ? FlowText::endpoint(*trace.snat) : QStringLiteral("another address");
    case Fact::route:
        return trace.policyRoute ? QString::number(*trace.policyRoute) : QStringLiteral("?");
    }
    return {};
}

// One pass over the pattern: a fact's own text is never searched for another fact's name.
QString filled(std::string_view pattern, const FlowTrace &trace)
{
    QString out;
    out.reserve(qsizetype(pattern.size()) + 64);
    std::size_t plain = 0;
    for (std::size_t at = pattern.find('%'); at != std::string_view::npos; at = pattern.find('%', at + 1)) {
        const auto name = std::find_if(factNames.begin(), factNames.end(),
                                       [&](const auto &f) { return pattern.substr(at).starts_with(f.first); });
        if (name == factNames.end())
            continue;
        out += QString::fromUtf8(pattern.data() + plain, qsizetype(at - plain));
        out += fact(name->second, trace);
        plain = at + name->first.size();
        at = plain - 1;
    }
    out += QString::fromUtf8(pattern.data() + plain, qsizetype(pattern.size() - plain));
    return out;
}

} // namespace

QList<FlowExplanations::Note> FlowExplanations::forTrace(const FlowTrace &trace)
{
    const Topic first = verdictTopic(trace);
    const bool deniedByPolicy =
        trace.verdict == FlowVerdict::dropped &&
        (trace.dropReason == FlowDropReason::implicitDeny || trace.dropReason == FlowDropReason::denyPolicy ||
         trace.dropReason == FlowDropReason::localIn || trace.dropReason == FlowDropReason::iprope);
    // In the order the FortiGate processes a packet.
    const std::pair<Topic, bool> others[] = {
        {Topic::ipsecIn, !trace.tunnelId.isEmpty()},
        {Topic::newSession, trace.session == FlowTrace::Session::created},
        {Topic::existingSession, trace.session == FlowTrace::Session::existing},
        {Topic::inherited, trace.policyInherited || trace.natInherited},
        {Topic::vip, trace.dnat && trace.vip},
        {Topic::dnat, trace.dnat && !trace.vip},
        {Topic::policyRoute, trace.policyRoute && *trace.policyRoute <= largestPolicyRoute},
        {Topic::sdwanRule, trace.policyRoute && *trace.policyRoute > largestPolicyRoute},
        {Topic::localDelivery, trace.local && trace.dropReason != FlowDropReason::localIn},
        {Topic::allowed, trace.policyId && !trace.policyInherited && !trace.localInPolicy && !deniedByPolicy},
        {Topic::snat, bool(trace.snat)},
        {Topic::ipsecOut, !trace.ipsecTunnel.isEmpty() && trace.dropReason != FlowDropReason::ipsecSelector &&
                              trace.dropReason != FlowDropReason::saNotReady},
        {Topic::inspection, !trace.inspection.isEmpty()},
        {Topic::offload, trace.offloaded},
    };
    QList<Note> notes;
    const auto add = [&](Topic topic) {
        const Entry &e = entry(topic);
        notes.append({filled(e.title, trace), filled(e.text, trace)});
    };
    add(first);
    for (const auto &[topic, shown] : others) {
        if (shown && topic != first)
            add(topic);
    }
    return notes;
}
