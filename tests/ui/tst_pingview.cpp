#include "builders/pingview.h"
#include "formviewfixture.h"

class TestPingView : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f.setUp(DebugCategory::ping); }
    void cleanup() { m_f.tearDown(); }
    void typingShowsTheRule();
    void controls_data();
    void controls();
    void blocksInOrder();

private:
    static QList<FormLayout::Row> rows();
    FormViewFixture<PingView> m_f;
};

void TestPingView::typingShowsTheRule()
{
    QCOMPARE(m_f.panelText(), QStringLiteral("exec ping-options view-settings"));
    QCOMPARE(m_f.panelTitle(), QStringLiteral("Ping to target"));

    // Filled in a different order from the lines': the rule orders them.
    QTest::keyClicks(m_f.field<QLineEdit>("target"), QStringLiteral("8.8.8.8"));
    m_f.click("dfBit");
    QTest::keyClicks(m_f.field<QLineEdit>("repeatCount"), QStringLiteral("10"));
    QTest::keyClicks(m_f.field<QLineEdit>("source"), QStringLiteral("10.0.0.1"));
    QCOMPARE(m_f.panelTitle(), QStringLiteral("Ping to 8.8.8.8"));
    QCOMPARE(m_f.panelText(), QStringLiteral("exec ping-options source 10.0.0.1\n"
                                             "exec ping-options repeat-count 10\nexec ping-options df-bit yes\n"
                                             "exec ping-options view-settings\nexec ping 8.8.8.8"));

    // A destination of spaces names the title but sends no ping; values are kept as typed.
    m_f.erase("target");
    QTest::keyClicks(m_f.field<QLineEdit>("target"), QStringLiteral("  "));
    QTest::keyClicks(m_f.field<QLineEdit>("timeout"), QStringLiteral(" 3"));
    QTest::keyClicks(m_f.field<QLineEdit>("interface"), QStringLiteral("wan1"));
    QTest::keyClicks(m_f.field<QLineEdit>("dataSize"), QStringLiteral("1400"));
    QTest::keyClicks(m_f.field<QLineEdit>("tos"), QStringLiteral("16"));
    QTest::keyClicks(m_f.field<QLineEdit>("pattern"), QStringLiteral("ff"));
    m_f.click("adaptive");
    m_f.click("validateReply");
    QCOMPARE(m_f.panelTitle(), QStringLiteral("Ping to   "));
    QCOMPARE(m_f.panelText(),
             QStringLiteral("exec ping-options source 10.0.0.1\nexec ping-options interface wan1\n"
                            "exec ping-options repeat-count 10\nexec ping-options timeout  3\n"
                            "exec ping-options data-size 1400\nexec ping-options tos 16\nexec ping-options pattern ff\n"
                            "exec ping-options df-bit yes\nexec ping-options adaptive-ping yes\n"
                            "exec ping-options validate-reply yes\nexec ping-options view-settings"));

    // Nothing left: the panel shows its empty state.
    for (const char *name : {"source", "interface", "repeatCount", "timeout", "dataSize", "tos", "pattern"})
        m_f.erase(name);
    for (const char *name : {"dfBit", "adaptive", "validateReply", "viewSettings"})
        m_f.click(name);
    QCOMPARE(m_f.panelText(), QString());
    QVERIFY(m_f.view()->findChild<QLabel *>(QStringLiteral("emptyCommand"))->isVisible());
}

QList<FormLayout::Row> TestPingView::rows()
{
    const QString options = QStringLiteral("Ping Options");
    const QString flags = QStringLiteral("Flags");
    return {
        {"target", QStringLiteral("Target"), QStringLiteral("Destination:"),
         QStringLiteral("host or IP, e.g. 8.8.8.8")},
        {"source", options, QStringLiteral("Source IP:"), QStringLiteral("optional source IP")},
        {"interface", options, QStringLiteral("Egress Interface:"), QStringLiteral("e.g. port1, wan1")},
        {"repeatCount", options, QStringLiteral("Repeat Count:"), QStringLiteral("default 5")},
        {"timeout", options, QStringLiteral("Timeout (s):"), QStringLiteral("default 2")},
        {"dataSize", options, QStringLiteral("Data Size (bytes):"), QStringLiteral("default 56")},
        {"tos", options, QStringLiteral("ToS / DSCP:"), QStringLiteral("numeric")},
        {"pattern", options, QStringLiteral("Payload Pattern:"), QStringLiteral("hex, e.g. ff")},
        {"dfBit", flags, QStringLiteral("Set DF bit (Don't Fragment)"), {}},
        {"adaptive", flags, QStringLiteral("Adaptive ping"), {}},
        {"validateReply", flags, QStringLiteral("Validate reply payload"), {}},
        {"viewSettings", flags, QStringLiteral("Show effective settings (`view-settings`)"), {}},
    };
}

void TestPingView::controls_data()
{
    FormLayout::addRows(rows());
}

void TestPingView::controls()
{
    FormLayout::checkRow(m_f.view());
}

void TestPingView::blocksInOrder()
{
    FormLayout::checkBlocks(
        m_f.view(), QStringLiteral("Ping"),
        QStringLiteral("Configure `exec ping-options` and issue `exec ping`. Leave a field blank to omit that option."),
        {QStringLiteral("Target"), QStringLiteral("Ping Options"), QStringLiteral("Flags")});
    FormLayout::checkOrder(m_f.view(), rows());
    FormLayout::checkCheckRowsAlike(m_f.view());
}

QTEST_MAIN(TestPingView)
#include "tst_pingview.moc"
