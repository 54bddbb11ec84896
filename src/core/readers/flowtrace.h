#pragma once

#include "model/enumtable.h"

#include <QByteArray>
#include <QList>

#include <optional>

// What `diagnose debug flow` printed about one packet, read into the facts an engineer looks for.
// Text from the appliance is kept as bytes, as printed (after HTML entities and typographic quotes are
// put back); it is not trusted: whoever shows it escapes it.

// Where in the FortiGate's processing a record was printed.
enum class FlowStage {
    receive,    // "received a packet"
    session,    // new or existing session, session state
    dnat,       // VIP / destination NAT
    route,      // route lookup, policy route, SD-WAN rule
    policy,     // the policy decision, iprope search
    snat,       // source NAT
    ipsec,      // into or out of a tunnel
    inspection, // IPS, proxy
    offload,    // NPU
    egress,     // sent out of an interface
    drop,       // a drop not tied to one of the stages above (replay, quota, ...)
    other,      // a message this program does not know: kept verbatim
};

template <> struct EnumTraits<FlowStage> {
    using Case = EnumCase<FlowStage>;
    static constexpr std::array cases = {
        Case{FlowStage::receive, "receive", "Received"},  Case{FlowStage::session, "session", "Session"},
        Case{FlowStage::dnat, "dnat", "Destination NAT"}, Case{FlowStage::route, "route", "Route"},
        Case{FlowStage::policy, "policy", "Policy"},      Case{FlowStage::snat, "snat", "Source NAT"},
        Case{FlowStage::ipsec, "ipsec", "IPsec"},         Case{FlowStage::inspection, "inspection", "Inspection"},
        Case{FlowStage::offload, "offload", "Offload"},   Case{FlowStage::egress, "egress", "Sent out"},
        Case{FlowStage::drop, "drop", "Dropped"},         Case{FlowStage::other, "other", "Other"},
    };
};

// The outcome of a packet's trace.
enum class FlowVerdict {
    unknown,   // the trace ends without one (trace count used up, output trimmed, offloaded)
    allowed,   // accepted by a policy, or delivered to the FortiGate itself
    dropped,   // see FlowDropReason
    forwarded, // forwarded by an existing session, no policy lookup printed
};

template <> struct EnumTraits<FlowVerdict> {
    using Case = EnumCase<FlowVerdict>;
    static constexpr std::array cases = {
        Case{FlowVerdict::unknown, "unknown", "Unknown"},
        Case{FlowVerdict::allowed, "allowed", "Allowed"},
        Case{FlowVerdict::dropped, "dropped", "Dropped"},
        Case{FlowVerdict::forwarded, "forwarded", "Forwarded"},
    };
};

// Why a packet was dropped. The case name is the word the terminal prints after "dropped".
enum class FlowDropReason {
    none,
    implicitDeny,   // "Denied by forward policy check (policy 0)"
    denyPolicy,     // "... (policy N)" with N > 0, or without a number
    localIn,        // "iprope_in_check() check failed ..., drop"
    reversePath,    // "reverse path check fail, drop"
    noSession,      // "no session matched"
    sessionBlocked, // "Session is in BLOCK state. Drop the packet."
    asymmetric,     // "outgoing dev changed:a->b dir=reply, drop"
    ipsecSelector,  // "No matching IPsec selector, drop"
    saNotReady,     // "SA is not ready yet, drop"
    replay,         // "replay packet, drop", "anti-replay check fails, drop"
    quota,          // "Denied by quota check"
    iprope,         // an iprope group check ending in act-drop with no other drop message
    other,          // any other message ending in ", drop" or "Drop the packet."
};

