#include "readers/flowexplanations.h"
#include "readers/flowtext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(FlowTrace)

namespace {

// The packet: a new TCP session, allowed with source NAT.
FlowTrace allowed()
{
    FlowTrace t;
    t.traceId = 571;
    t.time = "2024-05-02 19:54:07";
    t.protocol = 6;
    t.source = {"192.168.20.2", 63611};
    t.destination = {"63.137.229.1", 443};
    t.inInterface = "port6";
    t.outInterface = "port1";
    t.session = FlowTrace::Session::created;
    t.sessionId = "015a96aa";
    t.policyId = 22;
    t.verdict = FlowVerdict::allowed;
    t.snat = FlowEndpoint{"10.9.10.51", 63611};
    return t;
}

FlowTrace dropped(FlowDropReason reason)
{
    FlowTrace t;
    t.protocol = 1;
    t.source = {"10.0.0.1", {}};
    t.destination = {"10.0.0.2", {}};
    t.icmp = FlowIcmp{8, 0, -1, -1};
    t.inInterface = "LAN Aggregate";
    t.verdict = FlowVerdict::dropped;
    t.dropReason = reason;
    return t;
}

} // namespace

class TestFlowText : public QObject
{
    Q_OBJECT

private slots:
    void line_data()
    {
        QTest::addColumn<FlowTrace>("trace");
        QTest::addColumn<QString>("expected");
        QTest::newRow("issue")
            << allowed()
            << u"#571 19:54:07 tcp 192.168.20.2:63611 -> 63.137.229.1:443 port6 -> port1 new session "
               u"015a96aa policy 22 allowed snat 10.9.10.51:63611"_s;
        FlowTrace drop = dropped(FlowDropReason::implicitDeny);
        drop.chassis = "FPM04";
        drop.policyId = 0;
        drop.outInterface = "wan\x1b[2J";
        drop.vdom = "\xff\xfe";
        QTest::newRow("drop, quoted names")
            << drop
            << u"[FPM04] #? - icmp 10.0.0.1 -> 10.0.0.2 type 8 code 0 'LAN Aggregate' -> 'wan\\x1b[2J' policy 0 "
               u"dropped implicit-deny"_s;
        FlowTrace reply = allowed();
        reply.ipv6 = true;
        reply.source = {"2001:db8::1", 443};
        reply.session = FlowTrace::Session::existing;
        reply.sessionDirection = "reply";
        reply.policyInherited = reply.natInherited = true;
        reply.verdict = FlowVerdict::forwarded;
        reply.snat.reset();
        reply.dnat = FlowEndpoint{"192.168.20.2", 63611};
        reply.tunnelId = "200.1.1.2";
        reply.ipsecTunnel = "to-hq";
        reply.encrypted = reply.offloaded = true;
        QTest::newRow("inherited")
            << reply
            << u"#571 19:54:07 tcp [2001:db8::1]:443 -> 63.137.229.1:443 port6 tunnel 200.1.1.2 -> port1 existing "
               u"session 015a96aa reply policy 22 inherited forwarded dnat 192.168.20.2:63611 inherited ipsec to-hq "
               u"encrypted offloaded"_s;
    }

    void line()
    {
        QFETCH(FlowTrace, trace);
        QFETCH(QString, expected);
        QCOMPARE(FlowText::line(trace), expected);
        // The JSON holds the same trace on one line, valid whatever bytes the names held.
        const QByteArray json = FlowText::json(trace);
        QVERIFY(!json.contains('\n') && QUtf8StringView(json).isValidUtf8());
        const QJsonObject o = QJsonDocument::fromJson(json).object();
        QCOMPARE(o.value(u"trace").toInteger(-1), trace.traceId);
        QCOMPARE(o.value(u"verdict").toString(), Enum::caseName(trace.verdict));
        QCOMPARE(o.value(u"route")[u"outInterface"].toString().toUtf8(), trace.outInterface);
    }

    void summary()
    {
        FlowText::Tally tally;
        QCOMPARE(tally.summaryLine(), u"0 packets in 0 sessions, none dropped"_s);
        tally.add(allowed());
        QCOMPARE(tally.summaryLine(), u"1 packet in 1 session, none dropped"_s);
        // Equal counts: the reason seen first; a session counted once.
        for (FlowDropReason r :
             {FlowDropReason::reversePath, FlowDropReason::quota, FlowDropReason::quota, FlowDropReason::reversePath})
            tally.add(dropped(r));
        tally.add(allowed());
        QCOMPARE(tally.summaryLine(), u"6 packets in 1 session, 4 dropped (most often: Reverse-path check failed)"_s);
    }

    // Every reason has a note of its own first, with the trace's facts in place of each placeholder.
    void explanations()
    {
        QStringList firsts;
        for (FlowDropReason r : Enum::allCases<FlowDropReason>()) {
            FlowTrace t = dropped(r);
            t.ipsecTunnel = "vpn";
            const QList<FlowExplanations::Note> notes = FlowExplanations::forTrace(t);
            QVERIFY(!notes.isEmpty());
            if (r != FlowDropReason::none)
                firsts << notes.first().text;
            for (const auto &note : notes)
                QVERIFY2(!note.text.contains(u'%') && !note.title.contains(u'%'), qPrintable(note.text));
        }
        QCOMPARE(QSet<QString>(firsts.begin(), firsts.end()).size(), firsts.size());
        const QString deny = FlowExplanations::forTrace(dropped(FlowDropReason::implicitDeny)).first().text;
        QVERIFY2(deny.contains(u"'LAN Aggregate'"_s) && deny.contains(u"the outgoing interface"_s), qPrintable(deny));
    }
};

QTEST_GUILESS_MAIN(TestFlowText)
#include "tst_flowtext.moc"
