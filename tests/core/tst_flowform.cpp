#include "builders/flowform.h"

#include <QTest>

using Proto = FlowForm::FlowProto;

class TestFlowForm : public QObject
{
    Q_OBJECT

private slots:
    void generatedCommand_data();
    void generatedCommand();
    void protocolTable();
};

namespace {

const QStringList stopBlock = {QString(), QStringLiteral("# When finished, stop the debug:"),
                               QStringLiteral("diagnose debug disable"), QStringLiteral("diagnose debug reset")};

// Every option off, so that a row shows only the lines it is about.
FlowForm bare()
{
    FlowForm f;
    f.resetFirst = false;
    f.showFunctionName = false;
    f.timestamps = false;
    f.includeStopBlock = false;
    return f;
}

QStringList bareAround(const QStringList &filters, const QString &count = QStringLiteral("1000"))
{
    return QStringList{QStringLiteral("diagnose debug flow filter clear")} + filters +
           QStringList{QStringLiteral("diagnose debug flow trace start ") + count,
                       QStringLiteral("diagnose debug enable")};
}

} // namespace

void TestFlowForm::generatedCommand_data()
{
    QTest::addColumn<FlowForm>("form");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("defaults") << FlowForm{}
                              << QStringList{QStringLiteral("diagnose debug disable"),
                                             QStringLiteral("diagnose debug reset"),
                                             QStringLiteral("diagnose debug flow filter clear"),
                                             QStringLiteral("diagnose debug flow show function-name enable"),
                                             QStringLiteral("diagnose debug console timestamp enable"),
                                             QStringLiteral("diagnose debug flow trace start 1000"),
                                             QStringLiteral("diagnose debug enable")} +
                                     stopBlock;

    QTest::newRow("all checkboxes off, no filters") << bare() << bareAround({});

    FlowForm worked;
    worked.addr = QStringLiteral("10.1.1.10");
    worked.dport = QStringLiteral("443");
    worked.proto = Proto::tcp;
    worked.traceCount = QStringLiteral("50");
    worked.showIprope = true;
    worked.timestamps = false;
    QTest::newRow("worked example") << worked
                                    << QStringList{QStringLiteral("diagnose debug disable"),
                                                   QStringLiteral("diagnose debug reset"),
                                                   QStringLiteral("diagnose debug flow filter clear"),
                                                   QStringLiteral("diagnose debug flow filter addr 10.1.1.10"),
                                                   QStringLiteral("diagnose debug flow filter dport 443"),
                                                   QStringLiteral("diagnose debug flow filter proto 6"),
                                                   QStringLiteral("diagnose debug flow show function-name enable"),
                                                   QStringLiteral("diagnose debug flow show iprope enable"),
                                                   QStringLiteral("diagnose debug flow trace start 50"),
                                                   QStringLiteral("diagnose debug enable")} +
                                           stopBlock;

    FlowForm blank = bare();
    blank.addr = QStringLiteral("   ");
    blank.saddr = QStringLiteral("\t");
    blank.daddr = QStringLiteral("\u00A0");
    blank.port = QStringLiteral("\u3000 ");
    blank.sport = QStringLiteral(" \t\u2003");
    blank.dport = QString();
    blank.vdom = QStringLiteral("\t\t");
    blank.traceCount = QStringLiteral("   ");
    QTest::newRow("blank fields and trace count fall away") << blank << bareAround({});

    FlowForm emptyCount = bare();
    emptyCount.traceCount = QString();
    QTest::newRow("empty trace count") << emptyCount << bareAround({});

    FlowForm padded = bare();
    padded.addr = QStringLiteral(" 10.0.0.1 ");
    QTest::newRow("value kept as typed") << padded
                                         << bareAround({QStringLiteral("diagnose debug flow filter addr  10.0.0.1 ")});

    FlowForm abc = bare();
    abc.traceCount = QStringLiteral("abc");
    QTest::newRow("trace count not checked") << abc << bareAround({}, QStringLiteral("abc"));

    FlowForm paddedCount = bare();
    paddedCount.traceCount = QStringLiteral("\u00A050\t");
    QTest::newRow("trace count as typed") << paddedCount << bareAround({}, QStringLiteral("\u00A050\t"));

    // Fields filled in form order; the lines still follow the rule's order, the VDOM first.
    FlowForm filters = bare();
    filters.addr = QStringLiteral("10.0.0.1");
    filters.saddr = QStringLiteral("10.0.0.2");
    filters.daddr = QStringLiteral("10.0.0.3");
    filters.port = QStringLiteral("53");
    filters.sport = QStringLiteral("1024");
    filters.dport = QStringLiteral("80");
    filters.proto = Proto::udp;
    filters.vdom = QStringLiteral("root");
    QTest::newRow("every filter, vdom first, proto last")
        << filters
        << bareAround({QStringLiteral("diagnose debug flow filter vd root"),
                       QStringLiteral("diagnose debug flow filter addr 10.0.0.1"),
                       QStringLiteral("diagnose debug flow filter saddr 10.0.0.2"),
                       QStringLiteral("diagnose debug flow filter daddr 10.0.0.3"),
                       QStringLiteral("diagnose debug flow filter port 53"),
                       QStringLiteral("diagnose debug flow filter sport 1024"),
                       QStringLiteral("diagnose debug flow filter dport 80"),
                       QStringLiteral("diagnose debug flow filter proto 17")});

    const QList<std::pair<Proto, int>> protocols = {
        {Proto::tcp, 6}, {Proto::udp, 17}, {Proto::icmp, 1}, {Proto::gre, 47}, {Proto::esp, 50}};
    for (const auto &[proto, number] : protocols) {
        FlowForm f = bare();
        f.proto = proto;
        QTest::addRow("proto %d", number)
            << f << bareAround({QStringLiteral("diagnose debug flow filter proto %1").arg(number)});
    }

    FlowForm showLines = bare();
    showLines.showIprope = true;
    showLines.timestamps = true;
    QTest::newRow("timestamps after show lines, before trace start")
        << showLines
        << bareAround({QStringLiteral("diagnose debug flow show iprope enable"),
                       QStringLiteral("diagnose debug console timestamp enable")});

    FlowForm stopOnly = bare();
    stopOnly.includeStopBlock = true;
    QTest::newRow("stop block alone") << stopOnly << bareAround({}) + stopBlock;

    FlowForm resetOnly = bare();
    resetOnly.resetFirst = true;
    resetOnly.sport = QStringLiteral("\u3000x\u3000");
    QTest::newRow("reset lines lead, ideographic spaces kept")
        << resetOnly
        << QStringList{QStringLiteral("diagnose debug disable"), QStringLiteral("diagnose debug reset")} +
               bareAround({QStringLiteral("diagnose debug flow filter sport \u3000x\u3000")});

    FlowForm lineBreak = bare();
    lineBreak.daddr = QStringLiteral("\n");
    QTest::newRow("a line break is not blank")
        << lineBreak << bareAround({QStringLiteral("diagnose debug flow filter daddr \n")});
}

