#include "builders/bpfbuilderform.h"
#include "builders/categoryforms.h"
#include "builders/formregistry.h"
#include "help/helptopic.h"

#include <QSet>
#include <QTest>

#include <type_traits>

using namespace Qt::StringLiterals;

namespace {

bool setBpfField(BPFBuilderForm &form, const QString &name, const QString &value)
{
    for (const auto &f : BPFBuilderForm::fields()) {
        if (f.name == name)
            return f.set(form, value);
    }
    return false;
}

// A subject is a registry category by case name, or "bpf" for the BPF builder.
QList<AnyForm::Field> fieldsOf(const QString &subject)
{
    if (subject != u"bpf")
        return FormRegistry::create(*Enum::fromCaseName<DebugCategory>(subject))->fields();
    const BPFBuilderForm defaults;
    QList<AnyForm::Field> fields;
    for (const auto &f : BPFBuilderForm::fields())
        fields.append({f.name, f.kind, f.get(defaults), f.choices});
    return fields;
}

// A fresh form after FIELD=VALUE settings, applied in order through the field table: its command, its
// title, then one entry per refused setting, so that a refusal never passes for an equal text.
QStringList run(const QString &subject, const QStringList &settings)
{
    BPFBuilderForm bpf;
    const auto form = subject == u"bpf" ? nullptr : FormRegistry::create(*Enum::fromCaseName<DebugCategory>(subject));
    QStringList out;
    for (const QString &setting : settings) {
        const qsizetype equals = setting.indexOf(u'=');
        const QString name = setting.left(equals), value = setting.mid(equals + 1);
        if (!(form ? form->setField(name, value) : setBpfField(bpf, name, value)))
            out << u"refused "_s + setting;
    }
    if (form)
        return QStringList{form->generatedCommand(), form->title()} + out;
    const QString snippets = bpf.rawSnippet() + u'\n' + bpf.decoratedSnippet();
    return QStringList{snippets + u'\n' + bpf.addToFilter(u" tcp "_s), QString()} + out;
}

QStringList with(QStringList settings, const AnyForm::Field &f, const QString &value)
{
    return settings << f.name + u'=' + value;
}

// The settings each property is checked under: the defaults, every text field filled, and that with
// every flag on; each of them also with one enumeration field at each of its cases.
QList<QStringList> contexts(const QString &subject)
{
    QStringList filled, flagsOn;
    for (const auto &f : fieldsOf(subject)) {
        if (f.kind == FieldKind::Text || f.kind == FieldKind::MultiLineText)
            filled = with(filled, f, f.name.toLower());
        else if (f.kind == FieldKind::Flag)
            flagsOn = with(flagsOn, f, u"true"_s);
    }
    QList<QStringList> result;
    for (const QStringList &base : {QStringList(), filled, filled + flagsOn}) {
        result << base;
        for (const auto &f : fieldsOf(subject)) {
            for (const QString &choice : f.choices)
                result << with(base, f, choice);
        }
    }
    return result;
}

// Empty when both settings give the same output, else both outputs: the properties run thousands of
// cases, and a failure must say which.
QString differs(const QString &subject, const QStringList &a, const QStringList &b, bool withTitle = true)
{
    QStringList outA = run(subject, a), outB = run(subject, b);
    if (!withTitle)
        outA[1] = outB[1] = QString();
    if (outA == outB)
        return {};
    return u"%1\n  gives %2\n%3\n  gives %4"_s.arg(a.join(u" | "), outA.join(u" / "), b.join(u" | "),
                                                   outB.join(u" / "));
}

// Each case found by its raw value, the text the pickers show, so that no two share one. (No two share a case name
// either: everyField, the command line's tests and the BPF builder's buttons would show it.)
template <typename E> void checkTable()
{
    const QList<E> cases = Enum::allCases<E>();
    const QStringList raws = Enum::rawValues<E>();
    for (qsizetype i = 0; i < cases.size(); ++i) {
        QVERIFY2(Enum::fromRawValue<E>(raws.at(i)) == cases.at(i), qPrintable(raws.at(i)));
        // A protocol number is both shown, as in "TCP (6)", and emitted: the two must agree.
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(Enum::payload(cases.at(i)))>, int>) {
            const int number = Enum::payload(cases.at(i));
            QVERIFY2(number == 0 ? !raws.at(i).contains(u'(') : raws.at(i).endsWith(u" (%1)"_s.arg(number)),
                     qPrintable(raws.at(i)));
        }
    }
}

