#include "builders/vpnform.h"

#include <QTest>

class TestVPNForm : public QObject
{
    Q_OBJECT

private slots:
    void generatedCommand_data();
    void generatedCommand();
};

namespace {

const QStringList stopBlock = {QString(), QStringLiteral("# When finished, stop the debug:"),
                               QStringLiteral("diagnose debug disable"), QStringLiteral("diagnose debug reset")};

VPNForm bare()
{
    VPNForm f;
    f.timestamps = false;
    f.includeStopBlock = false;
    f.showTunnelStatus = false;
    return f;
}

// The debug lines of a form with every checkbox off.
QStringList bareDebug(const QStringList &filters, const QString &level = QStringLiteral("-1"))
{
    return QStringList{QStringLiteral("# Live IKE debug:"), QStringLiteral("diagnose vpn ike log filter clear")} +
           filters +
           QStringList{QStringLiteral("diagnose debug application ike ") + level,
                       QStringLiteral("diagnose debug enable")};
}

} // namespace

void TestVPNForm::generatedCommand_data()
{
    QTest::addColumn<VPNForm>("form");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("defaults") << VPNForm{}
                              << QStringList{QStringLiteral("diagnose vpn ike gateway list"),
                                             QStringLiteral("diagnose vpn tunnel list"),
                                             QString(),
                                             QStringLiteral("# Live IKE debug:"),
                                             QStringLiteral("diagnose vpn ike log filter clear"),
                                             QStringLiteral("diagnose debug console timestamp enable"),
                                             QStringLiteral("diagnose debug application ike -1"),
                                             QStringLiteral("diagnose debug enable")} +
                                     stopBlock;

    VPNForm worked;
    worked.gatewayName = QStringLiteral("HQ-to-Branch");
    worked.peerIP = QStringLiteral("203.0.113.5");
    QTest::newRow("worked example") << worked
                                    << QStringList{QStringLiteral("diagnose vpn ike gateway list name HQ-to-Branch"),
                                                   QStringLiteral("diagnose vpn tunnel list"),
                                                   QString(),
                                                   QStringLiteral("# Live IKE debug:"),
                                                   QStringLiteral("diagnose vpn ike log filter clear"),
                                                   QStringLiteral("diagnose vpn ike log filter name HQ-to-Branch"),
                                                   QStringLiteral("diagnose vpn ike log filter dst-addr4 203.0.113.5"),
                                                   QStringLiteral("diagnose debug console timestamp enable"),
                                                   QStringLiteral("diagnose debug application ike -1"),
                                                   QStringLiteral("diagnose debug enable")} +
                                           stopBlock;

    QTest::newRow("all checkboxes off, fields blank") << bare() << bareDebug({});

    VPNForm blankLevel = bare();
    blankLevel.ikeDebugLevel = QStringLiteral("   ");
    QTest::newRow("blank level falls back") << blankLevel << bareDebug({});

    VPNForm unicodeLevel = bare();
    unicodeLevel.ikeDebugLevel = QStringLiteral("\u00A0\u3000\t");
    QTest::newRow("Unicode-space level falls back") << unicodeLevel << bareDebug({});

    VPNForm level = bare();
    level.ikeDebugLevel = QStringLiteral("255");
    QTest::newRow("level 255") << level << bareDebug({}, QStringLiteral("255"));

    VPNForm paddedLevel = bare();
    paddedLevel.ikeDebugLevel = QStringLiteral(" 7");
    QTest::newRow("level as typed") << paddedLevel << bareDebug({}, QStringLiteral(" 7"));

    VPNForm tunnelHidden = bare();
    tunnelHidden.tunnelName = QStringLiteral("P2");
    QTest::newRow("tunnel name unused without status") << tunnelHidden << bareDebug({});

    VPNForm padded;
    padded.gatewayName = QStringLiteral(" gw1");
    padded.tunnelName = QStringLiteral("t1 ");
    padded.timestamps = false;
    padded.includeStopBlock = false;
    QTest::newRow("names kept as typed in status and filter")
        << padded
        << QStringList{QStringLiteral("diagnose vpn ike gateway list name  gw1"),
                       QStringLiteral("diagnose vpn tunnel list name t1 "), QString()} +
               bareDebug({QStringLiteral("diagnose vpn ike log filter name  gw1")});

    VPNForm blankNames;
    blankNames.gatewayName = QStringLiteral("\u3000");
    blankNames.tunnelName = QStringLiteral("\t");
    blankNames.peerIP = QStringLiteral("\u00A0");
    blankNames.timestamps = false;
    blankNames.includeStopBlock = false;
    QTest::newRow("blank names give the unfiltered listings")
        << blankNames
        << QStringList{QStringLiteral("diagnose vpn ike gateway list"), QStringLiteral("diagnose vpn tunnel list"),
                       QString()} +
               bareDebug({});

    VPNForm peerTimestamps = bare();
    peerTimestamps.peerIP = QStringLiteral("not-an-ip");
    peerTimestamps.timestamps = true;
    peerTimestamps.includeStopBlock = true;
    QTest::newRow("peer not checked, timestamps before level, stop block last")
        << peerTimestamps
        << QStringList{QStringLiteral("# Live IKE debug:"),
                       QStringLiteral("diagnose vpn ike log filter clear"),
                       QStringLiteral("diagnose vpn ike log filter dst-addr4 not-an-ip"),
                       QStringLiteral("diagnose debug console timestamp enable"),
                       QStringLiteral("diagnose debug application ike -1"),
                       QStringLiteral("diagnose debug enable")} +
               stopBlock;
}

void TestVPNForm::generatedCommand()
{
    QFETCH(VPNForm, form);
    QFETCH(QStringList, expected);
    QCOMPARE(form.generatedCommand(), expected.join(u'\n'));
    QCOMPARE(form.title(), QStringLiteral("IPsec VPN Debug"));
}

QTEST_GUILESS_MAIN(TestVPNForm)
#include "tst_vpnform.moc"
