#include "builders/routingview.h"
#include "builderviewfixture.h"

class TestRoutingView : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_f.open()); }
    void cleanup() { m_f.close(); }
    void layout_data();
    void layout();
    void header();
    void areaShowsOneBoxAtATime_data();
    void areaShowsOneBoxAtATime();
    void debugOptionsFollowTheirDebugCheckbox_data();
    void debugOptionsFollowTheirDebugCheckbox();
    void sharedDebugFieldsStayInSync();
    void neighborChecksNeedAnAddress_data();
    void neighborChecksNeedAnAddress();
    void typingShowsTheRule();

private:
    QGroupBox *box(const QString &title) const
    {
        for (auto *group : m_f.view()->findChildren<QGroupBox *>()) {
            if (group->title() == title)
                return group;
        }
        qFatal("no box %s", qPrintable(title));
    }

    BuilderViewFixture<RoutingView> m_f;
};

void TestRoutingView::layout_data()
{
    LayoutTable::columns();
    QTest::addColumn<QString>("area");
    LayoutTable::row("proto", "Protocol", "OSPF|BGP|Static", "formDescription") << "OSPF";
    LayoutTable::row("ospfStatus", "Show OSPF status", "", "proto") << "OSPF";
    LayoutTable::row("ospfNeighbors", "Show OSPF neighbors", "", "ospfStatus") << "OSPF";
    LayoutTable::row("ospfInterface", "Show OSPF interfaces", "", "ospfNeighbors") << "OSPF";
    LayoutTable::row("ospfDatabase", "Show LSDB (database)", "", "ospfInterface") << "OSPF";
    LayoutTable::row("ospfRoutes", "Show OSPF routes in RIB", "", "ospfDatabase") << "OSPF";
    LayoutTable::row("ospfDebug", "Enable live OSPF debug", "", "ospfRoutes") << "OSPF";
    LayoutTable::row("timestamps", "Console timestamps", "", "ospfDebug") << "OSPF";
    LayoutTable::row("includeStopBlock", "Append stop-debug block", "", "timestamps") << "OSPF";
    LayoutTable::row("bgpSummary", "BGP summary", "", "proto") << "BGP";
    LayoutTable::row("bgpNeighborIP", "Neighbor IP:", "e.g. 10.0.0.1", "bgpSummary") << "BGP";
    LayoutTable::row("bgpNeighborRoutes", "Show routes received from neighbor", "", "bgpNeighborIP") << "BGP";
    LayoutTable::row("bgpAdvertisedRoutes", "Show routes advertised to neighbor", "", "bgpNeighborRoutes") << "BGP";
    LayoutTable::row("bgpNetwork", "Show locally originated networks", "", "bgpAdvertisedRoutes") << "BGP";
    LayoutTable::row("bgpDebug", "Enable live BGP debug", "", "bgpNetwork") << "BGP";
    LayoutTable::row("timestampsBgp", "Console timestamps", "", "bgpDebug") << "BGP";
    LayoutTable::row("includeStopBlockBgp", "Append stop-debug block", "", "timestampsBgp") << "BGP";
    LayoutTable::row("staticStatic", "Show static routes", "", "proto") << "Static";
    LayoutTable::row("staticAll", "Show full routing-table", "", "staticStatic") << "Static";
    LayoutTable::row("staticDatabase", "Show routing-table database", "", "staticAll") << "Static";
    LayoutTable::row("staticPBR", "Show policy-based routes (proute)", "", "staticDatabase") << "Static";
    LayoutTable::row("staticDetailsIP", "Lookup destination:", "optional IP to resolve", "staticPBR") << "Static";
}

void TestRoutingView::layout()
{
    QFETCH(QString, area);
    m_f.choose(QStringLiteral("proto"), area);
    // The debug options show only under a ticked debug checkbox.
    if (area != QStringLiteral("Static"))
        m_f.click(area.toLower() + QStringLiteral("Debug"));
    m_f.checkLayoutRow();
    if (qobject_cast<QLineEdit *>(m_f.field<QWidget>(QString::fromLatin1(QTest::currentDataTag()))))
        m_f.checkBesideLabel(QString::fromLatin1(QTest::currentDataTag()), 220);
}

