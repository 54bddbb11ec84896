#include "builders/bpfbuilderform.h"

#include <QTest>

using Form = BPFBuilderForm;
using Type = Form::SnippetType;
using Dir = Form::HostDir;
using Preset = Form::Preset;

class TestBPFBuilderForm : public QObject
{
    Q_OBJECT

private slots:
    void snippets_data();
    void snippets();
    void append_data();
    void append();
    void presets_data();
    void presets();
    void workedSequence();
    void enumerationTables();
};

namespace {
Form ofType(Type type)
{
    Form f;
    f.type = type;
    return f;
}
} // namespace

void TestBPFBuilderForm::snippets_data()
{
    QTest::addColumn<Form>("form");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("decorated");

    QTest::newRow("defaults: blank host gives nothing") << Form{} << QString() << QStringLiteral("()");

    Form host;
    host.hostIP = QStringLiteral(" 10.0.0.1\t");
    host.hostDir = Dir::src;
    QTest::newRow("source host, trimmed")
        << host << QStringLiteral("src host 10.0.0.1") << QStringLiteral("(src host 10.0.0.1)");
    host.hostDir = Dir::dst;
    host.wrapInParens = false;
    QTest::newRow("destination host, unwrapped")
        << host << QStringLiteral("dst host 10.0.0.1") << QStringLiteral("dst host 10.0.0.1");

    Form negated;
    negated.hostIP = QStringLiteral("1.1.1.1");
    negated.negate = true;
    QTest::newRow("negate wins over wrap: one pair")
        << negated << QStringLiteral("host 1.1.1.1") << QStringLiteral("not (host 1.1.1.1)");
    negated.wrapInParens = false;
    QTest::newRow("negate without wrap") << negated << QStringLiteral("host 1.1.1.1")
                                         << QStringLiteral("not (host 1.1.1.1)");

    Form net = ofType(Type::network);
    net.networkCIDR = QStringLiteral("\u3000192.168.0.0/24");
    net.networkDir = Dir::dst;
    net.hostIP = QStringLiteral("9.9.9.9"); // another type's parameter plays no part
    QTest::newRow("destination network") << net << QStringLiteral("dst net 192.168.0.0/24")
                                         << QStringLiteral("(dst net 192.168.0.0/24)");
    net.networkCIDR = QStringLiteral(" \t");
    QTest::newRow("blank network") << net << QString() << QStringLiteral("()");

    Form port = ofType(Type::port);
    port.portList = QStringLiteral("443");
    QTest::newRow("one port") << port << QStringLiteral("port 443") << QStringLiteral("(port 443)");
    port.portList = QStringLiteral("80,,443");
    QTest::newRow("empty piece dropped") << port << QStringLiteral("(port 80 or port 443)")
                                         << QStringLiteral("((port 80 or port 443))");
    port.portList = QStringLiteral(",");
    QTest::newRow("a comma alone") << port << QString() << QStringLiteral("()");
    port.portList = QStringLiteral("53,\u00A0, 123 ");
    port.portDir = Dir::src;
    QTest::newRow("source ports, Unicode space piece dropped")
        << port << QStringLiteral("(src port 53 or src port 123)") << QStringLiteral("((src port 53 or src port 123))");

    Form proto = ofType(Type::ipProtocol);
    QTest::newRow("protocol default tcp") << proto << QStringLiteral("tcp") << QStringLiteral("(tcp)");
    proto.bpfProto = Form::BPFProto::icmp6;
    QTest::newRow("protocol icmp6") << proto << QStringLiteral("icmp6") << QStringLiteral("(icmp6)");

    Form mac = ofType(Type::etherHost);
    QTest::newRow("blank MAC") << mac << QString() << QStringLiteral("()");
    mac.mac = QStringLiteral("aa:bb:cc:dd:ee:ff ");
    QTest::newRow("either MAC") << mac << QStringLiteral("ether host aa:bb:cc:dd:ee:ff")
                                << QStringLiteral("(ether host aa:bb:cc:dd:ee:ff)");
    mac.macDir = Form::MacDir::src;
    QTest::newRow("source MAC") << mac << QStringLiteral("ether src aa:bb:cc:dd:ee:ff")
                                << QStringLiteral("(ether src aa:bb:cc:dd:ee:ff)");
    mac.mac = QStringLiteral("00:11:22:33:44:55");
    mac.macDir = Form::MacDir::dst;
    mac.negate = true;
    QTest::newRow("negated destination MAC")
        << mac << QStringLiteral("ether dst 00:11:22:33:44:55") << QStringLiteral("not (ether dst 00:11:22:33:44:55)");

    Form vlan = ofType(Type::vlan);
    vlan.vlanID = QStringLiteral("\t");
    QTest::newRow("blank VLAN ID: any tag") << vlan << QStringLiteral("vlan") << QStringLiteral("(vlan)");
    vlan.vlanID = QStringLiteral(" 100 ");
    QTest::newRow("VLAN 100") << vlan << QStringLiteral("vlan 100") << QStringLiteral("(vlan 100)");

    Form flags = ofType(Type::tcpFlag);
    QTest::newRow("SYN by default") << flags << QStringLiteral("tcp[tcpflags] & tcp-syn != 0")
                                    << QStringLiteral("(tcp[tcpflags] & tcp-syn != 0)");
    flags.flagSyn = false;
    QTest::newRow("no flag") << flags << QString() << QStringLiteral("()");
    flags.flagFin = true;
    QTest::newRow("FIN alone, no parentheses")
        << flags << QStringLiteral("tcp[tcpflags] & tcp-fin != 0") << QStringLiteral("(tcp[tcpflags] & tcp-fin != 0)");
    Form exact = ofType(Type::tcpFlag);
    exact.flagAck = true;
    exact.flagMode = Form::FlagMode::exact;
    exact.wrapInParens = false;
    QTest::newRow("SYN and ACK exactly") << exact
                                         << QStringLiteral("tcp[tcpflags] & (tcp-syn|tcp-ack) == (tcp-syn|tcp-ack)")
                                         << QStringLiteral("tcp[tcpflags] & (tcp-syn|tcp-ack) == (tcp-syn|tcp-ack)");
    Form allFlags = ofType(Type::tcpFlag);
    allFlags.flagUrg = allFlags.flagPsh = allFlags.flagRst = allFlags.flagFin = allFlags.flagAck = true;
    allFlags.wrapInParens = false;
    QTest::newRow("all six in fixed order, PSH spelt out")
        << allFlags << QStringLiteral("tcp[tcpflags] & (tcp-syn|tcp-ack|tcp-fin|tcp-rst|tcp-push|tcp-urg) != 0")
        << QStringLiteral("tcp[tcpflags] & (tcp-syn|tcp-ack|tcp-fin|tcp-rst|tcp-push|tcp-urg) != 0");
    Form pshUrg = ofType(Type::tcpFlag);
    pshUrg.flagSyn = false;
    pshUrg.flagPsh = pshUrg.flagUrg = true;
    pshUrg.flagMode = Form::FlagMode::exact;
    pshUrg.negate = true;
    QTest::newRow("PSH and URG exactly, negated")
        << pshUrg << QStringLiteral("tcp[tcpflags] & (tcp-push|tcp-urg) == (tcp-push|tcp-urg)")
        << QStringLiteral("not (tcp[tcpflags] & (tcp-push|tcp-urg) == (tcp-push|tcp-urg))");

    const QList<std::pair<Form::ICMPType, QString>> icmp = {
        {Form::ICMPType::echoRequest, QStringLiteral("icmp[icmptype] == icmp-echo")},
        {Form::ICMPType::echoReply, QStringLiteral("icmp[icmptype] == icmp-echoreply")},
        {Form::ICMPType::unreach, QStringLiteral("icmp[icmptype] == icmp-unreach")},
        {Form::ICMPType::redirect, QStringLiteral("icmp[icmptype] == icmp-redirect")},
        {Form::ICMPType::timeExceeded, QStringLiteral("icmp[icmptype] == icmp-timxceed")},
        {Form::ICMPType::sourceQuench, QStringLiteral("icmp[icmptype] == icmp-sourcequench")},
    };
    for (const auto &[kind, text] : icmp) {
        Form f = ofType(Type::icmpType);
        f.icmp = kind;
        QTest::addRow("ICMP %s", qPrintable(Enum::caseName(kind))) << f << text << u'(' + text + u')';
    }

    QTest::newRow("broadcast") << ofType(Type::etherBroadcast) << QStringLiteral("ether broadcast")
                               << QStringLiteral("(ether broadcast)");
    QTest::newRow("multicast") << ofType(Type::etherMulticast) << QStringLiteral("ether multicast")
                               << QStringLiteral("(ether multicast)");

    Form version = ofType(Type::ipVersion);
    QTest::newRow("IPv4") << version << QStringLiteral("ip") << QStringLiteral("(ip)");
    version.ipVer = Form::IPVer::v6;
    QTest::newRow("IPv6") << version << QStringLiteral("ip6") << QStringLiteral("(ip6)");

    Form ether = ofType(Type::etherProto);
    QTest::newRow("blank EtherType") << ether << QString() << QStringLiteral("()");
    ether.etherProtoNum = QStringLiteral(" 0x0806");
    QTest::newRow("EtherType hex") << ether << QStringLiteral("ether proto 0x0806")
                                   << QStringLiteral("(ether proto 0x0806)");

    Form ipProto = ofType(Type::ipProto);
    ipProto.ipProtoNum = QStringLiteral("47");
    QTest::newRow("IP protocol 47") << ipProto << QStringLiteral("ip proto 47") << QStringLiteral("(ip proto 47)");
    ipProto.ipProtoNum = QStringLiteral("tcp\n");
    QTest::newRow("line break kept, nothing validated")
        << ipProto << QStringLiteral("ip proto tcp\n") << QStringLiteral("(ip proto tcp\n)");
}