template <typename... E> void checkTables()
{
    (checkTable<E>(), ...);
}

} // namespace

#define VERIFY_SAME(...)                                                                                               \
    do {                                                                                                               \
        const QString d_ = differs(__VA_ARGS__);                                                                       \
        QVERIFY2(d_.isEmpty(), qPrintable(d_));                                                                        \
    } while (false)

class TestBuilders : public QObject
{
    Q_OBJECT

private slots:
    void command_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("settings"); // FIELD=VALUE, separated by |
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title"); // checked when not empty
        const auto row = [](const char *name, const char *category, const QString &settings, const QString &command,
                            const QString &title = {}) {
            QTest::newRow(name) << QString::fromLatin1(category) << settings << command << title;
        };
        const QString stop = u"\n\n# When finished, stop the debug:\ndiagnose debug disable\ndiagnose debug reset"_s;

        row("session defaults", "session", {}, u"diagnose sys session filter clear\ndiagnose sys session list"_s);
        row("session: every line in order, as typed", "session",
            u"src= 10.1.1.10|dst=8.8.8.8\t|srcPort=\u300054321|dstPort=443|proto=tcp|vdom=3|negate=1|stats=1"_s,
            u"diagnose sys session filter clear\ndiagnose sys session filter vd 3\n"
            u"diagnose sys session filter src  10.1.1.10\ndiagnose sys session filter dst 8.8.8.8\t\n"
            u"diagnose sys session filter sport \u300054321\ndiagnose sys session filter dport 443\n"
            u"diagnose sys session filter proto 6\ndiagnose sys session filter negate\n"
            u"diagnose sys session stat\ndiagnose sys session list"_s);

        row("flow defaults", "flow", {},
            u"diagnose debug disable\ndiagnose debug reset\ndiagnose debug flow filter clear\n"
            u"diagnose debug flow show function-name enable\ndiagnose debug console timestamp enable\n"
            u"diagnose debug flow trace start 1000\ndiagnose debug enable"_s +
                stop);
        row("flow: every line in order, vdom first, as typed", "flow",
            u"resetFirst=0|includeStopBlock=0|addr= 10.0.0.1|saddr=10.0.0.2|daddr=10.0.0.3|port=53|sport=\u30001024|"
            u"dport=80|proto=udp|vdom=root|showIprope=1|traceCount=\u00A050\t"_s,
            u"diagnose debug flow filter clear\ndiagnose debug flow filter vd root\n"
            u"diagnose debug flow filter addr  10.0.0.1\ndiagnose debug flow filter saddr 10.0.0.2\n"
            u"diagnose debug flow filter daddr 10.0.0.3\ndiagnose debug flow filter port 53\n"
            u"diagnose debug flow filter sport \u30001024\ndiagnose debug flow filter dport 80\n"
            u"diagnose debug flow filter proto 17\ndiagnose debug flow show function-name enable\n"
            u"diagnose debug flow show iprope enable\ndiagnose debug console timestamp enable\n"
            u"diagnose debug flow trace start \u00A050\t\ndiagnose debug enable"_s);

        row("ping: options in order, target last, as typed", "ping",
            u"target=\u00A0host.example\t|source=10.0.0.1|interface=port1|repeatCount= 5|timeout=2|dataSize=1400|"
            u"tos=46|pattern=ff|dfBit=1|adaptive=1|validateReply=1"_s,
            u"exec ping-options source 10.0.0.1\nexec ping-options interface port1\nexec ping-options repeat-count  5\n"
            u"exec ping-options timeout 2\nexec ping-options data-size 1400\nexec ping-options tos 46\n"
            u"exec ping-options pattern ff\nexec ping-options df-bit yes\nexec ping-options adaptive-ping yes\n"
            u"exec ping-options validate-reply yes\nexec ping-options view-settings\nexec ping \u00A0host.example\t"_s,
            u"Ping to \u00A0host.example\t"_s);
        row("ping: a target of spaces names it in the title only", "ping", u"target=   "_s,
            u"exec ping-options view-settings"_s, u"Ping to    "_s);

