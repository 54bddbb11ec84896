#include "readers/flowreader.h"

#include <QTest>

using Lines = QList<qint64>;

namespace {
struct Reading {
    QList<FlowTrace> traces;
    Lines warnings;
    QByteArrayList all; // each trace's facts
};
QHash<QByteArray, QByteArray> facts(const FlowTrace &t);

// The text fed in pieces that end at the cuts given.
Reading read(const QByteArray &text, QList<qsizetype> cuts = {})
{
    Reading r;
    FlowReader reader([&](FlowTrace &&t) { r.traces << t; },
                      [&](const FlowReader::Warning &w) { r.warnings << w.line; });
    qsizetype from = 0;
    for (const qsizetype cut : cuts << text.size())
        reader.feed(QByteArrayView(text).sliced(from, cut - from)), from = cut;
    reader.finish();
    for (const FlowTrace &t : r.traces)
        r.all << facts(t)["all"];
    return r;
}

QByteArray endpoint(const std::optional<FlowEndpoint> &e)
{
    return !e ? QByteArray() : e->address + (e->port ? ':' + QByteArray::number(*e->port) : QByteArray());
}

// Every fact of a trace by name; "all" is every fact but line numbers and raw text.
QHash<QByteArray, QByteArray> facts(const FlowTrace &t)
{
    const auto yes = [](bool b) { return b ? QByteArray("1") : QByteArray(); };
    const auto number = [](auto v) { return v ? QByteArray::number(*v) : QByteArray(); };
    const auto name = [](auto value) { return Enum::caseName(value).toUtf8(); };
    const QByteArrayList sessions = {"", "created", "existing"};
    QHash<QByteArray, QByteArray> f{
        {"id", t.chassis + '/' + QByteArray::number(t.traceId)},
        {"vdom", t.vdom},
        {"proto", QByteArray::number(t.protocol)},
        {"src", endpoint(t.source)},
        {"dst", endpoint(t.destination)},
        {"icmp", t.icmp ? QByteArray::number(t.icmp->type) + '/' + QByteArray::number(t.icmp->code) + '/' +
                              QByteArray::number(t.icmp->id) + '/' + QByteArray::number(t.icmp->sequence)
                        : QByteArray()},
        {"in", t.inInterface + yes(t.ipv6)},
        {"tun", t.tunnelId},
        {"flags", t.tcpFlags},
        {"session", sessions[int(t.session)] + ' ' + t.sessionId + '/' + t.sessionDirection},
        {"dnat", endpoint(t.dnat) + yes(t.vip)},
        {"route", t.gateway + '|' + t.outInterface + '|' + yes(t.local) + '|' + number(t.policyRoute)},
        {"policy", number(t.policyId) + yes(t.localInPolicy) + '|' + yes(t.policyInherited)},
        {"snat", endpoint(t.snat) + '|' + yes(t.natInherited) + '|' + QByteArray::number(t.inheritedFrom)},
        {"ipsec", t.ipsecTunnel + '|' + yes(t.encrypted)},
        {"inspection", t.inspection + yes(t.offloaded)},
        {"verdict", name(t.verdict) + ' ' + name(t.dropReason) + ' ' + QByteArray::number(t.verdictRecord)},
        {"stage", name(t.records.last().stage) + ' ' + t.records.last().message},
    };
    QByteArrayList all = f.values();
    std::sort(all.begin(), all.end());
    all << yes(t.received) + t.time;
    for (const FlowRecord &r : t.records)
        all << r.function + ' ' + name(r.stage) + ' ' + r.message + yes(r.truncated);
    f["all"] = all.join('\n');
    return f;
}

QByteArray record(qint64 id, const QByteArray &msg, const QByteArray &shape = "id=65308 trace_id=%1 func=f line=9 ")
{
    return QByteArray(shape).replace("%1", QByteArray::number(id)) + "msg=\"" + msg + "\"\n";
}

const QByteArray tcpIn = "vd-root:0 received a packet(proto=6, 192.168.20.2:63611->63.137.229.1:443) tun_id=0.0.0.0 "
                         "from port6. flag [S], seq 3350385936, ack 0, win 64240";

// A new session allowed with SNAT, its reply, a later packet of it, and an ICMP echo denied.
QByteArray sample(qint64 first = 571)
{
    const QByteArray reply = "vd-root:0 received a packet(proto=6, 63.137.229.1:443->10.9.10.51:63611) from port1. ";
    const QByteArray ping = "vd-root:0 received a packet(proto=1, 192.168.1.10:2589->8.8.8.8:2048) from LAN A. ";
    return record(first, tcpIn) + record(first, "allocate a new session-015a96aa") +
           record(first, "find a route: flag=04000000 gw-10.9.10.1 via port1") +
           record(first, "find SNAT: IP-10.9.10.51(from IPPOOL), port-63611") +
           record(first, "Allowed by Policy-22: SNAT") + record(first + 1, reply) +
           record(first + 1, "Find an existing session, id-015a96aa, reply direction") +
           record(first + 1, "DNAT 10.9.10.51:63611->192.168.20.2:63611") + record(first + 2, tcpIn) +
           record(first + 2, "Find an existing session, id-015a96aa, original direction") + record(first + 3, ping) +
           record(first + 3, "Denied by forward policy check (policy 0)");
}
} // namespace