void TestBPFBuilderForm::snippets()
{
    QFETCH(Form, form);
    QFETCH(QString, raw);
    QFETCH(QString, decorated);
    QCOMPARE(form.rawSnippet(), raw);
    QCOMPARE(form.decoratedSnippet(), decorated);
    // "Add to Filter" does nothing while there is no snippet.
    const QString filter = QStringLiteral(" tcp ");
    QCOMPARE(form.addToFilter(filter), raw.isEmpty() ? filter : QStringLiteral("tcp and ") + decorated);
}

void TestBPFBuilderForm::append_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("piece");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<Form::Combinator>("combinator");
    QTest::addColumn<QString>("expected");

    const auto And = Form::Combinator::and_;
    const auto Or = Form::Combinator::or_;
    QTest::newRow("empty filter: the piece alone")
        << QString() << QStringLiteral("arp") << false << And << QStringLiteral("arp");
    QTest::newRow("only spaces: replaced")
        << QStringLiteral(" \t\u00A0 ") << QStringLiteral("arp") << true << Or << QStringLiteral("(arp)");
    QTest::newRow("trimmed, and") << QStringLiteral(" tcp ") << QStringLiteral("port 80") << false << And
                                  << QStringLiteral("tcp and port 80");
    QTest::newRow("or, wrapped") << QStringLiteral("tcp") << QStringLiteral("udp") << true << Or
                                 << QStringLiteral("tcp or (udp)");
    QTest::newRow("inner line break stays, trailing one too")
        << QStringLiteral("\ttcp\nport 80\n ") << QStringLiteral("arp") << false << And
        << QStringLiteral("tcp\nport 80\n and arp");
    QTest::newRow("empty piece still joins")
        << QStringLiteral("tcp") << QString() << true << And << QStringLiteral("tcp and ()");
}