        row("traceroute defaults", "traceroute", {}, u"exec traceroute-options view-settings"_s,
            u"Traceroute to target"_s);
        row("traceroute: options in order, target last, as typed", "traceroute",
            u"target=example.net |source=192.0.2.1|device=port2|queries=1|minTTL=2|maxTTL=30|waitTime=\u30005"_s,
            u"exec traceroute-options source 192.0.2.1\nexec traceroute-options device port2\n"
            u"exec traceroute-options queries 1\nexec traceroute-options min-ttl 2\n"
            u"exec traceroute-options max-ttl 30\nexec traceroute-options wait \u30005\n"
            u"exec traceroute-options view-settings\nexec traceroute example.net "_s,
            u"Traceroute to example.net "_s);

        row("vpn defaults", "vpn", {},
            u"diagnose vpn ike gateway list\ndiagnose vpn tunnel list\n\n# Live IKE debug:\n"
            u"diagnose vpn ike log filter clear\ndiagnose debug console timestamp enable\n"
            u"diagnose debug application ike -1\ndiagnose debug enable"_s +
                stop);
        row("vpn: names filter status and debug, as typed", "vpn",
            u"gatewayName= gw1|tunnelName=t1 |peerIP=203.0.113.5|ikeDebugLevel= 7|includeStopBlock=0"_s,
            u"diagnose vpn ike gateway list name  gw1\ndiagnose vpn tunnel list name t1 \n\n# Live IKE debug:\n"
            u"diagnose vpn ike log filter clear\ndiagnose vpn ike log filter name  gw1\n"
            u"diagnose vpn ike log filter dst-addr4 203.0.113.5\ndiagnose debug console timestamp enable\n"
            u"diagnose debug application ike  7\ndiagnose debug enable"_s);
        row("vpn: tunnel name unused without the status lines", "vpn",
            u"showTunnelStatus=0|timestamps=0|includeStopBlock=0|tunnelName=P2"_s,
            u"# Live IKE debug:\ndiagnose vpn ike log filter clear\ndiagnose debug application ike -1\n"
            u"diagnose debug enable"_s);

        row("top defaults", "top", {}, u"get system performance status\n\ndiagnose sys top"_s);
        row("top: companions in order, delay and lines trimmed", "top",
            u"addPerfTop=1|addSysinfoMem=1|addSysinfoCPU=1|addSysinfoInterrupts=1|addSysinfoShm=1|addConserveMode=1|"
            u"variant=topIO|delay=\u3000 2\u00A0|maxLines=\t8 "_s,
            u"get system performance status\nget system performance top\ndiagnose hardware sysinfo memory\n"
            u"diagnose hardware sysinfo cpu\ndiagnose hardware sysinfo interrupts\ndiagnose hardware sysinfo shm\n"
            u"diagnose hardware sysinfo conserve\n\ndiagnose sys top-io 2 8"_s);
        row("top: lines need the default delay", "top", u"addPerfStatus=0|variant=topSummary|maxLines=50"_s,
            u"diagnose sys top-summary 5 50"_s);
        row("top-mem: delay ignored", "top", u"addPerfStatus=0|variant=topMem|delay=3|maxLines=10"_s,
            u"diagnose sys top-mem 10"_s);
        row("top-mem: no default delay", "top", u"addPerfStatus=0|variant=topMem|maxLines=7"_s,
            u"diagnose sys top-mem 7"_s);

