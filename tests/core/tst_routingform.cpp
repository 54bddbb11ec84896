#include "builders/routingform.h"

#include <QTest>

using Area = RoutingForm::RouteProto;

class TestRoutingForm : public QObject
{
    Q_OBJECT

private slots:
    void generatedCommand_data();
    void generatedCommand();
    void title_data();
    void title();
    void areaTable();
};

namespace {

QStringList debugSection(const QString &daemon, const QString &heading, bool timestamps, bool stop)
{
    QStringList lines = {QString(), heading};
    if (timestamps)
        lines << QStringLiteral("diagnose debug console timestamp enable");
    lines << QStringLiteral("diagnose ip router %1 all enable").arg(daemon)
          << QStringLiteral("diagnose ip router %1 level info").arg(daemon) << QStringLiteral("diagnose debug enable");
    if (stop) {
        lines << QString() << QStringLiteral("# When finished, stop the debug:")
              << QStringLiteral("diagnose ip router %1 all disable").arg(daemon)
              << QStringLiteral("diagnose debug disable") << QStringLiteral("diagnose debug reset");
    }
    return lines;
}

QStringList ospfDebug(bool timestamps = true, bool stop = true)
{
    return debugSection(QStringLiteral("ospf"), QStringLiteral("# Live OSPF debug:"), timestamps, stop);
}

QStringList bgpDebug(bool timestamps = true, bool stop = true)
{
    return debugSection(QStringLiteral("bgp"), QStringLiteral("# Live BGP debug:"), timestamps, stop);
}

RoutingForm area(Area proto)
{
    RoutingForm f;
    f.proto = proto;
    return f;
}

// Every checkbox of the area off and its text fields blank.
RoutingForm bare(Area proto)
{
    RoutingForm f = area(proto);
    f.ospfNeighbors = f.ospfStatus = f.ospfRoutes = false;
    f.bgpSummary = false;
    f.staticStatic = false;
    return f;
}

const QStringList ospfDefaults = {QStringLiteral("get router info ospf status"),
                                  QStringLiteral("get router info ospf neighbor"),
                                  QStringLiteral("get router info routing-table ospf")};

} // namespace