void TestRoutingView::header()
{
    QCOMPARE(m_f.field<QLabel>(QStringLiteral("formTitle"))->text(), QStringLiteral("Routing"));
    QCOMPARE(m_f.field<QLabel>(QStringLiteral("formDescription"))->text(),
             QStringLiteral("Generate command sets for OSPF, BGP, and static / policy-based routing."));
    // The segmented control stands alone, between the header and the area's box.
    auto *proto = m_f.field<SegmentedPicker>(QStringLiteral("proto"));
    QVERIFY(!qobject_cast<QGroupBox *>(proto->parentWidget()));
    QVERIFY(m_f.y(proto) < m_f.y(box(QStringLiteral("OSPF"))));

    // Far taller than the form: the room left over stays below the panel, which keeps its own height.
    m_f.view()->resize(900, 1800);
    QTest::qWait(20);
    QCOMPARE(m_f.view()->output()->height(), m_f.view()->output()->sizeHint().height());
    QVERIFY(m_f.y(m_f.view()->output()) + m_f.view()->output()->height() < 900);
}

void TestRoutingView::areaShowsOneBoxAtATime_data()
{
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("shownBox");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("bgp") << "BGP"
                         << "BGP"
                         << "BGP Routing"
                         << "get router info bgp summary";
    QTest::newRow("static") << "Static"
                            << "Static / RIB"
                            << "Static Routing"
                            << "get router info routing-table static";
    QTest::newRow("ospf") << "OSPF"
                          << "OSPF"
                          << "OSPF Routing"
                          << "get router info ospf status\nget router info ospf neighbor\n"
                             "get router info routing-table ospf";
}

void TestRoutingView::areaShowsOneBoxAtATime()
{
    QFETCH(QString, area);
    QFETCH(QString, shownBox);
    QFETCH(QString, title);
    QFETCH(QString, text);
    // Leave OSPF first, so that coming back to it is a change too.
    m_f.choose(QStringLiteral("proto"), QStringLiteral("Static"));
    m_f.choose(QStringLiteral("proto"), QStringLiteral("BGP"));
    m_f.choose(QStringLiteral("proto"), area);
    for (const QString &boxTitle : {QStringLiteral("OSPF"), QStringLiteral("BGP"), QStringLiteral("Static / RIB")})
        QCOMPARE(box(boxTitle)->isVisible(), boxTitle == shownBox);
    QCOMPARE(m_f.panelTitle(), title);
    QCOMPARE(m_f.panelText(), text);
}

void TestRoutingView::debugOptionsFollowTheirDebugCheckbox_data()
{
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("debug");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("ospf") << "OSPF"
                          << "ospfDebug"
                          << "";
    QTest::newRow("bgp") << "BGP"
                         << "bgpDebug"
                         << "Bgp";
}

