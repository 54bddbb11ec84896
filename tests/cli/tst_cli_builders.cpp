#include <QProcess>
#include <QTest>

// The seven builder categories beyond Sessions, through the real brindlecap binary.
class TestCliBuilders : public QObject
{
    Q_OBJECT

private slots:
    void output_data();
    void output();
    void errors_data();
    void errors();
    void fields_data();
    void fields();

private:
    struct Run {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };
    static Run run(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(BRINDLECAP_CLI_PATH), arguments);
        process.waitForFinished(30000);
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }
};

namespace {

QStringList args(const char *line)
{
    return QString::fromUtf8(line).split(u' ');
}

} // namespace

void TestCliBuilders::output_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("expected");

    // flow
    QTest::newRow("flow defaults") << args("flow")
                                   << QByteArray("diagnose debug disable\ndiagnose debug reset\n"
                                                 "diagnose debug flow filter clear\n"
                                                 "diagnose debug flow show function-name enable\n"
                                                 "diagnose debug console timestamp enable\n"
                                                 "diagnose debug flow trace start 1000\ndiagnose debug enable\n\n"
                                                 "# When finished, stop the debug:\ndiagnose debug disable\n"
                                                 "diagnose debug reset\n");
    QTest::newRow("flow full form")
        << args("flow addr=10.1.1.10 saddr=1.1.1.1 daddr=2.2.2.2 port=53 sport=1 dport=443 proto=esp vdom=root "
                "traceCount=50 resetFirst=no showFunctionName=off showIprope=on timestamps=0 includeStopBlock=false -n")
        << QByteArray("diagnose debug flow filter clear\ndiagnose debug flow filter vd root\n"
                      "diagnose debug flow filter addr 10.1.1.10\ndiagnose debug flow filter saddr 1.1.1.1\n"
                      "diagnose debug flow filter daddr 2.2.2.2\ndiagnose debug flow filter port 53\n"
                      "diagnose debug flow filter sport 1\ndiagnose debug flow filter dport 443\n"
                      "diagnose debug flow filter proto 50\ndiagnose debug flow show iprope enable\n"
                      "diagnose debug flow trace start 50\ndiagnose debug enable");
    QTest::newRow("flow blank trace count, value as typed")
        << QStringList{QStringLiteral("flow"),
                       QStringLiteral("traceCount= \t"),
                       QStringLiteral("addr= 10.0.0.1 "),
                       QStringLiteral("resetFirst=false"),
                       QStringLiteral("showFunctionName=false"),
                       QStringLiteral("timestamps=false"),
                       QStringLiteral("includeStopBlock=false")}
        << QByteArray("diagnose debug flow filter clear\ndiagnose debug flow filter addr  10.0.0.1 \n"
                      "diagnose debug flow trace start 1000\ndiagnose debug enable\n");
    QTest::newRow("flow title") << args("flow --title") << QByteArray("Debug Flow Capture\n");

    // ping
    QTest::newRow("ping defaults") << args("ping") << QByteArray("exec ping-options view-settings\n");
    QTest::newRow("ping full form")
        << args("ping target=8.8.8.8 source=10.0.0.1 interface=wan1 repeatCount=10 timeout=2 dataSize=1400 tos=46 "
                "pattern=ff dfBit=true adaptive=yes validateReply=1 viewSettings=on")
        << QByteArray("exec ping-options source 10.0.0.1\nexec ping-options interface wan1\n"
                      "exec ping-options repeat-count 10\nexec ping-options timeout 2\n"
                      "exec ping-options data-size 1400\nexec ping-options tos 46\nexec ping-options pattern ff\n"
                      "exec ping-options df-bit yes\nexec ping-options adaptive-ping yes\n"
                      "exec ping-options validate-reply yes\nexec ping-options view-settings\nexec ping 8.8.8.8\n");
    QTest::newRow("ping everything off: empty") << args("ping viewSettings=false -n") << QByteArray();
    QTest::newRow("ping title") << args("ping target=8.8.8.8 --title") << QByteArray("Ping to 8.8.8.8\n");
    QTest::newRow("ping title, no target") << args("ping --title -n") << QByteArray("Ping to target");
    QTest::newRow("ping title, spaces") << QStringList{QStringLiteral("ping"), QStringLiteral("target=  "),
                                                       QStringLiteral("--title"), QStringLiteral("-n")}
                                        << QByteArray("Ping to   ");
    QTest::newRow("ping pasted line break becomes a space")
        << QStringList{QStringLiteral("ping"), QStringLiteral("target=8.8.8.8\nexecute reboot"),
                       QStringLiteral("viewSettings=false"), QStringLiteral("-n")}
        << QByteArray("exec ping 8.8.8.8 execute reboot");

    // traceroute
    QTest::newRow("traceroute defaults") << args("traceroute") << QByteArray("exec traceroute-options view-settings\n");
    QTest::newRow("traceroute full form")
        << args("traceroute target=8.8.8.8 source=10.0.0.1 device=wan1 queries=2 minTTL=1 maxTTL=20 waitTime=3 "
                "viewSettings=true -n")
        << QByteArray("exec traceroute-options source 10.0.0.1\nexec traceroute-options device wan1\n"
                      "exec traceroute-options queries 2\nexec traceroute-options min-ttl 1\n"
                      "exec traceroute-options max-ttl 20\nexec traceroute-options wait 3\n"
                      "exec traceroute-options view-settings\nexec traceroute 8.8.8.8");
    QTest::newRow("traceroute title") << args("traceroute target=h --title") << QByteArray("Traceroute to h\n");
    QTest::newRow("traceroute title, no target") << args("traceroute --title") << QByteArray("Traceroute to target\n");

    // vpn
    QTest::newRow("vpn defaults") << args("vpn")
                                  << QByteArray("diagnose vpn ike gateway list\ndiagnose vpn tunnel list\n\n"
                                                "# Live IKE debug:\ndiagnose vpn ike log filter clear\n"
                                                "diagnose debug console timestamp enable\n"
                                                "diagnose debug application ike -1\ndiagnose debug enable\n\n"
                                                "# When finished, stop the debug:\ndiagnose debug disable\n"
                                                "diagnose debug reset\n");
    QTest::newRow("vpn full form")
        << args("vpn gatewayName=gw tunnelName=gw_p2 peerIP=203.0.113.5 ikeDebugLevel=255 timestamps=off "
                "includeStopBlock=off showTunnelStatus=on -n")
        << QByteArray("diagnose vpn ike gateway list name gw\ndiagnose vpn tunnel list name gw_p2\n\n"
                      "# Live IKE debug:\ndiagnose vpn ike log filter clear\ndiagnose vpn ike log filter name gw\n"
                      "diagnose vpn ike log filter dst-addr4 203.0.113.5\ndiagnose debug application ike 255\n"
                      "diagnose debug enable");
    QTest::newRow("vpn title") << args("vpn --title") << QByteArray("IPsec VPN Debug\n");

    // top
    QTest::newRow("top defaults") << args("top") << QByteArray("get system performance status\n\ndiagnose sys top\n");
    QTest::newRow("top full form") << QStringList{QStringLiteral("top"),
                                                  QStringLiteral("variant=topIO"),
                                                  QStringLiteral("delay= 10\u3000"),
                                                  QStringLiteral("maxLines=\t30 "),
                                                  QStringLiteral("addPerfStatus=true"),
                                                  QStringLiteral("addPerfTop=true"),
                                                  QStringLiteral("addSysinfoMem=true"),
                                                  QStringLiteral("addSysinfoCPU=true"),
                                                  QStringLiteral("addSysinfoInterrupts=true"),
                                                  QStringLiteral("addSysinfoShm=true"),
                                                  QStringLiteral("addConserveMode=true"),
                                                  QStringLiteral("-n")}
                                   << QByteArray("get system performance status\nget system performance top\n"
                                                 "diagnose hardware sysinfo memory\ndiagnose hardware sysinfo cpu\n"
                                                 "diagnose hardware sysinfo interrupts\ndiagnose hardware sysinfo shm\n"
                                                 "diagnose hardware sysinfo conserve\n\ndiagnose sys top-io 10 30");
    QTest::newRow("top variant by case name")
        << args("top variant=topSummary maxLines=50 addPerfStatus=no") << QByteArray("diagnose sys top-summary 5 50\n");
    QTest::newRow("top-mem ignores delay")
        << args("top variant=topMem delay=3 maxLines=10 addPerfStatus=0 -n") << QByteArray("diagnose sys top-mem 10");
    QTest::newRow("top title") << args("top --title") << QByteArray("System Performance\n");

    // ha
    QTest::newRow("ha defaults") << args("ha")
                                 << QByteArray("get system ha status\ndiagnose sys ha status\n"
                                               "diagnose sys ha checksum cluster\n");
    QTest::newRow("ha full form")
        << QStringList{QStringLiteral("ha"),
                       QStringLiteral("showStatus=true"),
                       QStringLiteral("showChecksum=true"),
                       QStringLiteral("showNonSync=true"),
                       QStringLiteral("showDump=true"),
                       QStringLiteral("manageIndex= 1 "),
                       QStringLiteral("manageAdmin=\tadmin "),
                       QStringLiteral("syncAll=true"),
                       QStringLiteral("resetUptime=true"),
                       QStringLiteral("debugHatalk=true"),
                       QStringLiteral("debugHasync=true"),
                       QStringLiteral("timestamps=true"),
                       QStringLiteral("includeStopBlock=true"),
                       QStringLiteral("-n")}
        << QByteArray("get system ha status\ndiagnose sys ha status\ndiagnose sys ha checksum cluster\n"
                      "diagnose sys ha checksum show global\ndiagnose sys ha checksum show root\n"
                      "diagnose sys ha dump-by all-vcluster\ndiagnose sys ha dump-by group\n"
                      "diagnose sys ha dump-by vcluster\ndiagnose sys ha reset-uptime\n"
                      "execute ha synchronize all\nexecute ha manage 1 admin\n\n# Live HA debug:\n"
                      "diagnose debug console timestamp enable\ndiagnose debug application hatalk -1\n"
                      "diagnose debug application hasync -1\ndiagnose debug enable\n\n"
                      "# When finished, stop the debug:\ndiagnose debug disable\ndiagnose debug reset");
    QTest::newRow("ha title") << args("ha --title") << QByteArray("HA Troubleshooting\n");

    // routing
    QTest::newRow("routing defaults") << args("routing")
                                      << QByteArray("get router info ospf status\nget router info ospf neighbor\n"
                                                    "get router info routing-table ospf\n");
    QTest::newRow("routing area by case name: bgp")
        << args("routing proto=bgp") << QByteArray("get router info bgp summary\n");
    QTest::newRow("routing area by case name: staticR")
        << args("routing proto=staticR") << QByteArray("get router info routing-table static\n");
    QTest::newRow("routing full bgp form")
        << QStringList{QStringLiteral("routing"),
                       QStringLiteral("proto=bgp"),
                       QStringLiteral("bgpSummary=on"),
                       QStringLiteral("bgpNeighborIP= 10.0.0.2 "),
                       QStringLiteral("bgpNeighborRoutes=on"),
                       QStringLiteral("bgpAdvertisedRoutes=on"),
                       QStringLiteral("bgpNetwork=on"),
                       QStringLiteral("bgpDebug=on"),
                       QStringLiteral("timestamps=off"),
                       QStringLiteral("includeStopBlock=on"),
                       QStringLiteral("-n")}
        << QByteArray("get router info bgp summary\nget router info bgp neighbors 10.0.0.2\n"
                      "get router info bgp neighbors 10.0.0.2 routes\n"
                      "get router info bgp neighbors 10.0.0.2 advertised-routes\nget router info bgp network\n\n"
                      "# Live BGP debug:\ndiagnose ip router bgp all enable\ndiagnose ip router bgp level info\n"
                      "diagnose debug enable\n\n# When finished, stop the debug:\n"
                      "diagnose ip router bgp all disable\ndiagnose debug disable\ndiagnose debug reset");
    QTest::newRow("routing full static form")
        << args("routing proto=staticR staticAll=1 staticStatic=1 staticDetailsIP=8.8.8.8 staticDatabase=1 "
                "staticPBR=1 -n")
        << QByteArray("get router info routing-table static\nget router info routing-table all\n"
                      "get router info routing-table database\nget router info routing-table details 8.8.8.8\n"
                      "diagnose firewall proute list\ndiagnose firewall proute6 list");
    QTest::newRow("routing full ospf form")
        << args("routing proto=ospf ospfNeighbors=1 ospfStatus=1 ospfInterface=1 ospfDatabase=1 ospfRoutes=1 "
                "ospfDebug=1 timestamps=1 includeStopBlock=0 -n")
        << QByteArray("get router info ospf status\nget router info ospf neighbor\nget router info ospf interface\n"
                      "get router info ospf database\nget router info routing-table ospf\n\n# Live OSPF debug:\n"
                      "diagnose debug console timestamp enable\ndiagnose ip router ospf all enable\n"
                      "diagnose ip router ospf level info\ndiagnose debug enable");
    QTest::newRow("routing title: ospf") << args("routing --title") << QByteArray("OSPF Routing\n");
    QTest::newRow("routing title: bgp") << args("routing proto=bgp --title") << QByteArray("BGP Routing\n");
    QTest::newRow("routing title: static") << args("routing proto=staticR --title -n") << QByteArray("Static Routing");
}

