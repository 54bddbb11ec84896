#include "builders/vpnview.h"
#include "formviewfixture.h"

class TestVPNView : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f.setUp(DebugCategory::vpn); }
    void cleanup() { m_f.tearDown(); }
    void typingShowsTheRule();
    void debugLevelStartsFilled();
    void controls_data();
    void controls();
    void blocksInOrder();

private:
    static QList<FormLayout::Row> rows();
    FormViewFixture<VPNView> m_f;
};

void TestVPNView::typingShowsTheRule()
{
    QCOMPARE(m_f.panelTitle(), QStringLiteral("IPsec VPN Debug"));
    const QString live = QStringLiteral("# Live IKE debug:\ndiagnose vpn ike log filter clear\n");
    const QString tail = QStringLiteral("diagnose debug console timestamp enable\ndiagnose debug application ike -1\n"
                                        "diagnose debug enable\n\n# When finished, stop the debug:\n"
                                        "diagnose debug disable\ndiagnose debug reset");
    QCOMPARE(m_f.panelText(),
             QStringLiteral("diagnose vpn ike gateway list\ndiagnose vpn tunnel list\n\n") + live + tail);

    QTest::keyClicks(m_f.field<QLineEdit>("gatewayName"), QStringLiteral("HQ-to-Branch"));
    QTest::keyClicks(m_f.field<QLineEdit>("peerIP"), QStringLiteral("203.0.113.5"));
    QCOMPARE(m_f.panelText(), QStringLiteral("diagnose vpn ike gateway list name HQ-to-Branch\n"
                                             "diagnose vpn tunnel list\n\n") +
                                  live +
                                  QStringLiteral("diagnose vpn ike log filter name HQ-to-Branch\n"
                                                 "diagnose vpn ike log filter dst-addr4 203.0.113.5\n") +
                                  tail);

    // Without the status block the tunnel name is used nowhere and the comment leads.
    QTest::keyClicks(m_f.field<QLineEdit>("tunnelName"), QStringLiteral("HQ-to-Branch_P2"));
    QVERIFY(m_f.panelText().startsWith(QStringLiteral("diagnose vpn ike gateway list name HQ-to-Branch\n"
                                                      "diagnose vpn tunnel list name HQ-to-Branch_P2\n\n")));
    m_f.erase("gatewayName");
    m_f.erase("peerIP");
    for (const char *name : {"showTunnelStatus", "timestamps", "includeStopBlock"})
        m_f.click(name);
    QCOMPARE(m_f.panelText(), live + QStringLiteral("diagnose debug application ike -1\ndiagnose debug enable"));
}

void TestVPNView::debugLevelStartsFilled()
{
    auto *level = m_f.field<QLineEdit>("ikeDebugLevel");
    QCOMPARE(level->text(), QStringLiteral("-1"));
    // Cleared, the field shows its placeholder and the rule falls back to -1.
    m_f.erase("ikeDebugLevel");
    QCOMPARE(level->text(), QString());
    QCOMPARE(level->placeholderText(), QStringLiteral("default -1 (all)"));
    QVERIFY(m_f.panelText().contains(QStringLiteral("\ndiagnose debug application ike -1\n")));
    QTest::keyClicks(level, QStringLiteral("   "));
    QVERIFY(m_f.panelText().contains(QStringLiteral("\ndiagnose debug application ike -1\n")));
    m_f.erase("ikeDebugLevel");
    QTest::keyClicks(level, QStringLiteral("255"));
    QVERIFY(m_f.panelText().contains(QStringLiteral("\ndiagnose debug application ike 255\n")));
}

QList<FormLayout::Row> TestVPNView::rows()
{
    const QString filters = QStringLiteral("Filters");
    const QString options = QStringLiteral("Options");
    return {
        {"gatewayName", filters, QStringLiteral("Phase 1 / Gateway name:"), QStringLiteral("e.g. HQ-to-Branch")},
        {"tunnelName", filters, QStringLiteral("Phase 2 / Tunnel name:"), QStringLiteral("e.g. HQ-to-Branch_P2")},
        {"peerIP", filters, QStringLiteral("Peer IPv4:"), QStringLiteral("e.g. 203.0.113.5")},
        {"ikeDebugLevel", filters, QStringLiteral("IKE debug level:"), QStringLiteral("default -1 (all)")},
        {"showTunnelStatus", options, QStringLiteral("Show tunnel / gateway status first"), {}},
        {"timestamps", options, QStringLiteral("Enable console timestamps"), {}},
        {"includeStopBlock", options, QStringLiteral("Append stop-debug block"), {}},
    };
}

void TestVPNView::controls_data()
{
    FormLayout::addRows(rows());
}

void TestVPNView::controls()
{
    FormLayout::checkRow(m_f.view());
}

void TestVPNView::blocksInOrder()
{
    FormLayout::checkBlocks(m_f.view(), QStringLiteral("IPsec VPN Troubleshooting"),
                            QStringLiteral("Generate IPsec tunnel status and IKE debug sequences."),
                            {QStringLiteral("Filters"), QStringLiteral("Options")});
    FormLayout::checkOrder(m_f.view(), rows());
    FormLayout::checkCheckRowsAlike(m_f.view());
}

QTEST_MAIN(TestVPNView)
#include "tst_vpnview.moc"
