#include "builders/sessionform.h"

#include <QTest>

using Proto = SessionForm::SessionProto;

class TestSessionForm : public QObject
{
    Q_OBJECT

private slots:
    void generatedCommand_data();
    void generatedCommand();
    void protocolTable();
};

void TestSessionForm::generatedCommand_data()
{
    QTest::addColumn<SessionForm>("form");
    QTest::addColumn<QString>("expected");

    const SessionForm defaults;
    QTest::newRow("defaults") << defaults
                              << QStringLiteral("diagnose sys session filter clear\ndiagnose sys session list");

    SessionForm empty;
    empty.clearFirst = false;
    empty.listAtEnd = false;
    QTest::newRow("everything off is empty") << empty << QString();

    SessionForm padded = empty;
    padded.src = QStringLiteral(" 10.1.1.10 ");
    QTest::newRow("value kept as typed") << padded << QStringLiteral("diagnose sys session filter src  10.1.1.10 ");

    SessionForm blankVdom;
    blankVdom.vdom = QStringLiteral(" \t\u00A0\u3000");
    QTest::newRow("blank vdom has no line")
        << blankVdom << QStringLiteral("diagnose sys session filter clear\ndiagnose sys session list");

    SessionForm icmp = empty;
    icmp.proto = Proto::icmp;
    QTest::newRow("icmp alone") << icmp << QStringLiteral("diagnose sys session filter proto 1");

    SessionForm root = empty;
    root.vdom = QStringLiteral("root");
    QTest::newRow("vdom not a number") << root << QStringLiteral("diagnose sys session filter vd root");

    SessionForm all;
    all.src = QStringLiteral("10.1.1.10");
    all.dst = QStringLiteral("8.8.8.8");
    all.srcPort = QStringLiteral("54321");
    all.dstPort = QStringLiteral("443");
    all.proto = Proto::tcp;
    all.vdom = QStringLiteral("3");
    all.negate = true;
    all.stats = true;
    QTest::newRow("everything, in line order") << all
                                               << QStringLiteral("diagnose sys session filter clear\n"
                                                                 "diagnose sys session filter vd 3\n"
                                                                 "diagnose sys session filter src 10.1.1.10\n"
                                                                 "diagnose sys session filter dst 8.8.8.8\n"
                                                                 "diagnose sys session filter sport 54321\n"
                                                                 "diagnose sys session filter dport 443\n"
                                                                 "diagnose sys session filter proto 6\n"
                                                                 "diagnose sys session filter negate\n"
                                                                 "diagnose sys session stat\n"
                                                                 "diagnose sys session list");

    SessionForm statsOnly = empty;
    statsOnly.stats = true;
    statsOnly.negate = true;
    statsOnly.proto = Proto::esp;
    QTest::newRow("negate after proto, no clear")
        << statsOnly
        << QStringLiteral("diagnose sys session filter proto 50\ndiagnose sys session filter negate\n"
                          "diagnose sys session stat");

    SessionForm lineBreak = empty;
    lineBreak.dst = QStringLiteral("\n");
    QTest::newRow("a line break is not blank") << lineBreak << QStringLiteral("diagnose sys session filter dst \n");

    SessionForm ports = empty;
    ports.dstPort = QStringLiteral("\t443");
    ports.proto = Proto::udp;
    ports.listAtEnd = true;
    QTest::newRow("tab kept, udp, list")
        << ports
        << QStringLiteral("diagnose sys session filter dport \t443\ndiagnose sys session filter proto 17\n"
                          "diagnose sys session list");

    SessionForm gre = empty;
    gre.proto = Proto::gre;
    gre.srcPort = QStringLiteral("\u3000");
    QTest::newRow("gre, ideographic-space port dropped")
        << gre << QStringLiteral("diagnose sys session filter proto 47");
}

void TestSessionForm::generatedCommand()
{
    QFETCH(SessionForm, form);
    QFETCH(QString, expected);
    QCOMPARE(form.generatedCommand(), expected);
    QCOMPARE(form.title(), QStringLiteral("Session Diagnostics"));
}

void TestSessionForm::protocolTable()
{
    QCOMPARE(Enum::rawValues<Proto>(),
             (QStringList{QStringLiteral("Any"), QStringLiteral("TCP (6)"), QStringLiteral("UDP (17)"),
                          QStringLiteral("ICMP (1)"), QStringLiteral("GRE (47)"), QStringLiteral("ESP (50)")}));
    QVERIFY(Enum::fromRawValue<Proto>(u"UDP (17)") == Proto::udp);
    QVERIFY(!Enum::fromRawValue<Proto>(u"udp (17)"));
    QVERIFY(!Enum::fromRawValue<Proto>(u"UDP"));
}

QTEST_GUILESS_MAIN(TestSessionForm)
#include "tst_sessionform.moc"
