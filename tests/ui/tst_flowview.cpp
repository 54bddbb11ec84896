#include "builders/flowview.h"
#include "formviewfixture.h"

class TestFlowView : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f.setUp(DebugCategory::flow); }
    void cleanup() { m_f.tearDown(); }
    void typingShowsTheRule();
    void controls_data();
    void controls();
    void blocksInOrder();

private:
    static QList<FormLayout::Row> rows();
    FormViewFixture<FlowView> m_f;
};

void TestFlowView::typingShowsTheRule()
{
    QCOMPARE(m_f.panelTitle(), QStringLiteral("Debug Flow Capture"));
    QCOMPARE(m_f.panelText(), QStringLiteral("diagnose debug disable\ndiagnose debug reset\n"
                                             "diagnose debug flow filter clear\n"
                                             "diagnose debug flow show function-name enable\n"
                                             "diagnose debug console timestamp enable\n"
                                             "diagnose debug flow trace start 1000\ndiagnose debug enable\n\n"
                                             "# When finished, stop the debug:\ndiagnose debug disable\n"
                                             "diagnose debug reset"));

    QTest::keyClicks(m_f.field<QLineEdit>("addr"), QStringLiteral("10.1.1.10"));
    QTest::keyClicks(m_f.field<QLineEdit>("dport"), QStringLiteral("443"));
    m_f.choose("proto", QStringLiteral("TCP (6)"));
    m_f.erase("traceCount");
    QTest::keyClicks(m_f.field<QLineEdit>("traceCount"), QStringLiteral("50"));
    m_f.click("showIprope");
    m_f.click("timestamps");
    QCOMPARE(m_f.panelText(), QStringLiteral("diagnose debug disable\ndiagnose debug reset\n"
                                             "diagnose debug flow filter clear\n"
                                             "diagnose debug flow filter addr 10.1.1.10\n"
                                             "diagnose debug flow filter dport 443\n"
                                             "diagnose debug flow filter proto 6\n"
                                             "diagnose debug flow show function-name enable\n"
                                             "diagnose debug flow show iprope enable\n"
                                             "diagnose debug flow trace start 50\ndiagnose debug enable\n\n"
                                             "# When finished, stop the debug:\ndiagnose debug disable\n"
                                             "diagnose debug reset"));

    // Back to the plainest capture: no filters, every option off, a blank trace count.
    m_f.erase("addr");
    m_f.erase("dport");
    m_f.choose("proto", QStringLiteral("Any"));
    m_f.erase("traceCount");
    QTest::keyClicks(m_f.field<QLineEdit>("traceCount"), QStringLiteral("   "));
    for (const char *name : {"resetFirst", "showFunctionName", "showIprope", "includeStopBlock"})
        m_f.click(name);
    QCOMPARE(m_f.panelText(), QStringLiteral("diagnose debug flow filter clear\n"
                                             "diagnose debug flow trace start 1000\ndiagnose debug enable"));

    // A value keeps its surrounding spaces; the VDOM line leads the filters.
    QTest::keyClicks(m_f.field<QLineEdit>("saddr"), QStringLiteral(" 10.0.0.1 "));
    QTest::keyClicks(m_f.field<QLineEdit>("vdom"), QStringLiteral("root"));
    QCOMPARE(m_f.panelText(), QStringLiteral("diagnose debug flow filter clear\ndiagnose debug flow filter vd root\n"
                                             "diagnose debug flow filter saddr  10.0.0.1 \n"
                                             "diagnose debug flow trace start 1000\ndiagnose debug enable"));
    QCOMPARE(m_f.view()->form().traceCount, QStringLiteral("   "));
}

QList<FormLayout::Row> TestFlowView::rows()
{
    const QString filters = QStringLiteral("Filters");
    const QString options = QStringLiteral("Options");
    const QString optional = QStringLiteral("optional");
    return {
        {"addr", filters, QStringLiteral("Address (either dir):"), QStringLiteral("e.g. 10.1.1.10")},
        {"saddr", filters, QStringLiteral("Source IP:"), optional},
        {"daddr", filters, QStringLiteral("Destination IP:"), optional},
        {"port", filters, QStringLiteral("Port (either dir):"), optional},
        {"sport", filters, QStringLiteral("Source Port:"), optional},
        {"dport", filters, QStringLiteral("Destination Port:"), optional},
        {"proto", filters, QStringLiteral("Protocol:"),
         QStringLiteral("Any|TCP (6)|UDP (17)|ICMP (1)|GRE (47)|ESP (50)")},
        {"vdom", filters, QStringLiteral("VDOM index:"), optional},
        {"traceCount", filters, QStringLiteral("Trace Count:"), QStringLiteral("number of packets, e.g. 1000")},
        {"resetFirst", options, QStringLiteral("Reset debug state first (`disable` + `reset`)"), {}},
        {"showFunctionName", options, QStringLiteral("Show kernel function names"), {}},
        {"showIprope", options, QStringLiteral("Show iprope details"), {}},
        {"timestamps", options, QStringLiteral("Enable console timestamps"), {}},
        {"includeStopBlock", options, QStringLiteral("Append stop-debug block"), {}},
    };
}

void TestFlowView::controls_data()
{
    FormLayout::addRows(rows());
}

void TestFlowView::controls()
{
    FormLayout::checkRow(m_f.view());
}

void TestFlowView::blocksInOrder()
{
    FormLayout::checkBlocks(m_f.view(), QStringLiteral("Debug Flow"),
                            QStringLiteral("Build a `diagnose debug flow` capture. Use address / port filters to "
                                           "narrow the trace, then run the commands on the FortiGate."),
                            {QStringLiteral("Filters"), QStringLiteral("Options")});
    FormLayout::checkOrder(m_f.view(), rows());
    FormLayout::checkCheckRowsAlike(m_f.view());
    // The trace count starts filled in, so its placeholder shows only once it is cleared.
    QCOMPARE(m_f.field<QLineEdit>("traceCount")->text(), QStringLiteral("1000"));
}

QTEST_MAIN(TestFlowView)
#include "tst_flowview.moc"