void TestRoutingView::debugOptionsFollowTheirDebugCheckbox()
{
    QFETCH(QString, area);
    QFETCH(QString, debug);
    QFETCH(QString, suffix);
    m_f.choose(QStringLiteral("proto"), area);
    auto *timestamps = m_f.field<QCheckBox>(QStringLiteral("timestamps") + suffix);
    auto *stopBlock = m_f.field<QCheckBox>(QStringLiteral("includeStopBlock") + suffix);
    QVERIFY(!timestamps->isVisible());
    QVERIFY(!stopBlock->isVisible());

    m_f.click(debug);
    QVERIFY(timestamps->isVisible() && stopBlock->isVisible());
    QCOMPARE(m_f.visibleLabel(timestamps), QStringLiteral("Console timestamps"));
    // Indented under the debug checkbox.
    const auto x = [this](QWidget *w) { return w->mapTo(m_f.view()->widget(), QPoint()).x(); };
    QCOMPARE(x(timestamps) - x(m_f.field<QCheckBox>(debug)), 20);
    QCOMPARE(x(stopBlock), x(timestamps));
    QVERIFY(m_f.panelText().endsWith(QStringLiteral("\ndiagnose debug reset")));

    // Hidden, their values are kept and still apply.
    m_f.click(QStringLiteral("includeStopBlock") + suffix);
    m_f.click(debug);
    QVERIFY(!timestamps->isVisible() && !stopBlock->isVisible());
    QVERIFY(!m_f.view()->form().includeStopBlock);
    QVERIFY(m_f.view()->form().timestamps);
    m_f.click(debug);
    QVERIFY(timestamps->isVisible() && stopBlock->isVisible());
    QVERIFY(timestamps->isChecked());
    QVERIFY(!stopBlock->isChecked());
    QVERIFY(m_f.panelText().endsWith(QStringLiteral("\ndiagnose debug console timestamp enable\ndiagnose ip router ") +
                                     area.toLower() + QStringLiteral(" all enable\ndiagnose ip router ") +
                                     area.toLower() + QStringLiteral(" level info\ndiagnose debug enable")));
}

void TestRoutingView::sharedDebugFieldsStayInSync()
{
    m_f.click(QStringLiteral("ospfDebug"));
    m_f.click(QStringLiteral("bgpDebug"));
    m_f.click(QStringLiteral("timestamps")); // off, in the OSPF box
    m_f.choose(QStringLiteral("proto"), QStringLiteral("BGP"));
    QVERIFY(!m_f.field<QCheckBox>(QStringLiteral("timestampsBgp"))->isChecked());
    QVERIFY(!m_f.panelText().contains(QStringLiteral("timestamp")));

    m_f.click(QStringLiteral("includeStopBlockBgp")); // off, in the BGP box
    m_f.click(QStringLiteral("timestampsBgp"));       // on again
    QVERIFY(m_f.panelText().contains(QStringLiteral("console timestamp enable")));
    QVERIFY(!m_f.panelText().contains(QStringLiteral("# When finished")));
    m_f.choose(QStringLiteral("proto"), QStringLiteral("OSPF"));
    QVERIFY(m_f.field<QCheckBox>(QStringLiteral("timestamps"))->isChecked());
    QVERIFY(!m_f.field<QCheckBox>(QStringLiteral("includeStopBlock"))->isChecked());
    QVERIFY(m_f.panelText().contains(QStringLiteral("console timestamp enable")));
    QVERIFY(m_f.panelText().endsWith(QStringLiteral("diagnose debug enable")));

    // The static area has no debug section: neither flag changes its text.
    m_f.choose(QStringLiteral("proto"), QStringLiteral("Static"));
    const QString staticText = m_f.panelText();
    m_f.choose(QStringLiteral("proto"), QStringLiteral("OSPF"));
    m_f.click(QStringLiteral("timestamps"));
    m_f.click(QStringLiteral("includeStopBlock"));
    m_f.choose(QStringLiteral("proto"), QStringLiteral("Static"));
    QCOMPARE(m_f.panelText(), staticText);
}

void TestRoutingView::neighborChecksNeedAnAddress_data()
{
    QTest::addColumn<QString>("blank");
    QTest::newRow("empty") << "";
    QTest::newRow("spaces") << "   ";
    QTest::newRow("tab") << "\t";
    QTest::newRow("no-break space") << "\u00a0";
    QTest::newRow("ideographic space") << "\u3000 ";
}