void TestRoutingForm::generatedCommand_data()
{
    QTest::addColumn<RoutingForm>("form");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("defaults: ospf") << RoutingForm{} << ospfDefaults;
    QTest::newRow("defaults: bgp") << area(Area::bgp) << QStringList{QStringLiteral("get router info bgp summary")};
    QTest::newRow("defaults: static") << area(Area::staticR)
                                      << QStringList{QStringLiteral("get router info routing-table static")};

    RoutingForm ospfWorked;
    ospfWorked.ospfDebug = true;
    QTest::newRow("ospf worked example") << ospfWorked << ospfDefaults + ospfDebug();

    RoutingForm bgpWorked = area(Area::bgp);
    bgpWorked.bgpNeighborIP = QStringLiteral(" 10.0.0.2 ");
    bgpWorked.bgpNeighborRoutes = true;
    bgpWorked.bgpAdvertisedRoutes = true;
    bgpWorked.bgpNetwork = true;
    bgpWorked.bgpDebug = true;
    bgpWorked.timestamps = false;
    QTest::newRow("bgp worked example") << bgpWorked
                                        << QStringList{QStringLiteral("get router info bgp summary"),
                                                       QStringLiteral("get router info bgp neighbors 10.0.0.2"),
                                                       QStringLiteral("get router info bgp neighbors 10.0.0.2 routes"),
                                                       QStringLiteral(
                                                           "get router info bgp neighbors 10.0.0.2 advertised-routes"),
                                                       QStringLiteral("get router info bgp network")} +
                                               bgpDebug(false, true);

    RoutingForm staticWorked = area(Area::staticR);
    staticWorked.staticAll = true;
    staticWorked.staticDatabase = true;
    staticWorked.staticPBR = true;
    staticWorked.staticDetailsIP = QStringLiteral("8.8.8.8");
    const QStringList staticAllLines = {QStringLiteral("get router info routing-table static"),
                                        QStringLiteral("get router info routing-table all"),
                                        QStringLiteral("get router info routing-table database"),
                                        QStringLiteral("get router info routing-table details 8.8.8.8"),
                                        QStringLiteral("diagnose firewall proute list"),
                                        QStringLiteral("diagnose firewall proute6 list")};
    QTest::newRow("static worked example") << staticWorked << staticAllLines;

    RoutingForm ospfDebugOnly = bare(Area::ospf);
    ospfDebugOnly.ospfDebug = true;
    QTest::newRow("ospf debug alone begins with an empty line") << ospfDebugOnly << ospfDebug();

    QTest::newRow("ospf: nothing ticked is empty") << bare(Area::ospf) << QStringList{};
    QTest::newRow("bgp: nothing ticked is empty") << bare(Area::bgp) << QStringList{};
    QTest::newRow("static: nothing ticked is empty") << bare(Area::staticR) << QStringList{};

    RoutingForm ospfAll;
    ospfAll.ospfInterface = true;
    ospfAll.ospfDatabase = true;
    ospfAll.ospfDebug = true;
    ospfAll.includeStopBlock = false;
    QTest::newRow("ospf: every view in screen order, stop block off")
        << ospfAll
        << QStringList{QStringLiteral("get router info ospf status"), QStringLiteral("get router info ospf neighbor"),
                       QStringLiteral("get router info ospf interface"),
                       QStringLiteral("get router info ospf database"),
                       QStringLiteral("get router info routing-table ospf")} +
               ospfDebug(true, false);

    for (const QString &blank : {QStringLiteral("   "), QStringLiteral("\t"), QStringLiteral("\u00A0\u3000")}) {
        RoutingForm f = area(Area::bgp);
        f.bgpNeighborIP = blank;
        f.bgpNeighborRoutes = true;
        f.bgpAdvertisedRoutes = true;
        QTest::addRow("bgp: blank neighbour %d gives no neighbour line", int(blank.at(0).unicode()))
            << f << QStringList{QStringLiteral("get router info bgp summary")};
    }

    RoutingForm plainNeighbor = bare(Area::bgp);
    plainNeighbor.bgpNeighborIP = QStringLiteral("\u3000192.0.2.7\t");
    QTest::newRow("bgp: plain neighbour line, Unicode spaces trimmed")
        << plainNeighbor << QStringList{QStringLiteral("get router info bgp neighbors 192.0.2.7")};

    RoutingForm received = bare(Area::bgp);
    received.bgpNeighborIP = QStringLiteral("10.0.0.1");
    received.bgpNeighborRoutes = true;
    QTest::newRow("bgp: received routes come with the plain line")
        << received
        << QStringList{QStringLiteral("get router info bgp neighbors 10.0.0.1"),
                       QStringLiteral("get router info bgp neighbors 10.0.0.1 routes")};

    RoutingForm advertised = bare(Area::bgp);
    advertised.bgpNeighborIP = QStringLiteral("h");
    advertised.bgpAdvertisedRoutes = true;
    advertised.bgpDebug = true;
    advertised.includeStopBlock = false;
    QTest::newRow("bgp: advertised only, debug ends with enable")
        << advertised
        << QStringList{QStringLiteral("get router info bgp neighbors h"),
                       QStringLiteral("get router info bgp neighbors h advertised-routes")} +
               bgpDebug(true, false);

    RoutingForm pbr = bare(Area::staticR);
    pbr.staticPBR = true;
    QTest::newRow("static: policy routes are both families")
        << pbr
        << QStringList{QStringLiteral("diagnose firewall proute list"),
                       QStringLiteral("diagnose firewall proute6 list")};

    RoutingForm lookup = bare(Area::staticR);
    lookup.staticDetailsIP = QStringLiteral(" \t10.9.8.7\u00A0");
    lookup.staticDatabase = true;
    QTest::newRow("static: database before trimmed lookup")
        << lookup
        << QStringList{QStringLiteral("get router info routing-table database"),
                       QStringLiteral("get router info routing-table details 10.9.8.7")};

    RoutingForm blankLookup = bare(Area::staticR);
    blankLookup.staticDetailsIP = QStringLiteral("\u3000\t ");
    QTest::newRow("static: blank lookup dropped") << blankLookup << QStringList{};

    // The static rule has no debug section: the shared debug flags and the other areas' fields are ignored.
    RoutingForm staticIgnores = staticWorked;
    staticIgnores.timestamps = false;
    staticIgnores.includeStopBlock = false;
    staticIgnores.ospfDebug = true;
    staticIgnores.bgpDebug = true;
    staticIgnores.bgpNeighborIP = QStringLiteral("10.0.0.1");
    QTest::newRow("static: ignores debug flags and other areas") << staticIgnores << staticAllLines;

    RoutingForm ospfIgnores;
    ospfIgnores.bgpDebug = true;
    ospfIgnores.bgpNeighborIP = QStringLiteral("10.0.0.1");
    ospfIgnores.staticDetailsIP = QStringLiteral("8.8.8.8");
    ospfIgnores.staticPBR = true;
    QTest::newRow("ospf: ignores bgp and static fields") << ospfIgnores << ospfDefaults;

    // timestamps and includeStopBlock are one pair shared by both daemons' sections.
    RoutingForm sharedOspf = bare(Area::ospf);
    sharedOspf.ospfDebug = true;
    sharedOspf.bgpDebug = true;
    sharedOspf.timestamps = false;
    QTest::newRow("shared timestamps off: ospf") << sharedOspf << ospfDebug(false, true);
    RoutingForm sharedBgp = sharedOspf;
    sharedBgp.proto = Area::bgp;
    QTest::newRow("shared timestamps off: bgp") << sharedBgp << bgpDebug(false, true);
}