void TestCliBuilders::output()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, expected);
    const Run r = run(arguments);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, expected);
}

void TestCliBuilders::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("flow: bad protocol") << args("flow proto=TCP") << QStringLiteral("any, tcp, udp, icmp, gre, esp");
    QTest::newRow("flow: protocol by raw value")
        << QStringList{QStringLiteral("flow"), QStringLiteral("proto=TCP (6)")} << QStringLiteral("'proto'");
    QTest::newRow("ping: bad flag") << args("ping dfBit=maybe") << QStringLiteral("true or false");
    QTest::newRow("ping: unknown field") << args("ping count=5") << QStringLiteral("repeatCount");
    QTest::newRow("traceroute: bad flag") << args("traceroute viewSettings=2") << QStringLiteral("'viewSettings'");
    QTest::newRow("traceroute: field case") << args("traceroute minTtl=1") << QStringLiteral("minTTL");
    QTest::newRow("vpn: bad flag") << args("vpn showTunnelStatus=True") << QStringLiteral("true or false");
    QTest::newRow("top: bad variant") << args("top variant=mem") << QStringLiteral("top, topSummary, topMem, topIO");
    QTest::newRow("top: variant by raw value")
        << QStringList{QStringLiteral("top"), QStringLiteral("variant=diagnose sys top-mem")}
        << QStringLiteral("topMem");
    QTest::newRow("ha: bad flag") << args("ha syncAll=") << QStringLiteral("'syncAll'");
    QTest::newRow("ha: argument without =") << args("ha 1") << QStringLiteral("FIELD=VALUE");
    QTest::newRow("routing: bad area") << args("routing proto=static") << QStringLiteral("ospf, bgp, staticR");
    QTest::newRow("routing: area by raw value") << args("routing proto=Static") << QStringLiteral("staticR");
    QTest::newRow("routing: bad flag") << args("routing ospfDebug=enable") << QStringLiteral("true or false");
}