void TestRoutingView::neighborChecksNeedAnAddress()
{
    QFETCH(QString, blank);
    m_f.choose(QStringLiteral("proto"), QStringLiteral("BGP"));
    auto *address = m_f.field<QLineEdit>(QStringLiteral("bgpNeighborIP"));
    auto *received = m_f.field<QCheckBox>(QStringLiteral("bgpNeighborRoutes"));
    auto *advertised = m_f.field<QCheckBox>(QStringLiteral("bgpAdvertisedRoutes"));
    QVERIFY(!received->isEnabled() && !advertised->isEnabled());

    QTest::keyClicks(address, QStringLiteral("10.0.0.2"));
    QVERIFY(received->isEnabled() && advertised->isEnabled());
    m_f.click(QStringLiteral("bgpNeighborRoutes"));
    m_f.click(QStringLiteral("bgpAdvertisedRoutes"));
    QVERIFY(m_f.panelText().contains(QStringLiteral("neighbors 10.0.0.2 advertised-routes")));

    // Cleared to white space: disabled, ticks kept, no neighbour line.
    address->setText(blank);
    QVERIFY(!received->isEnabled() && !advertised->isEnabled());
    QVERIFY(received->isChecked() && advertised->isChecked());
    QCOMPARE(m_f.panelText(), QStringLiteral("get router info bgp summary"));
    // A disabled checkbox takes no click.
    m_f.click(QStringLiteral("bgpNeighborRoutes"));
    QVERIFY(received->isChecked());

    address->setText(blank + QStringLiteral("10.0.0.3"));
    QVERIFY(received->isEnabled());
    QCOMPARE(m_f.panelText(), QStringLiteral("get router info bgp summary\nget router info bgp neighbors 10.0.0.3\n"
                                             "get router info bgp neighbors 10.0.0.3 routes\n"
                                             "get router info bgp neighbors 10.0.0.3 advertised-routes"));
}

void TestRoutingView::typingShowsTheRule()
{
    m_f.choose(QStringLiteral("proto"), QStringLiteral("BGP"));
    QTest::keyClicks(m_f.field<QLineEdit>(QStringLiteral("bgpNeighborIP")), QStringLiteral(" 10.0.0.2 "));
    for (const char *check : {"bgpNeighborRoutes", "bgpAdvertisedRoutes", "bgpNetwork", "bgpDebug", "timestampsBgp"})
        m_f.click(QString::fromLatin1(check));
    QCOMPARE(m_f.panelText(),
             QStringLiteral("get router info bgp summary\nget router info bgp neighbors 10.0.0.2\n"
                            "get router info bgp neighbors 10.0.0.2 routes\n"
                            "get router info bgp neighbors 10.0.0.2 advertised-routes\nget router info bgp network\n\n"
                            "# Live BGP debug:\ndiagnose ip router bgp all enable\ndiagnose ip router bgp level info\n"
                            "diagnose debug enable\n\n# When finished, stop the debug:\n"
                            "diagnose ip router bgp all disable\ndiagnose debug disable\ndiagnose debug reset"));

    m_f.choose(QStringLiteral("proto"), QStringLiteral("Static"));
    for (const char *check : {"staticAll", "staticDatabase", "staticPBR"})
        m_f.click(QString::fromLatin1(check));
    QTest::keyClicks(m_f.field<QLineEdit>(QStringLiteral("staticDetailsIP")), QStringLiteral("8.8.8.8"));
    QCOMPARE(m_f.panelText(), QStringLiteral("get router info routing-table static\nget router info routing-table all\n"
                                             "get router info routing-table database\n"
                                             "get router info routing-table details 8.8.8.8\n"
                                             "diagnose firewall proute list\ndiagnose firewall proute6 list"));
    // Switching back keeps every value of the BGP box.
    m_f.choose(QStringLiteral("proto"), QStringLiteral("BGP"));
    QCOMPARE(m_f.field<QLineEdit>(QStringLiteral("bgpNeighborIP"))->text(), QStringLiteral(" 10.0.0.2 "));
    QVERIFY(m_f.panelText().startsWith(QStringLiteral("get router info bgp summary\nget router info bgp neighbors")));
}

QTEST_MAIN(TestRoutingView)
#include "tst_routingview.moc"
