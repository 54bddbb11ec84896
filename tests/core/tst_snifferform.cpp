#include "builders/snifferform.h"

#include <QTest>

using HostMode = SnifferForm::HostMode;
using Proto = SnifferForm::SnifferProto;
using Verbose = SnifferForm::VerboseLevel;
using Timestamp = SnifferForm::TimestampFormat;

class TestSnifferForm : public QObject
{
    Q_OBJECT

private slots:
    void generatedCommand_data();
    void generatedCommand();
    void everyProtocolAndLevel_data();
    void everyProtocolAndLevel();
    void enumerationTables();
    void verboseLevelFromRawValue();
    void offloadSnippet();
    void fieldsInOrderWithDefaults();
};

void TestSnifferForm::generatedCommand_data()
{
    QTest::addColumn<SnifferForm>("form");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");

    const QString any = QStringLiteral("Sniffer on any");
    const SnifferForm defaults;
    QTest::newRow("as created") << defaults << QString() << QStringLiteral("diagnose sniffer packet any 'none' 4 0 l")
                                << any;

    SnifferForm tcp;
    tcp.proto = Proto::tcp;
    tcp.host = QStringLiteral("10.0.0.1");
    tcp.hostMode = HostMode::src;
    tcp.portList = QStringLiteral("80,443");
    tcp.portMode = HostMode::dst;
    QTest::newRow("tcp, source host, destination ports")
        << tcp << QStringLiteral("tcp and src host 10.0.0.1 and (dst port 80 or dst port 443)")
        << QStringLiteral(
               "diagnose sniffer packet any 'tcp and src host 10.0.0.1 and (dst port 80 or dst port 443)' 4 0 l")
        << any;

    SnifferForm udp;
    udp.interface = QStringLiteral(" port1 ");
    udp.proto = Proto::udp;
    udp.network = QStringLiteral("10.1.0.0/16");
    udp.portList = QStringLiteral(" 53 , , ");
    udp.verbose = Verbose::v6;
    udp.count = QStringLiteral("100");
    udp.timestamp = Timestamp::relative;
    QTest::newRow("trimmed interface, empty port pieces, relative")
        << udp << QStringLiteral("udp and net 10.1.0.0/16 and port 53")
        << QStringLiteral("diagnose sniffer packet port1 'udp and net 10.1.0.0/16 and port 53' 6 100")
        << QStringLiteral("Sniffer on  port1 ");

    SnifferForm custom = tcp;
    custom.useCustomFilter = true;
    custom.customFilter = QStringLiteral("  host 1.2.3.4 and not port 22  ");
    custom.timestamp = Timestamp::absoluteUTC;
    QTest::newRow("custom filter ignores the simple fields")
        << custom << QStringLiteral("host 1.2.3.4 and not port 22")
        << QStringLiteral("diagnose sniffer packet any 'host 1.2.3.4 and not port 22' 4 0 a") << any;

    SnifferForm relative;
    relative.timestamp = Timestamp::relative;
    QTest::newRow("relative, no count: four words")
        << relative << QString() << QStringLiteral("diagnose sniffer packet any 'none' 4") << any;

    SnifferForm blankCustom = tcp;
    blankCustom.useCustomFilter = true;
    blankCustom.customFilter = QStringLiteral(" \t\u3000");
    QTest::newRow("blank custom filter is none")
        << blankCustom << QString() << QStringLiteral("diagnose sniffer packet any 'none' 4 0 l") << any;

    SnifferForm commaOnly;
    commaOnly.portList = QStringLiteral(",");
    QTest::newRow("port list of a comma")
        << commaOnly << QString() << QStringLiteral("diagnose sniffer packet any 'none' 4 0 l") << any;
    commaOnly.portList = QStringLiteral(" , , ");
    QTest::newRow("port list of commas and spaces")
        << commaOnly << QString() << QStringLiteral("diagnose sniffer packet any 'none' 4 0 l") << any;

    SnifferForm ports;
    ports.portList = QStringLiteral("80,,443");
    QTest::newRow("empty piece between ports")
        << ports << QStringLiteral("(port 80 or port 443)")
        << QStringLiteral("diagnose sniffer packet any '(port 80 or port 443)' 4 0 l") << any;
    ports.portList = QStringLiteral("443");
    QTest::newRow("one port, no parentheses")
        << ports << QStringLiteral("port 443") << QStringLiteral("diagnose sniffer packet any 'port 443' 4 0 l") << any;
    ports.portList = QStringLiteral("80-90");
    QTest::newRow("port taken as text") << ports << QStringLiteral("port 80-90")
                                        << QStringLiteral("diagnose sniffer packet any 'port 80-90' 4 0 l") << any;
    ports.portList = QStringLiteral("\u00A080,\u2003,\t443\u3000,22");
    ports.portMode = HostMode::src;
    QTest::newRow("Unicode spaces around and between ports")
        << ports << QStringLiteral("(src port 80 or src port 443 or src port 22)")
        << QStringLiteral("diagnose sniffer packet any '(src port 80 or src port 443 or src port 22)' 4 0 l") << any;

    SnifferForm zero;
    zero.count = QStringLiteral("0");
    zero.timestamp = Timestamp::relative;
    QTest::newRow("count 0, relative") << zero << QString() << QStringLiteral("diagnose sniffer packet any 'none' 4 0")
                                       << any;

    SnifferForm abc;
    abc.count = QStringLiteral("abc");
    QTest::newRow("count taken as text") << abc << QString()
                                         << QStringLiteral("diagnose sniffer packet any 'none' 4 abc l") << any;
    abc.count = QStringLiteral(" \t250\u00A0");
    abc.timestamp = Timestamp::absoluteUTC;
    QTest::newRow("count trimmed, UTC") << abc << QString()
                                        << QStringLiteral("diagnose sniffer packet any 'none' 4 250 a") << any;

    SnifferForm noInterface;
    noInterface.interface.clear();
    QTest::newRow("empty interface") << noInterface << QString()
                                     << QStringLiteral("diagnose sniffer packet any 'none' 4 0 l") << any;
    noInterface.interface = QStringLiteral("   ");
    QTest::newRow("interface of spaces: any in the line, spaces in the title")
        << noInterface << QString() << QStringLiteral("diagnose sniffer packet any 'none' 4 0 l")
        << QStringLiteral("Sniffer on    ");
    noInterface.interface = QStringLiteral("\u3000wan1\t");
    QTest::newRow("interface trimmed of Unicode space and tab")
        << noInterface << QString() << QStringLiteral("diagnose sniffer packet wan1 'none' 4 0 l")
        << QStringLiteral("Sniffer on \u3000wan1\t");

    SnifferForm quote;
    quote.useCustomFilter = true;
    quote.customFilter = QStringLiteral("host 1.1.1.1 and port '22'");
    QTest::newRow("single quote emitted as typed")
        << quote << QStringLiteral("host 1.1.1.1 and port '22'")
        << QStringLiteral("diagnose sniffer packet any 'host 1.1.1.1 and port '22'' 4 0 l") << any;

    SnifferForm lineBreak;
    lineBreak.useCustomFilter = true;
    lineBreak.customFilter = QStringLiteral(" \ttcp\nport 80\n");
    QTest::newRow("line breaks kept inside the quotes")
        << lineBreak << QStringLiteral("tcp\nport 80\n")
        << QStringLiteral("diagnose sniffer packet any 'tcp\nport 80\n' 4 0 l") << any;

    SnifferForm modeOnly;
    modeOnly.hostMode = HostMode::dst;
    modeOnly.networkMode = HostMode::src;
    modeOnly.portMode = HostMode::dst;
    QTest::newRow("directions without values change nothing")
        << modeOnly << QString() << QStringLiteral("diagnose sniffer packet any 'none' 4 0 l") << any;

    SnifferForm ownTerm;
    ownTerm.host = QStringLiteral("1.1.1.1");
    ownTerm.network = QStringLiteral("10.0.0.0/8");
    ownTerm.networkMode = HostMode::dst;
    QTest::newRow("each direction acts on its own term")
        << ownTerm << QStringLiteral("host 1.1.1.1 and dst net 10.0.0.0/8")
        << QStringLiteral("diagnose sniffer packet any 'host 1.1.1.1 and dst net 10.0.0.0/8' 4 0 l") << any;

    SnifferForm order;
    order.portList = QStringLiteral("22");
    order.network = QStringLiteral(" 192.168.0.0/24 ");
    order.host = QStringLiteral("\u00A010.0.0.1\u3000");
    order.hostMode = HostMode::dst;
    order.proto = Proto::gre;
    QTest::newRow("fixed term order, values trimmed")
        << order << QStringLiteral("gre and dst host 10.0.0.1 and net 192.168.0.0/24 and port 22")
        << QStringLiteral(
               "diagnose sniffer packet any 'gre and dst host 10.0.0.1 and net 192.168.0.0/24 and port 22' 4 0 l")
        << any;

    SnifferForm switchedBack = order;
    switchedBack.customFilter = QStringLiteral("arp");
    switchedBack.useCustomFilter = false;
    QTest::newRow("custom text kept but unused while off")
        << switchedBack << QStringLiteral("gre and dst host 10.0.0.1 and net 192.168.0.0/24 and port 22")
        << QStringLiteral(
               "diagnose sniffer packet any 'gre and dst host 10.0.0.1 and net 192.168.0.0/24 and port 22' 4 0 l")
        << any;

    SnifferForm breakInHost;
    breakInHost.host = QStringLiteral("10.0.0.1\n");
    QTest::newRow("a line break is not trimmed from a value")
        << breakInHost << QStringLiteral("host 10.0.0.1\n")
        << QStringLiteral("diagnose sniffer packet any 'host 10.0.0.1\n' 4 0 l") << any;
}

