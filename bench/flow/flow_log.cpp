// Writes a debug-flow log of a given size, as an engineer's terminal log of many captures would hold it:
// new TCP, UDP and ICMP sessions allowed with source NAT, replies and later packets of those sessions,
// implicit-deny, reverse-path and local-in drops, traffic to the FortiGate itself, IPsec in and out,
// VIPs, SD-WAN rules and the verbose iprope search; in the shapes of 5.x (pri=emergency, no function
// names), 6.x, 7.0 and 7.4, with and without timestamps and function names, and two chassis processors
// reusing each other's trace ids. Between the records: prompts and echoed commands, snmpd and sniffer
// output, blank lines, now and then a record wrapped over two lines or a line ending in CRLF, and whole
// captures saved with CRLF. The same seed writes the same log (with the same build of this program).
//
// Usage: brindlecap-bench-flow-log MEGABYTES LOG [SEED]
// It prints how many traces it wrote and how many of them end in a drop, which a reading must find.

#include <QByteArray>
#include <QByteArrayList>
#include <QDateTime>
#include <QFile>

#include <cstdio>
#include <random>

namespace {

enum class Era { v5, v6, v70, v74 };

struct Record {
    QByteArray function;
    QByteArray message;
};
using Trace = QList<Record>;

// A session this log has created, for the later packets and replies that find it again.
struct Session {
    QByteArray id;
    int protocol = 6;
    QByteArray client, server, nat, in, out;
    int clientPort = 0, serverPort = 0, natPort = 0;
};

QByteArray n(qint64 value)
{
    return QByteArray::number(value);
}

class LogWriter
{
public:
    explicit LogWriter(quint32 seed)
        : m_random(seed)
    {
    }

    QByteArray capture();
    qint64 traces = 0, dropped = 0;

private:
    int pick(int count) { return int(m_random() % quint32(count)); }
    bool chance(int percent) { return pick(100) < percent; }
    template <typename T> const T &any(const QList<T> &list) { return list[pick(int(list.size()))]; }

    QByteArray client() { return "192.168." + n(10 + pick(4) * 10) + '.' + n(2 + pick(240)); }
    int ephemeral() { return 1024 + pick(64000); }
    QByteArray sessionId() { return QByteArray::number(m_sessionId += 1 + pick(40), 16).rightJustified(8, '0'); }

    QByteArray receive(int protocol, const QByteArray &src, int sport, const QByteArray &dst, int dport,
                       const QByteArray &in, const QByteArray &tunnel = "0.0.0.0", bool established = false);
    Record received(int protocol, const QByteArray &src, int sport, const QByteArray &dst, int dport,
                    const QByteArray &in, const QByteArray &tunnel = "0.0.0.0", bool established = false);
    Record allocate(const QByteArray &id);
    Record route(const QByteArray &gateway, const QByteArray &out, const QByteArray &flag = "04000000");
    Record allowed(int policy, bool snat);
    void search(Trace &trace, const QByteArray &in, const QByteArray &out, int policy, bool accept);
    void sourceNat(Trace &trace, const Session &s);
    void offload(Trace &trace, const Session &s);

    Trace newSession(int protocol);
    Trace existing();
    Trace implicitDeny();
    Trace reversePath();
    Trace localIn();
    Trace ipsec();
    Trace vip();
    Trace sdwan();
    Trace ipv6();
    Trace next();

    QByteArray line(const QByteArray &tag, qint64 traceId, const Record &r);