void TestCliBuilders::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(QString::fromUtf8(r.err).contains(mentions), r.err.constData());
    QCOMPARE(r.err.count('\n'), 1);
}

void TestCliBuilders::fields_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("expected"); // each field as "name kind default [choices]", in order

    QTest::newRow("flow") << QStringLiteral("flow")
                          << QStringList{QStringLiteral("addr text \"\""),
                                         QStringLiteral("saddr text \"\""),
                                         QStringLiteral("daddr text \"\""),
                                         QStringLiteral("port text \"\""),
                                         QStringLiteral("sport text \"\""),
                                         QStringLiteral("dport text \"\""),
                                         QStringLiteral("proto enum any any, tcp, udp, icmp, gre, esp"),
                                         QStringLiteral("vdom text \"\""),
                                         QStringLiteral("traceCount text \"1000\""),
                                         QStringLiteral("resetFirst flag true"),
                                         QStringLiteral("showFunctionName flag true"),
                                         QStringLiteral("showIprope flag false"),
                                         QStringLiteral("timestamps flag true"),
                                         QStringLiteral("includeStopBlock flag true")};
    QTest::newRow("ping") << QStringLiteral("ping")
                          << QStringList{QStringLiteral("target text \"\""),
                                         QStringLiteral("source text \"\""),
                                         QStringLiteral("interface text \"\""),
                                         QStringLiteral("repeatCount text \"\""),
                                         QStringLiteral("timeout text \"\""),
                                         QStringLiteral("dataSize text \"\""),
                                         QStringLiteral("tos text \"\""),
                                         QStringLiteral("pattern text \"\""),
                                         QStringLiteral("dfBit flag false"),
                                         QStringLiteral("adaptive flag false"),
                                         QStringLiteral("validateReply flag false"),
                                         QStringLiteral("viewSettings flag true")};
    QTest::newRow("traceroute") << QStringLiteral("traceroute")
                                << QStringList{
                                       QStringLiteral("target text \"\""),   QStringLiteral("source text \"\""),
                                       QStringLiteral("device text \"\""),   QStringLiteral("queries text \"\""),
                                       QStringLiteral("minTTL text \"\""),   QStringLiteral("maxTTL text \"\""),
                                       QStringLiteral("waitTime text \"\""), QStringLiteral("viewSettings flag true")};
    QTest::newRow("vpn") << QStringLiteral("vpn") << QStringList{QStringLiteral("gatewayName text \"\""),
                                                                 QStringLiteral("tunnelName text \"\""),
                                                                 QStringLiteral("peerIP text \"\""),
                                                                 QStringLiteral("ikeDebugLevel text \"-1\""),
                                                                 QStringLiteral("timestamps flag true"),
                                                                 QStringLiteral("includeStopBlock flag true"),
                                                                 QStringLiteral("showTunnelStatus flag true")};
    QTest::newRow("top") << QStringLiteral("top")
                         << QStringList{QStringLiteral("variant enum top top, topSummary, topMem, topIO"),
                                        QStringLiteral("delay text \"\""),
                                        QStringLiteral("maxLines text \"\""),
                                        QStringLiteral("addPerfStatus flag true"),
                                        QStringLiteral("addPerfTop flag false"),
                                        QStringLiteral("addSysinfoMem flag false"),
                                        QStringLiteral("addSysinfoCPU flag false"),
                                        QStringLiteral("addSysinfoInterrupts flag false"),
                                        QStringLiteral("addSysinfoShm flag false"),
                                        QStringLiteral("addConserveMode flag false")};
    QTest::newRow("ha") << QStringLiteral("ha")
                        << QStringList{
                               QStringLiteral("showStatus flag true"),   QStringLiteral("showChecksum flag true"),
                               QStringLiteral("showNonSync flag false"), QStringLiteral("showDump flag false"),
                               QStringLiteral("manageIndex text \"\""),  QStringLiteral("manageAdmin text \"\""),
                               QStringLiteral("syncAll flag false"),     QStringLiteral("resetUptime flag false"),
                               QStringLiteral("debugHatalk flag false"), QStringLiteral("debugHasync flag false"),
                               QStringLiteral("timestamps flag true"),   QStringLiteral("includeStopBlock flag true")};
    QTest::newRow("routing") << QStringLiteral("routing")
                             << QStringList{QStringLiteral("proto enum ospf ospf, bgp, staticR"),
                                            QStringLiteral("ospfNeighbors flag true"),
                                            QStringLiteral("ospfStatus flag true"),
                                            QStringLiteral("ospfInterface flag false"),
                                            QStringLiteral("ospfDatabase flag false"),
                                            QStringLiteral("ospfRoutes flag true"),
                                            QStringLiteral("ospfDebug flag false"),
                                            QStringLiteral("bgpSummary flag true"),
                                            QStringLiteral("bgpNeighborIP text \"\""),
                                            QStringLiteral("bgpNeighborRoutes flag false"),
                                            QStringLiteral("bgpAdvertisedRoutes flag false"),
                                            QStringLiteral("bgpNetwork flag false"),
                                            QStringLiteral("bgpDebug flag false"),
                                            QStringLiteral("staticAll flag false"),
                                            QStringLiteral("staticStatic flag true"),
                                            QStringLiteral("staticDetailsIP text \"\""),
                                            QStringLiteral("staticDatabase flag false"),
                                            QStringLiteral("staticPBR flag false"),
                                            QStringLiteral("timestamps flag true"),
                                            QStringLiteral("includeStopBlock flag true")};
}

void TestCliBuilders::fields()
{
    QFETCH(QString, category);
    QFETCH(QStringList, expected);
    const Run r = run({category, QStringLiteral("--fields")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QByteArray());
    QStringList lines;
    for (const QString &line : QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts))
        lines << line.simplified();
    QVERIFY(!lines.isEmpty());
    QCOMPARE(lines.takeFirst(), QStringLiteral("FIELD KIND DEFAULT CHOICES"));
    QCOMPARE(lines, expected);
}

QTEST_GUILESS_MAIN(TestCliBuilders)
#include "tst_cli_builders.moc"