void TestSnifferForm::generatedCommand()
{
    QFETCH(SnifferForm, form);
    QFETCH(QString, filter);
    QFETCH(QString, command);
    QFETCH(QString, title);
    QCOMPARE(form.filterExpression(), filter);
    QCOMPARE(form.generatedCommand(), command);
    QCOMPARE(form.title(), title);
}

void TestSnifferForm::everyProtocolAndLevel_data()
{
    QTest::addColumn<Proto>("proto");
    QTest::addColumn<Verbose>("verbose");
    QTest::addColumn<QString>("command");

    QTest::newRow("any, 1") << Proto::any << Verbose::v1 << QStringLiteral("diagnose sniffer packet any 'none' 1 0 l");
    QTest::newRow("tcp, 2") << Proto::tcp << Verbose::v2 << QStringLiteral("diagnose sniffer packet any 'tcp' 2 0 l");
    QTest::newRow("udp, 3") << Proto::udp << Verbose::v3 << QStringLiteral("diagnose sniffer packet any 'udp' 3 0 l");
    QTest::newRow("icmp, 4") << Proto::icmp << Verbose::v4
                             << QStringLiteral("diagnose sniffer packet any 'icmp' 4 0 l");
    QTest::newRow("icmp6, 5") << Proto::icmp6 << Verbose::v5
                              << QStringLiteral("diagnose sniffer packet any 'icmp6' 5 0 l");
    QTest::newRow("arp, 6") << Proto::arp << Verbose::v6 << QStringLiteral("diagnose sniffer packet any 'arp' 6 0 l");
    QTest::newRow("ip") << Proto::ip << Verbose::v4 << QStringLiteral("diagnose sniffer packet any 'ip' 4 0 l");
    QTest::newRow("ip6") << Proto::ip6 << Verbose::v4 << QStringLiteral("diagnose sniffer packet any 'ip6' 4 0 l");
    QTest::newRow("esp") << Proto::esp << Verbose::v4 << QStringLiteral("diagnose sniffer packet any 'esp' 4 0 l");
    QTest::newRow("gre") << Proto::gre << Verbose::v4 << QStringLiteral("diagnose sniffer packet any 'gre' 4 0 l");
}