        row("ha defaults", "ha", {},
            u"get system ha status\ndiagnose sys ha status\ndiagnose sys ha checksum cluster"_s);
        row("ha: everything in order, manage trimmed", "ha",
            u"showNonSync=1|showDump=1|syncAll=1|resetUptime=1|manageIndex= 0 |manageAdmin=\tadmin |debugHatalk=1|"
            u"debugHasync=1"_s,
            u"get system ha status\ndiagnose sys ha status\ndiagnose sys ha checksum cluster\n"
            u"diagnose sys ha checksum show global\ndiagnose sys ha checksum show root\n"
            u"diagnose sys ha dump-by all-vcluster\ndiagnose sys ha dump-by group\ndiagnose sys ha dump-by vcluster\n"
            u"diagnose sys ha reset-uptime\nexecute ha synchronize all\nexecute ha manage 0 admin\n\n"
            u"# Live HA debug:\ndiagnose debug console timestamp enable\ndiagnose debug application hatalk -1\n"
            u"diagnose debug application hasync -1\ndiagnose debug enable"_s +
                stop);
        row("ha: admin without index, debug options without daemon", "ha",
            u"showStatus=0|showChecksum=0|manageAdmin=admin"_s, QString());
        row("ha: index alone", "ha", u"showStatus=0|showChecksum=0|manageIndex=\u30002 "_s, u"execute ha manage 2"_s);
        row("ha: one daemon, no timestamps, no stop block", "ha",
            u"showStatus=0|showChecksum=0|debugHasync=1|timestamps=0|includeStopBlock=0"_s,
            u"\n# Live HA debug:\ndiagnose debug application hasync -1\ndiagnose debug enable"_s);

        row("routing: ospf by default; other areas ignored", "routing",
            u"bgpDebug=1|bgpNeighborIP=10.0.0.1|staticAll=1|staticDetailsIP=8.8.8.8|staticPBR=1"_s,
            u"get router info ospf status\nget router info ospf neighbor\nget router info routing-table ospf"_s,
            u"OSPF Routing"_s);
        row("ospf: every view, daemon off first in the stop block", "routing",
            u"ospfInterface=1|ospfDatabase=1|ospfDebug=1"_s,
            u"get router info ospf status\nget router info ospf neighbor\nget router info ospf interface\n"
            u"get router info ospf database\nget router info routing-table ospf\n\n# Live OSPF debug:\n"
            u"diagnose debug console timestamp enable\ndiagnose ip router ospf all enable\n"
            u"diagnose ip router ospf level info\ndiagnose debug enable\n\n# When finished, stop the debug:\n"
            u"diagnose ip router ospf all disable\ndiagnose debug disable\ndiagnose debug reset"_s);
        row("bgp: neighbour views need an address; other areas ignored", "routing",
            u"proto=bgp|bgpNeighborIP=\u3000|bgpNeighborRoutes=1|bgpAdvertisedRoutes=1|ospfDebug=1|staticPBR=1"_s,
            u"get router info bgp summary"_s, u"BGP Routing"_s);
        row("bgp: every view, neighbour trimmed", "routing",
            u"proto=bgp|bgpNeighborIP= 10.0.0.2 |bgpNeighborRoutes=1|bgpAdvertisedRoutes=1|bgpNetwork=1"_s,
            u"get router info bgp summary\nget router info bgp neighbors 10.0.0.2\n"
            u"get router info bgp neighbors 10.0.0.2 routes\nget router info bgp neighbors 10.0.0.2 advertised-routes\n"
            u"get router info bgp network"_s);
        row("bgp: advertised alone, no timestamps, no stop block", "routing",
            u"proto=bgp|bgpSummary=0|bgpNeighborIP=h|bgpAdvertisedRoutes=1|bgpDebug=1|timestamps=0|"
            u"includeStopBlock=0"_s,
            u"get router info bgp neighbors h\nget router info bgp neighbors h advertised-routes\n\n"
            u"# Live BGP debug:\ndiagnose ip router bgp all enable\ndiagnose ip router bgp level info\n"
            u"diagnose debug enable"_s);
        row("static: everything, lookup trimmed; debug and other areas ignored", "routing",
            u"proto=staticR|staticAll=1|staticDatabase=1|staticPBR=1|staticDetailsIP= \t10.9.8.7\u00A0|ospfDebug=1|"
            u"bgpDebug=1|bgpNeighborIP=10.0.0.1"_s,
            u"get router info routing-table static\nget router info routing-table all\n"
            u"get router info routing-table database\nget router info routing-table details 10.9.8.7\n"
            u"diagnose firewall proute list\ndiagnose firewall proute6 list"_s,
            u"Static Routing"_s);