void TestRoutingForm::generatedCommand()
{
    QFETCH(RoutingForm, form);
    QFETCH(QStringList, expected);
    QCOMPARE(form.generatedCommand(), expected.join(u'\n'));
}

void TestRoutingForm::title_data()
{
    QTest::addColumn<Area>("proto");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ospf") << Area::ospf << QStringLiteral("OSPF Routing");
    QTest::newRow("bgp") << Area::bgp << QStringLiteral("BGP Routing");
    QTest::newRow("static") << Area::staticR << QStringLiteral("Static Routing");
}

void TestRoutingForm::title()
{
    QFETCH(Area, proto);
    QFETCH(QString, expected);
    QCOMPARE(area(proto).title(), expected);
}

void TestRoutingForm::areaTable()
{
    QCOMPARE(Enum::rawValues<Area>(),
             (QStringList{QStringLiteral("OSPF"), QStringLiteral("BGP"), QStringLiteral("Static")}));
    QCOMPARE(Enum::caseNames<Area>(),
             (QStringList{QStringLiteral("ospf"), QStringLiteral("bgp"), QStringLiteral("staticR")}));
    QVERIFY(Enum::fromRawValue<Area>(u"Static") == Area::staticR);
    QVERIFY(!Enum::fromRawValue<Area>(u"static"));
    QVERIFY(!Enum::fromRawValue<Area>(u"Static / RIB"));
    QCOMPARE(Enum::detail::fromUtf8(Enum::payload(Area::staticR).groupTitle), QStringLiteral("Static / RIB"));
    QCOMPARE(Enum::detail::fromUtf8(Enum::payload(Area::bgp).groupTitle), QStringLiteral("BGP"));
}

QTEST_GUILESS_MAIN(TestRoutingForm)
#include "tst_routingform.moc"