void TestSnifferForm::everyProtocolAndLevel()
{
    QFETCH(Proto, proto);
    QFETCH(Verbose, verbose);
    QFETCH(QString, command);
    SnifferForm form;
    form.proto = proto;
    form.verbose = verbose;
    QCOMPARE(form.generatedCommand(), command);
}

void TestSnifferForm::enumerationTables()
{
    QCOMPARE(Enum::rawValues<HostMode>(), (QStringList{QStringLiteral("Either direction"), QStringLiteral("Source"),
                                                       QStringLiteral("Destination")}));
    QCOMPARE(Enum::rawValues<Proto>(),
             (QStringList{QStringLiteral("Any"), QStringLiteral("tcp"), QStringLiteral("udp"), QStringLiteral("icmp"),
                          QStringLiteral("icmp6"), QStringLiteral("arp"), QStringLiteral("ip"), QStringLiteral("ip6"),
                          QStringLiteral("esp"), QStringLiteral("gre")}));
    QCOMPARE(Enum::rawValues<Timestamp>(),
             (QStringList{QStringLiteral("Relative (default)"), QStringLiteral("Absolute UTC (a)"),
                          QStringLiteral("Absolute Local (l)")}));
    QCOMPARE(Enum::rawValues<Verbose>(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                                      QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")}));

    // The labels carry an em dash (U+2014) with one space on each side.
    QStringList labels;
    for (Verbose v : Enum::allCases<Verbose>())
        labels << SnifferForm::label(v);
    QCOMPARE(labels, (QStringList{QStringLiteral("1 \u2014 headers only"), QStringLiteral("2 \u2014 headers + IP data"),
                                  QStringLiteral("3 \u2014 headers + Ethernet data"),
                                  QStringLiteral("4 \u2014 headers + interface names"),
                                  QStringLiteral("5 \u2014 IP data + interface names"),
                                  QStringLiteral("6 \u2014 Ethernet data + interface names")}));
    QCOMPARE(SnifferForm::label(Verbose::v1).toUtf8(), QByteArray("1 \xE2\x80\x94 headers only"));

    QVERIFY(Enum::fromRawValue<Proto>(u"Any") == Proto::any);
    QVERIFY(!Enum::fromRawValue<Proto>(u"TCP"));
    QVERIFY(Enum::fromRawValue<HostMode>(u"Either direction") == HostMode::any);
    QVERIFY(!Enum::fromRawValue<HostMode>(u"Either"));
    QVERIFY(Enum::fromRawValue<Timestamp>(u"Absolute UTC (a)") == Timestamp::absoluteUTC);
    QVERIFY(Enum::fromCaseName<Timestamp>(u"absoluteUTC") == Timestamp::absoluteUTC);
}

void TestSnifferForm::verboseLevelFromRawValue()
{
    QVERIFY(!SnifferForm::verboseLevel(0));
    QVERIFY(!SnifferForm::verboseLevel(7));
    QVERIFY(!SnifferForm::verboseLevel(-4));
    const QList<Verbose> all = Enum::allCases<Verbose>();
    QCOMPARE(all.size(), 6);
    for (int raw = 1; raw <= 6; ++raw) {
        QVERIFY(SnifferForm::verboseLevel(raw) == all.at(raw - 1));
        QCOMPARE(Enum::rawValue(all.at(raw - 1)), QString::number(raw));
    }
}

void TestSnifferForm::offloadSnippet()
{
    QCOMPARE(SnifferForm::offloadDisableSnippet.toString(),
             QStringLiteral("config firewall policy\n    edit <policy-id>\n        set auto-asic-offload disable\n"
                            "    next\nend"));
}

void TestSnifferForm::fieldsInOrderWithDefaults()
{
    const SnifferForm defaults;
    QStringList shown;
    for (const auto &f : SnifferForm::fields())
        shown << f.name + u'=' + f.get(defaults);
    QCOMPARE(shown,
             (QStringList{QStringLiteral("interface=any"), QStringLiteral("host="), QStringLiteral("hostMode=any"),
                          QStringLiteral("network="), QStringLiteral("networkMode=any"), QStringLiteral("portList="),
                          QStringLiteral("portMode=any"), QStringLiteral("proto=any"), QStringLiteral("customFilter="),
                          QStringLiteral("useCustomFilter=false"), QStringLiteral("verbose=v4"),
                          QStringLiteral("count="), QStringLiteral("timestamp=absoluteLocal")}));
}

QTEST_GUILESS_MAIN(TestSnifferForm)
#include "tst_snifferform.moc"