        row("sniffer defaults", "sniffer", {}, u"diagnose sniffer packet any 'none' 4 0 l"_s, u"Sniffer on any"_s);
        row("sniffer: port list, empty and Unicode-space pieces dropped", "sniffer",
            u"portList=\u00A080,\u2003,\t443\u3000,22|portMode=src"_s,
            u"diagnose sniffer packet any '(src port 80 or src port 443 or src port 22)' 4 0 l"_s);
        row("sniffer: fixed term order, values trimmed, one port bare", "sniffer",
            u"portList=22|network= 192.168.0.0/24 |networkMode=src|host=\u00A010.0.0.1\u3000|hostMode=dst|proto=gre"_s,
            u"diagnose sniffer packet any 'gre and dst host 10.0.0.1 and src net 192.168.0.0/24 and port 22' 4 0 l"_s);
        row("sniffer: interface trimmed, relative with count, blank custom filter is none", "sniffer",
            u"interface= port1 |verbose=v6|count=9|timestamp=relative|proto=tcp|useCustomFilter=1|"
            u"customFilter= \t\u3000"_s,
            u"diagnose sniffer packet port1 'none' 6 9"_s, u"Sniffer on  port1 "_s);
        row("sniffer: relative without count, interface of spaces", "sniffer", u"interface=   |timestamp=relative"_s,
            u"diagnose sniffer packet any 'none' 4"_s, u"Sniffer on    "_s);
        row("sniffer: count trimmed, UTC, custom filter unused while off", "sniffer",
            u"count= \t250\u00A0|timestamp=absoluteUTC|customFilter=arp|host=1.1.1.1"_s,
            u"diagnose sniffer packet any 'host 1.1.1.1' 4 250 a"_s);
        row("sniffer: custom filter replaces the fields, keeps quotes and line breaks", "sniffer",
            u"proto=tcp|host=1.1.1.1|useCustomFilter=1|customFilter= \thost 1.2.3.4 and port '22'\nor arp\n"_s,
            u"diagnose sniffer packet any 'host 1.2.3.4 and port '22'\nor arp\n' 4 0 l"_s);
    }

    void command()
    {
        QFETCH(QString, category);
        QFETCH(QString, settings);
        QFETCH(QString, command);
        QFETCH(QString, title);
        QVERIFY(Enum::fromCaseName<DebugCategory>(category));
        const QStringList out = run(category, settings.split(u'|', Qt::SkipEmptyParts));
        QCOMPARE(out, (QStringList{command, title.isEmpty() ? out.at(1) : title})); // and nothing refused
    }

    void bpfSnippet_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("decorated"); // empty for the raw snippet in parentheses
        const auto row = [](const char *name, const QString &settings, const QString &raw,
                            const QString &decorated = {}) { QTest::newRow(name) << settings << raw << decorated; };
        row("defaults: no host, no snippet", {}, {});
        row("source host, trimmed", u"hostIP= 10.0.0.1\t|hostDir=src"_s, u"src host 10.0.0.1"_s);
        row("unwrapped", u"hostIP=10.0.0.1|hostDir=dst|wrapInParens=0"_s, u"dst host 10.0.0.1"_s,
            u"dst host 10.0.0.1"_s);
        row("negate brings one pair", u"hostIP=1.1.1.1|negate=1"_s, u"host 1.1.1.1"_s, u"not (host 1.1.1.1)"_s);
        row("negate without wrap", u"hostIP=1.1.1.1|negate=1|wrapInParens=0"_s, u"host 1.1.1.1"_s,
            u"not (host 1.1.1.1)"_s);
        row("network; other types' values unused",
            u"type=network|networkCIDR=\u3000192.168.0.0/24|networkDir=dst|hostIP=x"_s, u"dst net 192.168.0.0/24"_s);
        row("ports", u"type=port|portList=53,\u00A0, 123 |portDir=src"_s, u"(src port 53 or src port 123)"_s);
        row("protocol", u"type=ipProtocol|bpfProto=icmp6"_s, u"icmp6"_s);
        row("MAC, either", u"type=etherHost|mac=aa:bb:cc:dd:ee:ff "_s, u"ether host aa:bb:cc:dd:ee:ff"_s);
        row("MAC, source", u"type=etherHost|mac=00:11:22:33:44:55|macDir=src"_s, u"ether src 00:11:22:33:44:55"_s);
        row("blank VLAN: any tag", u"type=vlan|vlanID=\t"_s, u"vlan"_s);
        row("VLAN", u"type=vlan|vlanID= 100 "_s, u"vlan 100"_s);
        row("SYN by default", u"type=tcpFlag"_s, u"tcp[tcpflags] & tcp-syn != 0"_s);
        row("no flag, no snippet", u"type=tcpFlag|flagSyn=0"_s, {});
        row("exact flags", u"type=tcpFlag|flagAck=1|flagMode=exact"_s,
            u"tcp[tcpflags] & (tcp-syn|tcp-ack) == (tcp-syn|tcp-ack)"_s);
        row("every flag in order", u"type=tcpFlag|flagAck=1|flagFin=1|flagRst=1|flagPsh=1|flagUrg=1"_s,
            u"tcp[tcpflags] & (tcp-syn|tcp-ack|tcp-fin|tcp-rst|tcp-push|tcp-urg) != 0"_s);
        row("ICMP type", u"type=icmpType|icmp=timeExceeded"_s, u"icmp[icmptype] == icmp-timxceed"_s);
        row("broadcast", u"type=etherBroadcast"_s, u"ether broadcast"_s);
        row("multicast", u"type=etherMulticast"_s, u"ether multicast"_s);
        row("IP version", u"type=ipVersion|ipVer=v6"_s, u"ip6"_s);
        row("EtherType", u"type=etherProto|etherProtoNum= 0x0806"_s, u"ether proto 0x0806"_s);
        row("IP protocol number", u"type=ipProto|ipProtoNum=47"_s, u"ip proto 47"_s);
    }

    void bpfSnippet()
    {
        QFETCH(QString, settings);
        QFETCH(QString, raw);
        QFETCH(QString, decorated);
        const QString shown = decorated.isEmpty() ? u'(' + raw + u')' : decorated;
        // "Add to Filter" leaves the filter as it is, untrimmed, while there is no snippet.
        const QString added = raw.isEmpty() ? u" tcp "_s : u"tcp and "_s + shown;
        QCOMPARE(run(u"bpf"_s, settings.split(u'|', Qt::SkipEmptyParts)),
                 (QStringList{raw + u'\n' + shown + u'\n' + added, QString()}));
    }

    void bpfAppend_data()
    {
        QTest::addColumn<QString>("combinator");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("piece");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blank filter replaced") << u"or_"_s << u" \t\u00A0 "_s << u"arp"_s << true << u"(arp)"_s;
        QTest::newRow("line breaks stay")
            << u"and"_s << u"\ttcp\nport 80\n "_s << u"arp"_s << false << u"tcp\nport 80\n and arp"_s;
        QTest::newRow("or, empty piece joins") << u"or_"_s << u"tcp"_s << QString() << true << u"tcp or ()"_s;
    }

    // Presets ride along: whatever negate and wrapInParens say, a preset comes in parentheses.
    void bpfAppend()
    {
        QFETCH(QString, combinator);
        QFETCH(QString, filter);
        QFETCH(QString, piece);
        QFETCH(bool, wrap);
        QFETCH(QString, expected);
        BPFBuilderForm form;
        QVERIFY(setBpfField(form, u"combinator"_s, combinator));
        QCOMPARE(form.append(filter, piece, wrap), expected);
        form.negate = true;
        form.wrapInParens = false;
        for (auto preset : Enum::allCases<BPFBuilderForm::Preset>())
            QCOMPARE(form.addPreset(filter, preset), form.append(filter, BPFBuilderForm::expression(preset), true));
    }

    void everyField_data()
    {
        QTest::addColumn<QString>("subject");
        for (DebugCategory c : FormRegistry::builderCategories())
            QTest::newRow(qPrintable(Enum::caseName(c))) << Enum::caseName(c);
        QTest::newRow("bpf") << u"bpf"_s;
    }

    // Over every field, in every context: blanks add nothing (line breaks too, in a single-line text, where
    // each is a space: tst_text has the exact rule), the last value wins, defaults round-trip, only the listed
    // spellings are taken, and each value shows in the output under some context (a value nothing reads is a fault
    // too).
    void everyField()
    {
        QFETCH(QString, subject);
        const QList<QStringList> all = contexts(subject);
        for (const QStringList &context : all)
            QCOMPARE(run(subject, context).size(), 2); // every case, text and flag is taken
        for (const auto &f : fieldsOf(subject)) {
            VERIFY_SAME(subject, with({}, f, f.defaultValue), {});
            const QString breaks = u"\n\r\v\f\u0085\u2028\u2029"_s;
            QStringList blanks = {QString(), u"   "_s, u"\t"_s, u" \t\u00A0\u2003\u202F\u3000"_s};
            if (f.kind == FieldKind::Text)
                blanks << breaks;
            else if (f.kind != FieldKind::MultiLineText)
                blanks.clear();
            QList<std::pair<QString, QString>> pairs = {{u"first"_s, u"second"_s}, {u"first"_s, QString()}};
            QStringList wrong; // refused outright, leaving the form as it was
            if (f.kind == FieldKind::Flag) {
                pairs = {{u"true"_s, u"false"_s}, {u"false"_s, u"true"_s}};
                wrong = {QString(), u"TRUE"_s, u"False"_s, u"2"_s, u"y"_s, u" yes"_s, u"enable"_s};
            } else if (f.kind == FieldKind::Enumeration) {
                pairs = {{f.choices.first(), f.choices.last()}, {f.choices.last(), f.choices.first()}};
                const QString name = f.choices.last();
                wrong = {QString(), name + u' ', u' ' + name, name.toUpper(), name.chopped(1), u'x' + name, u"0"_s};
            }
            for (const QString &w : wrong) {
                if (!f.choices.contains(w))
                    QCOMPARE(run(subject, with({}, f, w)), run(subject, {}) << u"refused "_s + with({}, f, w)[0]);
            }
            QSet<std::pair<qsizetype, qsizetype>> told; // pairs of cases seen to differ
            bool shown = false;
            for (const QStringList &context : all) {
                const auto to = [&](const QString &value) { return with(context, f, value); };
                for (const QString &blank : blanks)
                    VERIFY_SAME(subject, to(blank), to(f.defaultValue), false);
                for (const auto &[first, then] : pairs)
                    VERIFY_SAME(subject, with(to(first), f, then), to(then));
                if (f.kind == FieldKind::Flag) {
                    for (const QString &on : {u"on"_s, u"yes"_s, u"1"_s})
                        VERIFY_SAME(subject, to(on), to(u"true"_s));
                    for (const QString &off : {u"off"_s, u"no"_s, u"0"_s})
                        VERIFY_SAME(subject, to(off), to(u"false"_s));
                    shown = shown || !differs(subject, to(u"true"_s), to(u"false"_s)).isEmpty();
                } else if (f.kind != FieldKind::Enumeration) {
                    shown = shown || run(subject, to(u"probe"_s)).join(u'\n').contains(u"probe");
                }
                for (qsizetype i = 0; i < f.choices.size(); ++i) {
                    for (qsizetype j = i + 1; j < f.choices.size(); ++j) {
                        if (!differs(subject, to(f.choices[i]), to(f.choices[j])).isEmpty())
                            told.insert({i, j});
                    }
                }
            }
            const qsizetype n = f.choices.size();
            QVERIFY2(f.kind == FieldKind::Enumeration ? told.size() == n * (n - 1) / 2 : shown, qPrintable(f.name));
        }
    }

    void enumerationTables()
    {
        using B = BPFBuilderForm;
        using S = SnifferForm;
        checkTables<DebugCategory, HelpTopic, SessionForm::SessionProto, FlowForm::FlowProto, SystemTopForm::Variant,
                    RoutingForm::RouteProto, S::HostMode, S::SnifferProto, S::VerboseLevel, S::TimestampFormat,
                    B::SnippetType, B::Combinator, B::HostDir, B::MacDir, B::BPFProto, B::FlagMode, B::ICMPType,
                    B::IPVer, B::Preset>();
    }
};

QTEST_GUILESS_MAIN(TestBuilders)
#include "tst_builders.moc"
