#include "builders/tracerouteview.h"
#include "formviewfixture.h"

class TestTracerouteView : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f.setUp(DebugCategory::traceroute); }
    void cleanup() { m_f.tearDown(); }
    void typingShowsTheRule();
    void controls_data();
    void controls();
    void blocksInOrder();

private:
    static QList<FormLayout::Row> rows();
    FormViewFixture<TracerouteView> m_f;
};

void TestTracerouteView::typingShowsTheRule()
{
    QCOMPARE(m_f.panelText(), QStringLiteral("exec traceroute-options view-settings"));
    QCOMPARE(m_f.panelTitle(), QStringLiteral("Traceroute to target"));

    QTest::keyClicks(m_f.field<QLineEdit>("target"), QStringLiteral("8.8.8.8"));
    QTest::keyClicks(m_f.field<QLineEdit>("maxTTL"), QStringLiteral("20"));
    QTest::keyClicks(m_f.field<QLineEdit>("device"), QStringLiteral("wan1"));
    QCOMPARE(m_f.panelTitle(), QStringLiteral("Traceroute to 8.8.8.8"));
    QCOMPARE(m_f.panelText(), QStringLiteral("exec traceroute-options device wan1\n"
                                             "exec traceroute-options max-ttl 20\n"
                                             "exec traceroute-options view-settings\nexec traceroute 8.8.8.8"));

    m_f.erase("target");
    QTest::keyClicks(m_f.field<QLineEdit>("target"), QStringLiteral(" "));
    QTest::keyClicks(m_f.field<QLineEdit>("source"), QStringLiteral("10.0.0.1"));
    QTest::keyClicks(m_f.field<QLineEdit>("queries"), QStringLiteral("2 "));
    QTest::keyClicks(m_f.field<QLineEdit>("minTTL"), QStringLiteral("x"));
    QTest::keyClicks(m_f.field<QLineEdit>("waitTime"), QStringLiteral("5"));
    m_f.click("viewSettings");
    QCOMPARE(m_f.panelTitle(), QStringLiteral("Traceroute to  "));
    QCOMPARE(m_f.panelText(), QStringLiteral("exec traceroute-options source 10.0.0.1\n"
                                             "exec traceroute-options device wan1\n"
                                             "exec traceroute-options queries 2 \nexec traceroute-options min-ttl x\n"
                                             "exec traceroute-options max-ttl 20\nexec traceroute-options wait 5"));

    for (const char *name : {"source", "device", "queries", "minTTL", "maxTTL", "waitTime"})
        m_f.erase(name);
    QCOMPARE(m_f.panelText(), QString());
    QVERIFY(m_f.view()->findChild<QLabel *>(QStringLiteral("emptyCommand"))->isVisible());
}

QList<FormLayout::Row> TestTracerouteView::rows()
{
    const QString options = QStringLiteral("Traceroute Options");
    return {
        {"target", QStringLiteral("Target"), QStringLiteral("Destination:"),
         QStringLiteral("host or IP, e.g. 8.8.8.8")},
        {"source", options, QStringLiteral("Source IP:"), QStringLiteral("optional source IP")},
        {"device", options, QStringLiteral("Egress Interface:"), QStringLiteral("e.g. port1, wan1")},
        {"queries", options, QStringLiteral("Queries per hop:"), QStringLiteral("default 3")},
        {"minTTL", options, QStringLiteral("Min TTL:"), QStringLiteral("default 1")},
        {"maxTTL", options, QStringLiteral("Max TTL:"), QStringLiteral("default 32")},
        {"waitTime", options, QStringLiteral("Wait (s):"), QStringLiteral("default 3")},
        {"viewSettings", QStringLiteral("Flags"), QStringLiteral("Show effective settings (`view-settings`)"), {}},
    };
}

void TestTracerouteView::controls_data()
{
    FormLayout::addRows(rows());
}

void TestTracerouteView::controls()
{
    FormLayout::checkRow(m_f.view());
}

void TestTracerouteView::blocksInOrder()
{
    FormLayout::checkBlocks(m_f.view(), QStringLiteral("Traceroute"),
                            QStringLiteral("Configure `exec traceroute-options` and issue `exec traceroute`."),
                            {QStringLiteral("Target"), QStringLiteral("Traceroute Options"), QStringLiteral("Flags")});
    FormLayout::checkOrder(m_f.view(), rows());
    FormLayout::checkCheckRowsAlike(m_f.view());
}

QTEST_MAIN(TestTracerouteView)
#include "tst_tracerouteview.moc"