class TestFlowReader : public QObject
{
    Q_OBJECT

private slots:
    void catalogue_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("fact");
        QTest::addColumn<QByteArray>("expected");
        // A message, the facts it yields (blank-separated) and what they read, joined with ';'.
        const QByteArray templates = R"(
vd-root:0 received a packet(proto=6, 192.168.20.2:63611->63.137.229.1:443) tun_id=0.0.0.0 from port6. flag [S], seq 3350385936, ack 0, win 64240 ~ src dst flags ~ 192.168.20.2:63611;63.137.229.1:443;S
vd-tp_mode received a packet(proto=6,1.1.1.1:5->2.2.2.2:23) from internal. ~ vdom in dst ~ tp_mode;internal;2.2.2.2:23
vd-vsys_ha:0 received a packet(proto=17, 1.1.1.1:5->2.2.2.2:53) from port1.v10.  ~ vdom in ~ vsys_ha;port1.v10
vd-root:0 received a packet(proto=6, 3ff5::100:10001->4ff5::13:80) from port1. ~ src in ~ 3ff5::100:10001;port11
vd-root:0 received a packet(proto=1, 1.1.1.1:7->2.2.2.2:2048) tun_id=9.9.9.9 from LAN A. type=3, code=1, id=9, seq=4. ~ icmp in tun ~ 3/1/9/4;LAN A;9.9.9.9
vd-root:0 received a packet(proto=1, 1.1.1.1:4660->2.2.2.2:2049) tun_id=0.0.0.0 from local. ~ icmp dst tun ~ 8/1/4660/-1;2.2.2.2;
vd-root:0 received a packet(proto=1, 1.1.1.1:4660->2.2.2.2:0) from local. ~ icmp ~ 0/0/4660/-1
vd-root received a packet(proto=1, 1.1.1.1:512->2.2.2.2:8) from port1. ~ icmp src ~ 8/-1/-1/-1;1.1.1.1
allocate a new session-000ee70c, tun_id=0.0.0.0 ~ session ~ created 000ee70c/
Find an existing session, id-015a96aa, reply direction ~ session verdict ~ existing 015a96aa/reply;forwarded none 1
enter fast path ~ stage ~ session enter fast path
outgoing dev changed:port1->port2 dir=reply, drop ~ verdict ~ dropped asymmetric 1
no session matched ~ verdict ~ dropped no-session 1
Session is in BLOCK state. Drop the packet. ~ verdict ~ dropped session-blocked 1
VIP-10.0.0.5:8080, outdev-port1 ~ dnat ~ 10.0.0.5:80801
find DNAT: IP-10.0.0.6, port-443 ~ dnat ~ 10.0.0.6:443
find DNAT: IP-10.0.0.6, port-0(fixed port) ~ dnat ~ 10.0.0.6
DNAT 1.1.1.1:80->10.0.0.7:8080 ~ dnat ~ 10.0.0.7:8080
find a route: flag=04000000 gw-10.0.0.1 via port2 ~ route ~ 10.0.0.1|port2||
find a route: flags=00000000 gw-10.0.0.1 via wan 1 ~ route ~ 10.0.0.1|wan 1||
find a route: gw-10.0.0.1 via port3 ~ route ~ 10.0.0.1|port3||
find a route: gw-fe80::1 via port4 err 0 flags 01000001 ~ route ~ fe80::1|port4||
find a route: flag=80000000 gw-10.0.0.2 via root ~ route verdict ~ 10.0.0.2|root|1|;allowed none 1
Match policy routing id=2130837505: to 8.8.8.8 via ifindex-7 ~ route ~ |||2130837505
reverse path check fail, drop ~ verdict ~ dropped reverse-path 1
Allowed by Policy-22: SNAT ~ policy verdict ~ 22|;allowed none 1
Allowed by Policy-5: ~ policy ~ 5|
Allowed by Policy-3: encrypt ~ policy ~ 3|
Denied by forward policy check (policy 0) ~ policy verdict ~ 0|;dropped implicit-deny 1
Denied by forward policy check (policy 7) ~ policy verdict ~ 7|;dropped deny-policy 1
Denied by forward policy check ~ verdict ~ dropped deny-policy 1
iprope_in_check() check failed on policy 1, drop ~ policy verdict ~ 11|;dropped local-in 1
iprope_in_check() check failed, drop ~ verdict ~ dropped local-in 1
Check policy between port1 -> port2 ~ stage ~ policy Check policy between port1 -> port2
checked gnum-100004 policy-1, ret-matched, act-accept ~ stage verdict ~ policy checked gnum-100004 policy-1, ret-matched, act-accept;unknown none -1
after check: ret-matched, act-drop, flag-00000000, flag2-00000000 ~ verdict ~ dropped iprope 1
Denied by quota check ~ verdict ~ dropped quota 1
find SNAT: IP-10.9.10.51(from IPPOOL), port-63611 ~ snat ~ 10.9.10.51:63611||-1
SNAT 192.168.20.2->10.9.10.51:63611 ~ snat ~ 10.9.10.51:63611||-1
NAT disabled by central SNAT policy! ~ stage ~ snat NAT disabled by central SNAT policy!
enter IPSec interface to-HQ, tun_id=10.0.0.1 ~ ipsec ~ to-HQ|
enter IPsec interface-vpn1 ~ ipsec ~ vpn1|
enter IPsec tunnel-p1name ~ ipsec ~ p1name|
output to IPSec tunnel to-HQ_0, tun_id=10.0.0.1, vrf 0 ~ ipsec ~ to-HQ_0|
IPsec encrypt/auth ~ ipsec ~ |1
encrypted, and send to 10.2.2.100 with source 10.1.1.100 ~ ipsec ~ |1
send to 10.0.0.1 via intf-port1 ~ stage ~ ipsec send to 10.0.0.1 via intf-port1
No matching IPsec selector, drop ~ verdict ~ dropped ipsec-selector 1
SA is not ready yet, drop ~ verdict ~ dropped sa-not-ready 1
send to ips ~ inspection ~ ips
send to application layer ~ inspection ~ application layer
npu session installation succeeded ~ inspection ~ 1
Trying to offloading session from port1 to port2 ~ stage ~ offload Trying to offloading session from port1 to port2
send out via dev-port3, dst-mac-00:1d:09:1c:2f:3d ~ route ~ |port3||
replay packet, drop ~ verdict ~ dropped replay 1
anti-replay check fails, drop ~ verdict ~ dropped replay 1
web filter said no, drop ~ verdict ~ dropped other 1
a = b, c: d -> [e] (f) ~ stage verdict ~ other a = b, c: d -> [e] (f);unknown none -1)";
        const QByteArrayList shapes = QByteArray("|trace_id=%1 |id=65308 trace_id=%1 func=fw_forward_handler line=881 |"
                                                 "2022-11-30 19:54:07 id=20085 trace_id=%1 func=f line=1 |[FPC06]  "
                                                 "id=20085 trace_id=%1 |FGT1 (Vdom1) # id=20085 trace_id=%1 |id=36870 "
                                                 "pri=emergency trace_id=%1 ")
                                          .split('|');
        for (const QByteArray &row : templates.trimmed().split('\n')) {
            const QByteArrayList columns = QByteArray(row).replace(" ~ ", "~").split('~');
            const QByteArray &message = columns[0];
            for (const QByteArray &shape : shapes) {
                const QByteArray text = message.contains("received a packet")
                                            ? record(7, message, shape)
                                            : record(7, tcpIn, shape) + record(7, message, shape);
                QTest::addRow("%s / %s", message.constData(), shape.constData()) << text << columns[1] << columns[2];
            }
        }
    }

    void catalogue()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, fact);
        QFETCH(QByteArray, expected);
        const Reading r = read(text);
        QCOMPARE(r.warnings, Lines{});
        QCOMPARE(r.traces.size(), 1);
        QByteArrayList read;
        for (const QByteArray &name : fact.split(' '))
            read << facts(r.traces[0])[name];
        QCOMPARE(read.join(';'), expected);
    }

    void damagedPastes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("traces");
        QTest::addColumn<Lines>("warnings");
        QTest::addColumn<QByteArray>("check"); // "trace:fact=value", or empty: the same facts as undamaged
        const QByteArray s = sample();
        const auto same = [&](const char *name, const QByteArray &text) {
            QTest::newRow(name) << text << 4 << Lines{} << QByteArray();
        };
        same("wrapped inside a token", QByteArray(s).replace("session-015a96aa\"", "session-015a\n96aa\""));
        same("wrapped before msg=", QByteArray(s).replace(" line=9 msg=\"find", " line=9\nmsg=\"find"));
        same("wrapped at the arrow", QByteArray(s).replace("63611->63.137", "63611-\n>63.137"));
        same("wrapped inside a prefix", QByteArray(s).replace("trace_id=573 func=f", "trace_id=573 fu\nnc=f"));
        same("joined on one line", QByteArray(s).replace("\"\nid=", "\" id="));
        same("CRLF", QByteArray(s).replace("\n", "\r\n"));
        same("mixed line ends", QByteArray(s).replace("\nid=65308 trace_id=572", "\r\r\nid=65308 trace_id=572"));
        same("HTML entities", QByteArray(s).replace("\"", "&quot;").replace("->", "-&gt;").replace("(", "&#40;"));
        same("&#10; for line ends", QByteArray(s).replace("\n", "&#10;"));
        same("typographic quotes", QByteArray(s).replace("msg=\"", "msg=\u201c").replace("\"\n", "\u201d\n"));
        same("prompts and echoed commands", "FGT # diagnose debug flow trace start 10\n#diagnose debug enable\nshow "
                                            "function name\nFGT (root) # " +
                                                s + "FGT # diagnose debug disable\n");
        same("indented, quoted and wrapped",
             "    > " + QByteArray(s).replace("session-015a96aa\"", "session-015a\n96aa\"").replace("\n", "\n    > "));
        same("other output mixed in", QByteArray(s).replace("\nid=65308 trace_id=572",
                                                            "\n7.576093 port1 in 192.168.77.77.53750 -> "
                                                            "192.168.77.1.161: udp 53\nsession info: proto=6 "
                                                            "proto_state=01\nsnmpd: trap sent\nid=65308 trace_id=572"));
        same("annotations, ellipses, bold and blank lines",
             QByteArray(s)
                 .replace("SNAT\"\n", "SNAT\"  <----- accepted by 22\n\n...\n")
                 .replace("msg=\"Denied", "**msg=\"Denied")
                 .replace("(policy 0)\"", "(policy 0)\"** --> the implicit deny"));
        QTest::newRow("cut short, the next record starts")
            << QByteArray(s).replace("Policy-22: SNAT\"", "Policy-22: SN").replace("\n", "\r\r\n") << 4 << Lines{5}
            << QByteArray("0:policy=22|");
        QTest::newRow("the text ends inside a record")
            << s.chopped(12) << 4 << Lines{12} << QByteArray("3:verdict=dropped deny-policy 1");
        QTest::newRow("a line of 2 MiB") << s + QByteArray(2 << 20, 'x') + '\n' + sample(900) << 8 << Lines{13}
                                         << QByteArray("7:id=/903");
    }

    void damagedPastes()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, traces);
        QFETCH(Lines, warnings);
        QFETCH(QByteArray, check);
        const Reading r = read(text);
        QCOMPARE(r.warnings, warnings);
        QCOMPARE(r.traces.size(), traces);
        if (check.isEmpty()) {
            QCOMPARE(r.all, read(sample()).all);
        } else {
            const QByteArrayList parts = check.split(':');
            QCOMPARE(facts(r.traces[parts[0].toInt()])[parts[1].split('=')[0]], parts[1].split('=')[1]);
        }
        // However the text is sliced, the same traces and warnings.
        QList<qsizetype> everyByte;
        for (qsizetype cut = 1; text.size() < 8192 && cut < text.size(); ++cut) {
            const Reading pieces = read(text, {cut});
            QCOMPARE(pieces.all, r.all);
            QCOMPARE(pieces.warnings, r.warnings);
            everyByte << cut;
        }
        QCOMPARE(read(text, everyByte).all, r.all);
    }

    void groupingAndSessions()
    {
        // Two processors of a chassis print the same trace id for different packets, interleaved.
        const QByteArray tcp = "vd-root:0 received a packet(proto=6, 10.0.0.1:100%1->10.0.0.9:80) from port1. ";
        Reading r = read(record(2, QByteArray(tcp).replace("%1", "6"), "[FPC06] trace_id=%1 ") +
                         record(2, QByteArray(tcp).replace("%1", "7"), "[FPC07] trace_id=%1 ") +
                         record(2, "Allowed by Policy-3:", "[FPC07] trace_id=%1 ") +
                         record(2, "Denied by forward policy check (policy 0)", "[FPC06] trace_id=%1 "));
        QCOMPARE(r.traces.size(), 2);
        QCOMPARE(facts(r.traces[0])["src"] + facts(r.traces[0])["verdict"], "10.0.0.1:1006dropped implicit-deny 1");
        QCOMPARE(facts(r.traces[1])["src"] + facts(r.traces[1])["verdict"], "10.0.0.1:1007allowed none 1");

        // The same ids pasted twice: each paste's packets stay apart, and inherit from their own session.
        r = read(sample() + sample());
        QCOMPARE(r.traces.size(), 8);
        for (const qsizetype first : {0, 4}) {
            QCOMPARE(facts(r.traces[first + 1])["policy"], "22|1"); // the reply has its own DNAT
            QCOMPARE(facts(r.traces[first + 1])["snat"], "||" + QByteArray::number(first));
            QCOMPARE(facts(r.traces[first + 2])["snat"], "10.9.10.51:63611|1|" + QByteArray::number(first));
            QCOMPARE(facts(r.traces[first + 2])["verdict"], "forwarded none 1");
            QCOMPARE(facts(r.traces[first + 3])["snat"], "||-1");
        }

        // A later packet with a policy and NAT of its own keeps them.
        r = read(sample() + record(9, tcpIn) + record(9, "Find an existing session, id-015a96aa, original direction") +
                 record(9, "Allowed by Policy-9:") + record(9, "SNAT 1.1.1.1->2.2.2.2:5"));
        QCOMPARE(facts(r.traces[4])["policy"] + facts(r.traces[4])["snat"], "9|2.2.2.2:5||-1");

        // Records whose packet was not printed are read as one of their own, with one warning.
        r = read(sample() + record(99, "Allowed by Policy-1:") + record(99, "SNAT 1.1.1.1->2.2.2.2:5"));
        QCOMPARE(r.warnings, Lines{13});
        QCOMPARE(r.traces.size(), 5);
        QCOMPARE(r.traces[4].received, false);
        QCOMPARE(r.traces[4].records.size(), 2);

        // A processor that falls silent holds back no later packet for long.
        qint64 given = 0;
        FlowReader reader([&](FlowTrace &&) { ++given; }, {});
        reader.feed(record(1, tcpIn, "[FPC06] trace_id=%1 "));
        for (int id = 1; id <= 300; ++id)
            reader.feed(sample(id * 4));
        QVERIFY2(given > 1000, QByteArray::number(given));
    }

    void sessionsForgottenOldestFirst()
    {
        QList<FlowTrace> traces;
        qint64 warnings = 0;
        FlowReader reader([&](FlowTrace &&t) { traces << t; }, [&](const FlowReader::Warning &) { ++warnings; });
        const auto packet = [&](qint64 id, const QByteArray &session, const QByteArray &tag = {}) {
            const QByteArray shape = tag + "trace_id=%1 ";
            reader.feed(record(id, tcpIn, shape) + record(id, session, shape));
        };
        const qint64 kept = 1 << 16;
        for (qint64 n = 1; n <= kept + 1; ++n) {
            packet(n, "allocate a new session-" + QByteArray::number(n, 16));
            reader.feed(record(n, "Allowed by Policy-" + QByteArray::number(n) + ":"));
        }
        packet(1, "Find an existing session, id-1, reply direction");
        packet(2, "Find an existing session, id-10001, reply direction");
        packet(3, "Find an existing session, id-10001, reply direction", "[FPC06] ");
        reader.finish();
        QCOMPARE(warnings, 1);
        QCOMPARE(traces.size(), kept + 4);
        QCOMPARE(facts(traces[kept + 1])["policy"], "|");
        QCOMPARE(facts(traces[kept + 2])["policy"], QByteArray::number(kept + 1) + "|1");
        QCOMPARE(facts(traces[kept + 3])["policy"], "|");
    }
};

QTEST_GUILESS_MAIN(TestFlowReader)
#include "tst_flowreader.moc"