void TestBPFBuilderForm::append()
{
    QFETCH(QString, filter);
    QFETCH(QString, piece);
    QFETCH(bool, wrap);
    QFETCH(Form::Combinator, combinator);
    QFETCH(QString, expected);
    Form form;
    form.combinator = combinator;
    QCOMPARE(form.append(filter, piece, wrap), expected);
}

void TestBPFBuilderForm::presets_data()
{
    QTest::addColumn<Preset>("preset");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expression");

    QTest::newRow("TCP SYN") << Preset::tcpSyn << QStringLiteral("TCP SYN")
                             << QStringLiteral("tcp[tcpflags] & tcp-syn != 0");
    QTest::newRow("TCP RST") << Preset::tcpRst << QStringLiteral("TCP RST")
                             << QStringLiteral("tcp[tcpflags] & tcp-rst != 0");
    QTest::newRow("New TCP") << Preset::newTcp << QStringLiteral("New TCP")
                             << QStringLiteral("tcp[tcpflags] & (tcp-syn|tcp-ack) == tcp-syn");
    QTest::newRow("ICMP ping") << Preset::icmpPing << QStringLiteral("ICMP ping")
                               << QStringLiteral("icmp[icmptype] == icmp-echo");
    QTest::newRow("ARP") << Preset::arp << QStringLiteral("ARP") << QStringLiteral("arp");
    QTest::newRow("VLAN any") << Preset::vlanAny << QStringLiteral("VLAN any") << QStringLiteral("vlan");
    QTest::newRow("IPv6") << Preset::ipv6 << QStringLiteral("IPv6") << QStringLiteral("ip6");
    QTest::newRow("Broadcast") << Preset::broadcast << QStringLiteral("Broadcast") << QStringLiteral("ether broadcast");
    QTest::newRow("Multicast") << Preset::multicast << QStringLiteral("Multicast") << QStringLiteral("ether multicast");
}