template <> struct EnumTraits<FlowDropReason> {
    using Case = EnumCase<FlowDropReason>;
    static constexpr std::array cases = {
        Case{FlowDropReason::none, "none", ""},
        Case{FlowDropReason::implicitDeny, "implicit-deny", "No policy matched (implicit deny)"},
        Case{FlowDropReason::denyPolicy, "deny-policy", "Denied by a policy"},
        Case{FlowDropReason::localIn, "local-in", "Refused by the FortiGate's local-in check"},
        Case{FlowDropReason::reversePath, "reverse-path", "Reverse-path check failed"},
        Case{FlowDropReason::noSession, "no-session", "No session for a packet that needs one"},
        Case{FlowDropReason::sessionBlocked, "session-blocked", "The session is blocked"},
        Case{FlowDropReason::asymmetric, "asymmetric", "Reply on another interface (asymmetric route)"},
        Case{FlowDropReason::ipsecSelector, "ipsec-selector", "No IPsec selector covers the traffic"},
        Case{FlowDropReason::saNotReady, "sa-not-ready", "The IPsec tunnel is not up yet"},
        Case{FlowDropReason::replay, "replay", "Anti-replay check failed"},
        Case{FlowDropReason::quota, "quota", "Traffic-shaping quota exceeded"},
        Case{FlowDropReason::iprope, "iprope", "A policy group check dropped it"},
        Case{FlowDropReason::other, "other", "Dropped"},
    };
};

// One trace record: one `id=… trace_id=… func=… line=… msg="…"` as put back together.
struct FlowRecord {
    qint64 line = 0;     // the physical line it starts on (1-based)
    qint64 lastLine = 0; // the physical line it ends on
    QByteArray raw;      // the record as read (prefixes and all), put back on one line
    QByteArray function; // func=, empty where not printed
    QByteArray message;  // the msg text without its quotes
    FlowStage stage = FlowStage::other;
    bool truncated = false; // cut off before its closing quote
};

struct FlowEndpoint {
    QByteArray address;      // IPv4 or IPv6, as printed
    std::optional<int> port; // none for ICMP, where the printed "ports" are decoded into FlowIcmp
};

struct FlowIcmp {
    int type = -1;
    int code = -1;
    int id = -1;
    int sequence = -1;
};

struct FlowTrace {
    qint64 index = 0;    // 0-based, in the order the traces started
    QByteArray chassis;  // "FPM04" for "[FPM04]", empty on a single appliance
    qint64 traceId = -1; // trace_id=, -1 where the records had none
    qint64 firstLine = 0;
    qint64 lastLine = 0;
    QByteArray time; // "2022-11-30 19:54:07" from the console timestamp of the first record, else empty

    // Received: "vd-root:0 received a packet(proto=6, a:p->b:q) tun_id=… from port1. flag [S], …"
    bool received = false; // whether the trace has its "received a packet" record
    QByteArray vdom;       // "root", without the ":0"
    int protocol = -1;     // IP protocol number, -1 where unknown
    bool ipv6 = false;
    FlowEndpoint source;
    FlowEndpoint destination;
    std::optional<FlowIcmp> icmp;
    QByteArray inInterface; // "local" for traffic the FortiGate made itself
    QByteArray tunnelId;    // tun_id= when not 0.0.0.0: the packet came out of an IPsec tunnel
    QByteArray tcpFlags;    // "S", "S.", "." as printed between the brackets

    enum class Session { none, created, existing };
    Session session = Session::none;
    QByteArray sessionId;        // hex, as printed ("015a96aa")
    QByteArray sessionDirection; // "original" or "reply" for an existing session

    // Destination NAT: the address (and port) the destination was rewritten to.
    std::optional<FlowEndpoint> dnat;
    bool vip = false; // through a virtual IP

    // Route.
    QByteArray gateway;                // "10.0.0.1"
    QByteArray outInterface;           // "port2"; the VDOM's name where the route is to the FortiGate itself
    bool local = false;                // delivered to the FortiGate itself
    std::optional<qint64> policyRoute; // "Match policy routing id=N" (SD-WAN rules have large ids)

    // Policy.
    std::optional<qint64> policyId;
    bool localInPolicy = false; // the policy named is a local-in policy
    bool policyInherited = false;

    // Source NAT: the address and port the source was rewritten to.
    std::optional<FlowEndpoint> snat;
    bool natInherited = false; // snat and dnat taken from the session's first trace
    qint64 inheritedFrom = -1; // that trace's index

    // IPsec, inspection, offload.
    QByteArray ipsecTunnel; // the tunnel or tunnel interface entered
    bool encrypted = false;
    QByteArray inspection;  // "ips", "application layer"
    bool offloaded = false; // "npu session installation succeeded"

    FlowVerdict verdict = FlowVerdict::unknown;
    FlowDropReason dropReason = FlowDropReason::none;
    qsizetype verdictRecord = -1; // index into records of the record that decided it, -1 for none

    QList<FlowRecord> records; // in the order printed
};