void TestFlowForm::generatedCommand()
{
    QFETCH(FlowForm, form);
    QFETCH(QStringList, expected);
    QCOMPARE(form.generatedCommand(), expected.join(u'\n'));
    QCOMPARE(form.title(), QStringLiteral("Debug Flow Capture"));
}

void TestFlowForm::protocolTable()
{
    QCOMPARE(Enum::rawValues<Proto>(),
             (QStringList{QStringLiteral("Any"), QStringLiteral("TCP (6)"), QStringLiteral("UDP (17)"),
                          QStringLiteral("ICMP (1)"), QStringLiteral("GRE (47)"), QStringLiteral("ESP (50)")}));
    QCOMPARE(Enum::caseNames<Proto>(),
             (QStringList{QStringLiteral("any"), QStringLiteral("tcp"), QStringLiteral("udp"), QStringLiteral("icmp"),
                          QStringLiteral("gre"), QStringLiteral("esp")}));
    QVERIFY(Enum::fromRawValue<Proto>(u"GRE (47)") == Proto::gre);
    QVERIFY(Enum::fromRawValue<Proto>(u"Any") == Proto::any);
    QVERIFY(!Enum::fromRawValue<Proto>(u"any"));
    QVERIFY(!Enum::fromRawValue<Proto>(u"GRE (47) "));
    QVERIFY(!Enum::fromRawValue<Proto>(u"47"));
}

QTEST_GUILESS_MAIN(TestFlowForm)
#include "tst_flowform.moc"