void TestBPFBuilderForm::presets()
{
    QFETCH(Preset, preset);
    QFETCH(QString, title);
    QFETCH(QString, expression);
    QCOMPARE(Form::title(preset), title);
    QCOMPARE(Form::expression(preset), expression);

    // Always parenthesised, whatever negate and wrap say.
    Form form;
    form.negate = true;
    form.wrapInParens = false;
    QCOMPARE(form.addPreset(QString(), preset), u'(' + expression + u')');
    form.combinator = Form::Combinator::or_;
    QCOMPARE(form.addPreset(QStringLiteral("tcp "), preset), QStringLiteral("tcp or (") + expression + u')');
}

void TestBPFBuilderForm::workedSequence()
{
    QString filter;
    Form form;
    QCOMPARE(form.addToFilter(filter), QString()); // nothing to add yet

    form.hostIP = QStringLiteral("10.0.0.1");
    form.hostDir = Dir::src;
    QCOMPARE(form.decoratedSnippet(), QStringLiteral("(src host 10.0.0.1)"));
    filter = form.addToFilter(filter);
    QCOMPARE(filter, QStringLiteral("(src host 10.0.0.1)"));

    form.type = Type::port;
    form.portList = QStringLiteral("80, 443");
    form.combinator = Form::Combinator::or_;
    filter = form.addToFilter(filter);
    QCOMPARE(filter, QStringLiteral("(src host 10.0.0.1) or ((port 80 or port 443))"));

    form.combinator = Form::Combinator::and_;
    filter = form.addPreset(filter, Preset::tcpSyn);
    QCOMPARE(filter,
             QStringLiteral("(src host 10.0.0.1) or ((port 80 or port 443)) and (tcp[tcpflags] & tcp-syn != 0)"));

    // Switching the type back finds the host parameters as they were.
    form.type = Type::host;
    QCOMPARE(form.rawSnippet(), QStringLiteral("src host 10.0.0.1"));

    filter.clear(); // "Clear Filter"
    QCOMPARE(form.addPreset(filter, Preset::arp), QStringLiteral("(arp)"));
}

void TestBPFBuilderForm::enumerationTables()
{
    QCOMPARE(
        Enum::rawValues<Type>(),
        (QStringList{QStringLiteral("Host (IP)"), QStringLiteral("Network (CIDR)"), QStringLiteral("Port(s)"),
                     QStringLiteral("Protocol (tcp/udp/\u2026)"), QStringLiteral("Ethernet host (MAC)"),
                     QStringLiteral("VLAN"), QStringLiteral("TCP flag"), QStringLiteral("ICMP type"),
                     QStringLiteral("Ether broadcast"), QStringLiteral("Ether multicast"), QStringLiteral("IP version"),
                     QStringLiteral("Ether protocol #"), QStringLiteral("IP protocol #")}));
    QCOMPARE(Enum::rawValues<Form::Combinator>(), (QStringList{QStringLiteral("AND"), QStringLiteral("OR")}));
    QCOMPARE(Form::word(Form::Combinator::and_), QStringLiteral("and"));
    QCOMPARE(Form::word(Form::Combinator::or_), QStringLiteral("or"));
    const QStringList directions{QStringLiteral("Either"), QStringLiteral("Source"), QStringLiteral("Destination")};
    QCOMPARE(Enum::rawValues<Dir>(), directions);
    QCOMPARE(Enum::rawValues<Form::MacDir>(), directions);
    QCOMPARE(Enum::rawValues<Form::BPFProto>(), Enum::caseNames<Form::BPFProto>());
    QCOMPARE(Enum::caseNames<Form::BPFProto>(),
             (QStringList{QStringLiteral("tcp"), QStringLiteral("udp"), QStringLiteral("icmp"), QStringLiteral("icmp6"),
                          QStringLiteral("arp"), QStringLiteral("ip"), QStringLiteral("ip6"), QStringLiteral("esp"),
                          QStringLiteral("gre")}));
    QCOMPARE(Enum::rawValues<Form::FlagMode>(),
             (QStringList{QStringLiteral("Any of selected"), QStringLiteral("Exact match")}));
    QCOMPARE(Enum::rawValues<Form::ICMPType>(),
             (QStringList{QStringLiteral("echo request (ping)"), QStringLiteral("echo reply"),
                          QStringLiteral("destination unreachable"), QStringLiteral("redirect"),
                          QStringLiteral("time exceeded"), QStringLiteral("source quench")}));
    QCOMPARE(Enum::rawValues<Form::IPVer>(), (QStringList{QStringLiteral("IPv4"), QStringLiteral("IPv6")}));
    QCOMPARE(Enum::allCases<Preset>().size(), 9);
}

QTEST_GUILESS_MAIN(TestBPFBuilderForm)
#include "tst_bpfbuilderform.moc"