    std::mt19937 m_random;
    Era m_era = Era::v74;
    bool m_timestamps = true, m_functions = true, m_iprope = false, m_allocateTunnel = false;
    QByteArray m_vdom = "root";
    QByteArray m_second;
    qint64 m_seconds = 1772442933; // 2026-03-02 09:15:33
    qint64 m_traceId = 500;
    qint64 m_sessionId = 0x015a0000;
    qint64 m_drops = 0; // of the trace being made
    QList<Session> m_sessions;
};

QByteArray LogWriter::receive(int protocol, const QByteArray &src, int sport, const QByteArray &dst, int dport,
                              const QByteArray &in, const QByteArray &tunnel, bool established)
{
    const bool old = m_era == Era::v5;
    const bool icmp = protocol == 1;
    const int icmpId = sport, type = dport;
    if (icmp && !old)
        dport = type << 8;
    QByteArray text = "vd-" + m_vdom + (old ? "" : ":0") + " received a packet(proto=" + n(protocol) +
                      (old ? "," : ", ") + src + ':' + n(sport) + "->" + dst + ':' + n(dport) + ')' +
                      (m_era >= Era::v70 ? " tun_id=" + tunnel : QByteArray()) + " from " + in + '.';
    if (old)
        return text;
    if (protocol == 6)
        text += established ? " flag [.], seq " + n(m_random()) + ", ack " + n(m_random()) + ", win 502"
                            : " flag [S], seq " + n(m_random()) + ", ack 0, win 64240";
    else if (icmp)
        text += " type=" + n(type) + ", code=0, id=" + n(icmpId) + ", seq=" + n(1 + pick(20)) + '.';
    else if (m_era == Era::v70)
        text += ' ';
    return text;
}

Record LogWriter::received(int protocol, const QByteArray &src, int sport, const QByteArray &dst, int dport,
                           const QByteArray &in, const QByteArray &tunnel, bool established)
{
    return {m_era == Era::v5 ? "resolve_ip_tuple_fast" : "print_pkt_detail",
            receive(protocol, src, sport, dst, dport, in, tunnel, established)};
}

Record LogWriter::allocate(const QByteArray &id)
{
    return {m_era == Era::v5 ? "resolve_ip_tuple" : "init_ip_session_common",
            "allocate a new session-" + id + (m_allocateTunnel ? ", tun_id=0.0.0.0" : "")};
}

Record LogWriter::route(const QByteArray &gateway, const QByteArray &out, const QByteArray &flag)
{
    switch (m_era) {
    case Era::v5:
        return {"vf_ip4_route_input", "find a route: gw-" + gateway + " via " + out};
    case Era::v6:
    case Era::v70:
        return {"vf_ip_route_input_common", "find a route: flag=" + flag + " gw-" + gateway + " via " + out};
    case Era::v74:
        break;
    }
    return {"__vf_ip_route_input_rcu", "find a route: flag=" + flag + " gw-" + gateway + " via " + out};
}

Record LogWriter::allowed(int policy, bool snat)
{
    return {"fw_forward_handler", "Allowed by Policy-" + n(policy) + (snat ? ": SNAT" : ":")};
}

// What `diagnose debug flow show iprope enable` adds: the search through the policy group.
void LogWriter::search(Trace &trace, const QByteArray &in, const QByteArray &out, int policy, bool accept)
{
    if (!m_iprope)
        return;
    const QByteArray act = accept ? "act-accept" : "act-drop";
    trace += Record{"__iprope_fwd_check",
                    "in-[" + in + "], out-[" + out + "], skb_flags-02000000, vid-0, app_id: 0, url_cat_id: 0"};
    trace +=
        Record{"__iprope_tree_check", "gnum-100004, use int hash, slot=" + n(pick(64)) + ", len=" + n(1 + pick(6))};
    if (policy > 0) {
        trace +=
            Record{"__iprope_check_one_policy", "checked gnum-100004 policy-" + n(policy) + ", ret-matched, " + act};
        trace += Record{"__iprope_check_one_policy", "policy-" + n(policy) + " is matched, " + act};
    } else {
        trace += Record{"__iprope_check_one_policy", "checked gnum-100004 policy-4294967295, ret-matched, act-drop"};
    }
    trace += Record{"__iprope_fwd_check",
                    "after iprope_captive_check(): is_captive-0, ret-matched, " + act + ", idx-" + n(policy)};
}

void LogWriter::sourceNat(Trace &trace, const Session &s)
{
    if (m_era == Era::v74 && chance(30))
        trace += Record{"ids_receive", "send to ips"};
    trace += Record{"get_new_addr",
                    "find SNAT: IP-" + s.nat + (chance(40) ? "(from IPPOOL)" : "") + ", port-" + n(s.natPort)};
    trace += Record{m_era == Era::v5 ? "ip_session_run_all_tuple" : "__ip_session_run_tuple",
                    "SNAT " + s.client + "->" + s.nat + ':' + n(s.natPort)};
}

void LogWriter::offload(Trace &trace, const Session &s)
{
    if (m_era == Era::v5 || !chance(40))
        return;
    trace += Record{"ip_session_confirm_final", "npu_state=0x" + QByteArray(chance(50) ? "100" : "1100") + ", hook=4"};
    trace += Record{"npu_handle_session44", "Trying to offloading session from " + s.in + " to " + s.out +
                                                ", skb.npu_flag=00000400 ses.state=00010204 ses.npu_state=0x00000000"};
    trace += Record{"ip_session_install_npu_session", "npu session installation succeeded"};
}

Trace LogWriter::newSession(int protocol)
{
    static const QByteArrayList servers = {"63.137.229.1", "114.114.114.114", "8.8.8.8",      "1.1.1.1",
                                           "151.101.1.69", "140.82.112.4",    "13.107.42.14", "172.217.16.206"};
    Session s{sessionId(),
              protocol,
              client(),
              any(servers),
              "10.9.10.51",
              any(QByteArrayList{"port6", "internal1"}),
              any(QByteArrayList{"port1", "wan1"}),
              ephemeral(),
              0,
              0};
    s.serverPort = protocol == 6 ? any(QList<int>{443, 443, 80, 22, 8443}) : protocol == 17 ? 53 : 8;
    s.natPort = protocol == 1 ? s.clientPort : chance(50) ? s.clientPort : ephemeral();
    const int policy = 1 + pick(40);
    Trace trace{received(protocol, s.client, s.clientPort, s.server, s.serverPort, s.in), allocate(s.id)};
    if (m_iprope)
        trace +=
            Trace{{"iprope_dnat_check", "in-[" + s.in + "], out-[]"},
                  {"iprope_dnat_tree_check", "len=0"},
                  {"iprope_dnat_check", "result: skb_flags-02000000, vid-0, ret-no-match, act-accept, flag-00000000"}};
    trace += route("10.9.10.1", s.out);
    search(trace, s.in, s.out, policy, true);
    if (m_era == Era::v74 && chance(50)) { // 7.2+ prints the verdict after the NAT it chose
        sourceNat(trace, s);
        trace += allowed(policy, true);
    } else {
        trace += allowed(policy, true);
        sourceNat(trace, s);
    }
    offload(trace, s);
    m_sessions += s;
    if (m_sessions.size() > 200)
        m_sessions.removeFirst();
    return trace;
}

// A reply, or a later packet of the client, on a session made earlier: no route or policy printed.
Trace LogWriter::existing()
{
    if (m_sessions.isEmpty())
        return newSession(6);
    const Session &s = m_sessions[m_sessions.size() - 1 - pick(int(std::min<qsizetype>(m_sessions.size(), 50)))];
    const bool reply = chance(60);
    Trace trace;
    if (reply) // an ICMP echo reply carries the NAT id, and type 0
        trace += received(s.protocol, s.server, s.protocol == 1 ? s.natPort : s.serverPort, s.nat,
                          s.protocol == 1 ? 0 : s.natPort, s.out, "0.0.0.0", true);
    else
        trace += received(s.protocol, s.client, s.clientPort, s.server, s.serverPort, s.in, "0.0.0.0", true);
    trace += Record{"resolve_ip_tuple_fast",
                    "Find an existing session, id-" + s.id + (reply ? ", reply direction" : ", original direction")};
    if (chance(40))
        trace += Record{"fw_forward_dirty_handler", "state=00010200, state2=00000000, npu_state=00000000"};
    if (reply)
        trace += Record{"__ip_session_run_tuple",
                        "DNAT " + s.nat + ':' + n(s.natPort) + "->" + s.client + ':' + n(s.clientPort)};
    else
        trace += Record{"__ip_session_run_tuple", "SNAT " + s.client + "->" + s.nat + ':' + n(s.natPort)};
    if (chance(30))
        trace += Record{"ipv4_fast_cb", "enter fast path"};
    return trace;
}

Trace LogWriter::implicitDeny()
{
    const QByteArray src = client(), dst = "10.20." + n(pick(256)) + '.' + n(1 + pick(250));
    Trace trace{received(6, src, ephemeral(), dst, any(QList<int>{445, 3389, 22, 8080}), "port6"),
                allocate(sessionId()), route("10.9.20.1", "port2")};
    search(trace, "port6", "port2", 0, false);
    trace += Record{"fw_forward_handler",
                    m_era == Era::v5 ? "Denied by forward policy check" : "Denied by forward policy check (policy 0)"};
    ++m_drops;
    return trace;
}

Trace LogWriter::reversePath()
{
    Trace trace{
        received(17, "172.16." + n(pick(256)) + '.' + n(1 + pick(250)), ephemeral(), "192.168.10.1", 161, "wan1"),
        {"ip_route_input_slow", "reverse path check fail, drop"}};
    if (chance(50))
        trace += Record{"ip_session_handle_no_dst", "trace"};
    ++m_drops;
    return trace;
}

// To the FortiGate itself: refused by the local-in check, or taken in without a verdict line.
Trace LogWriter::localIn()
{
    const bool refused = chance(60);
    Trace trace{received(6, "203.0.113." + n(1 + pick(250)), ephemeral(), "10.9.10.51",
                         refused ? any(QList<int>{22, 443, 161}) : 443, "wan1"),
                allocate(sessionId()), route("10.9.10.51", m_vdom, "84000000")};
    if (refused) {
        trace += Record{"fw_local_in_handler", m_era == Era::v5 ? "iprope_in_check() check failed, drop"
                                                                : "iprope_in_check() check failed on policy 0, drop"};
        ++m_drops;
    } else {
        trace +=
            Record{"iprope_policy_group_check", "after check: ret-matched, act-accept, flag-00000000, flag2-00000000"};
    }
    return trace;
}

Trace LogWriter::ipsec()
{
    const QByteArray tunnel = "VPN-to-HQ", peer = "198.51.100.2";
    const QByteArray remote = "10.100." + n(pick(4)) + '.' + n(1 + pick(250));
    if (chance(35)) { // the decrypted packet coming out of the tunnel
        Trace trace{received(6, remote, ephemeral(), client(), any(QList<int>{445, 3389, 443}), tunnel, peer),
                    allocate(sessionId()), route("192.168.10.1", "port6")};
        trace += allowed(60 + pick(3), false);
        return trace;
    }
    Trace trace{received(m_era == Era::v5 ? 1 : 6, client(), ephemeral(), remote, m_era == Era::v5 ? 8 : 443, "port6"),
                allocate(sessionId()), route("0.0.0.0", tunnel)};
    if (chance(12)) {
        trace += allowed(50, false);
        trace += Record{"ipsec_common_output4", "No matching IPsec selector, drop"};
        ++m_drops;
        return trace;
    }
    switch (m_era) {
    case Era::v5:
        trace += Record{"", "Allowed by Policy-50: encrypt"};
        trace += Record{"", "enter IPsec tunnel-" + tunnel};
        trace += Record{"", "encrypted, and send to " + peer + " with source 203.0.113.10"};
        return trace;
    case Era::v6:
        trace += allowed(50, false);
        trace += Record{"ipsecdev_hard_start_xmit", "enter IPsec interface-" + tunnel};
        break;
    case Era::v70:
    case Era::v74:
        trace += allowed(50, false);
        trace += Record{"ipsecdev_hard_start_xmit", "enter IPSec interface " + tunnel + ", tun_id=" + peer};
        trace += Record{"_do_ipsecdev_hard_start_xmit",
                        "output to IPSec tunnel " + tunnel + (m_era == Era::v74 ? ", tun_id=" + peer + ", vrf 0" : "")};
        break;
    }
    trace += Record{"esp_output4", "IPsec encrypt/auth"};
    trace += Record{"ipsec_output_finish", "send to 203.0.113.1 via intf-wan1"};
    return trace;
}

// A port forward through a virtual IP, to a server behind the FortiGate.
Trace LogWriter::vip()
{
    const QByteArray server = "192.168.30." + n(10 + pick(5));
    const int port = any(QList<int>{8443, 2222, 3389});
    Trace trace{received(6, "198.51.100." + n(1 + pick(250)), ephemeral(), "203.0.113.10", port, "wan1"),
                allocate(sessionId())};
    if (m_iprope)
        trace +=
            Trace{{"iprope_dnat_check", "in-[wan1], out-[]"},
                  {"iprope_dnat_tree_check", "len=1"},
                  {"iprope_dnat_check", "result: skb_flags-02000000, vid-21, ret-matched, act-accept, flag-00000000"}};
    trace += Record{"fw_pre_route_handler", "VIP-" + server + ':' + n(port == 8443 ? 443 : port) + ", outdev-wan1"};
    trace += Record{"__ip_session_run_tuple",
                    "DNAT 203.0.113.10:" + n(port) + "->" + server + ':' + n(port == 8443 ? 443 : port)};
    trace += route(server, "port3");
    search(trace, "wan1", "port3", 30, true);
    trace += allowed(30, false);
    return trace;
}

// Internet traffic steered by an SD-WAN rule, then NATed out of the member it chose.
Trace LogWriter::sdwan()
{
    Session s{sessionId(), 17, client(), "8.8.4.4", "100.64.1.2", "port6", "wan2", ephemeral(), 53, 0};
    s.natPort = ephemeral();
    Trace trace{received(17, s.client, s.clientPort, s.server, 53, s.in),
                allocate(s.id),
                {"rpdb_srv_match_input", "Match policy routing id=2130837505: to " + s.server + " via ifindex-7"},
                route("100.64.1.1", s.out)};
    trace += allowed(12, true);
    sourceNat(trace, s);
    m_sessions += s;
    return trace;
}

Trace LogWriter::ipv6()
{
    const QByteArray src = "2001:db8:10::" + QByteArray::number(1 + pick(4000), 16);
    return {{"resolve_ip6_tuple_fast", receive(6, src, ephemeral(), "2606:4700::6810:84e5", 443, "port6")},
            {"init_ip6_session_common", "allocate a new session-" + sessionId()},
            {"vf_ip6_route_input", "find a route: gw-fe80::1 via port1 err 0 flags 01000001"},
            {"fw6_forward_handler", "Check policy between port6 -> port1"},
            {"fw6_forward_handler", "Allowed by Policy-40:"}};
}

Trace LogWriter::next()
{
    const int kind = pick(100);
    if (kind < 30)
        return newSession(6);
    if (kind < 50)
        return existing();
    if (kind < 58)
        return newSession(17);
    if (kind < 64)
        return newSession(1);
    if (kind < 72)
        return implicitDeny();
    if (kind < 76)
        return reversePath();
    if (kind < 82)
        return localIn();
    if (kind < 88)
        return ipsec();
    if (kind < 93)
        return vip();
    if (kind < 98)
        return sdwan();
    return m_era == Era::v5 ? newSession(6) : ipv6();
}

QByteArray LogWriter::line(const QByteArray &tag, qint64 traceId, const Record &r)
{
    QByteArray text;
    if (!tag.isEmpty())
        text += '[' + tag + "]  ";
    if (m_timestamps)
        text += m_second + ' ';
    text += m_era == Era::v5 ? "id=36870 pri=emergency " : m_era == Era::v74 ? "id=65308 " : "id=20085 ";
    text += "trace_id=" + n(traceId);
    if (m_functions && !r.function.isEmpty()) // line numbers change with each build; any stable one will do
        text += " func=" + r.function + " line=" + n(400 + qChecksum(r.function) % 7000);
    return text + " msg=\"" + r.message + '"';
}

QByteArray LogWriter::capture()
{
    static const QByteArrayList prompts = {"FGT60F (root) # ", "FGT1-MASTER # ", "FortiGate-601E (Vdom1) # ",
                                           "fortigate # "};
    static const QByteArrayList vdoms = {"root", "root", "root", "Vdom1", "VDOM_VLAN1"};
    m_era = Era(pick(4));
    m_timestamps = chance(60);
    m_functions = m_era != Era::v5 || chance(20);
    m_iprope = m_era >= Era::v70 && chance(30);
    m_allocateTunnel = m_era == Era::v70 || (m_era == Era::v74 && chance(50));
    m_vdom = any(vdoms);
    const bool crlf = chance(20);
    const QByteArrayList chassis =
        m_era >= Era::v70 && chance(10) ? QByteArrayList{"FPC06", "FPC07"} : QByteArrayList{};
    const QByteArray prompt = any(prompts);
    if (chance(15)) // after a reboot or a reset the counter starts again
        m_traceId = 0;

    QByteArrayList lines = {prompt + "diagnose debug flow filter addr 10.9.10.51",
                            prompt + "diagnose debug flow show function-name enable", "show function name"};
    if (m_iprope)
        lines += {prompt + "diagnose debug flow show iprope enable", "show trace messages about iprope"};
    if (m_timestamps)
        lines += prompt + "diagnose debug console timestamp enable";
    const int count = 200 + pick(1800);
    lines += {prompt + "diagnose debug flow trace start " + n(count),
              m_era == Era::v5 ? "#diagnose debug enable" : prompt + "diagnose debug enable"};
    QByteArray first = prompt; // the output begins on the prompt line
    const bool blankBetween = chance(30);
    for (int i = 0; i < count; ++i) {
        m_seconds += pick(3);
        m_second = QDateTime::fromSecsSinceEpoch(m_seconds, Qt::UTC).toString(u"yyyy-MM-dd HH:mm:ss").toLatin1();
        const qint64 traceId = ++m_traceId;
        m_drops = 0;
        // On a chassis, two processors print packets of their own under one trace id, interleaved.
        QList<Trace> packets = {next()};
        if (!chassis.isEmpty())
            packets += next();
        for (qsizetype at = 0, left = 1; left; ++at) {
            left = 0;
            for (qsizetype t = 0; t < packets.size(); ++t) {
                if (at >= packets[t].size())
                    continue;
                lines += first + line(chassis.isEmpty() ? QByteArray() : chassis[t], traceId, packets[t][at]);
                first.clear();
                left += at + 1 < packets[t].size();
            }
        }
        traces += packets.size();
        dropped += m_drops;
        if (blankBetween || chance(3))
            lines += QByteArray();
        if (chance(1))
            lines += "snmpd: snmp_agent_recv_message: community public, request from 10.9.10." + n(2 + pick(200));
        if (pick(400) == 0)
            lines += {"Using Original Sniffing Mode", "interfaces=[any]", "filters=[port 161]",
                      n(pick(60)) + '.' + n(100000 + pick(899999)) +
                          " port1 in 192.168.77.77.53750 -> 192.168.77.1.161: "
                          "udp 53"};
    }
    lines += {prompt + "diagnose debug disable", prompt + "diagnose debug reset", prompt};

    QByteArray text;
    for (const QByteArray &l : lines) {
        const qsizetype message = l.indexOf("msg=\"");
        if (message > 0 && pick(1500) == 0) { // hard-wrapped by a narrow terminal, inside the message
            qsizetype at = message + 6 + pick(int(std::max<qsizetype>(1, l.size() - message - 7)));
            while (l.mid(at).startsWith("id=") || l.mid(at).startsWith(' '))
                ++at;
            text += l.first(at) + (crlf ? "\r\n" : "\n") + l.sliced(at);
        } else {
            text += l;
        }
        text += crlf || pick(1000) == 0 ? "\r\n" : "\n";
    }
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s MEGABYTES LOG [SEED]\n", argv[0]);
        return 2;
    }
    const qint64 size = QByteArray(argv[1]).toLongLong() * 1000000;
    QFile log(QFile::decodeName(argv[2]));
    if (!log.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    LogWriter writer(argc == 4 ? QByteArray(argv[3]).toUInt() : 1);
    while (log.size() < size) {
        const QByteArray text = writer.capture();
        if (log.write(text) != text.size()) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
    }
    if (!log.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%lld traces, %lld dropped, %lld bytes\n", writer.traces, writer.dropped, log.size());
    return 0;
}
