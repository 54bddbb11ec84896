#include "builders/filledform.h"
#include "readers/flowtrace.h"
#include "readers/readerforms.h"
#include "readers/snifferpacket.h"

#include <QTest>

Q_DECLARE_METATYPE(SnifferPacket::Link)

using namespace Qt::StringLiterals;

namespace {
FlowTrace trace(const QByteArray &from, std::optional<int> sport, const QByteArray &to, std::optional<int> dport,
                int protocol)
{
    FlowTrace t;
    t.received = true;
    t.protocol = protocol;
    t.source = {from, sport};
    t.destination = {to, dport};
    return t;
}

// The fields not named keep the defaults.
template <typename Form> QStringList changedFields(const Form &form)
{
    const FilledForm filled = FilledForm::of(form), defaults = FilledForm::of(Form{});
    QStringList changed;
    for (qsizetype i = 0; i < filled.fields.size(); ++i) {
        if (filled.fields[i] != defaults.fields[i])
            changed << filled.fields[i].first;
    }
    return changed;
}

const QByteArray ipv4Tcp = "4500 0028 0001 0000 4006 0000 0a01010a 5db8d822  c822 01bb" + QByteArray(16 * 2, '0');
const QByteArray ethernet = "001122334455 66778899aabb";
} // namespace

class TestReaderForms : public QObject
{
    Q_OBJECT

    void expected()
    {
        // saddr empty: no forms.
        QTest::addColumn<QString>("saddr");
        QTest::addColumn<QString>("daddr");
        QTest::addColumn<QString>("sport");
        QTest::addColumn<QString>("dport");
        QTest::addColumn<QString>("proto");
        QTest::addColumn<QString>("filter");
    }
    void compare(const std::optional<ReaderForms> &forms)
    {
        QFETCH(QString, saddr);
        QFETCH(QString, daddr);
        QFETCH(QString, sport);
        QFETCH(QString, dport);
        QFETCH(QString, proto);
        QFETCH(QString, filter);
        QCOMPARE(forms.has_value(), !saddr.isEmpty());
        if (!forms)
            return;
        const FlowForm &f = forms->flow;
        QCOMPARE(QStringList({f.saddr, f.daddr, f.sport, f.dport, Enum::caseName(f.proto)}),
                 QStringList({saddr, daddr, sport, dport, proto}));
        QCOMPARE(forms->sniffer.filterExpression(), filter);
        for (const QString &name : changedFields(f))
            QVERIFY2(QStringList({u"saddr"_s, u"daddr"_s, u"sport"_s, u"dport"_s, u"proto"_s}).contains(name),
                     qPrintable(name));
        for (const QString &name : changedFields(forms->sniffer))
            QVERIFY2(QStringList({u"host"_s, u"network"_s, u"portList"_s, u"proto"_s}).contains(name),
                     qPrintable(name));
    }

private slots:
    void fromTrace_data()
    {
        QTest::addColumn<FlowTrace>("trace");
        expected();
        QTest::newRow("IPv4 TCP") << trace("10.1.1.10", 51234, "93.184.216.34", 443, 6) << u"10.1.1.10"_s
                                  << u"93.184.216.34"_s << u"51234"_s << u"443"_s << u"tcp"_s
                                  << u"tcp and host 10.1.1.10 and net 93.184.216.34/32 and port 443"_s;
        QTest::newRow("IPv6 UDP, written long")
            << trace("2001:DB8:0:0:0:0:0:1", 53, "2001:db8:0:1:0:0:0:35", 40001, 17) << u"2001:db8::1"_s
            << u"2001:db8:0:1::35"_s << u"53"_s << u"40001"_s << u"udp"_s
            << u"udp and host 2001:db8::1 and net 2001:db8:0:1::35/128 and port 53"_s;
        QTest::newRow("ICMP") << trace("192.168.1.1", {}, "8.8.8.8", {}, 1) << u"192.168.1.1"_s << u"8.8.8.8"_s << u""_s
                              << u""_s << u"icmp"_s << u"icmp and host 192.168.1.1 and net 8.8.8.8/32"_s;
        QTest::newRow("OSPF") << trace("10.0.0.1", {}, "224.0.0.5", {}, 89) << u"10.0.0.1"_s << u"224.0.0.5"_s << u""_s
                              << u""_s << u"any"_s << u"host 10.0.0.1 and net 224.0.0.5/32"_s;
        FlowTrace unreceived = trace("10.0.0.1", 1, "10.0.0.2", 2, 6);
        unreceived.received = false;
        QTest::newRow("no received record") << unreceived << u""_s << u""_s << u""_s << u""_s << u""_s << u""_s;
        QTest::newRow("not an address") << trace("10.0.0.1' or 1", 1, "10.0.0.2", 2, 6) << u""_s << u""_s << u""_s
                                        << u""_s << u""_s << u""_s;
        QTest::newRow("mixed versions") << trace("10.0.0.1", 1, "::1", 2, 6) << u""_s << u""_s << u""_s << u""_s
                                        << u""_s << u""_s;
    }
    void fromTrace()
    {
        QFETCH(FlowTrace, trace);
        compare(ReaderForms::of(trace));
    }

    void fromPacket_data()
    {
        QTest::addColumn<SnifferPacket::Link>("link");
        QTest::addColumn<QByteArray>("hex");
        expected();
        const auto eth = SnifferPacket::Link::ethernet, raw = SnifferPacket::Link::rawIp;
        QTest::newRow("IPv4 TCP frame") << eth << ethernet + "0800" + ipv4Tcp << u"10.1.1.10"_s << u"93.184.216.34"_s
                                        << u"51234"_s << u"443"_s << u"tcp"_s
                                        << u"tcp and host 10.1.1.10 and net 93.184.216.34/32 and port 443"_s;
        QTest::newRow("IPv6 UDP raw")
            << raw
            << QByteArray("6000 0000 0008 1140 20010db8000000000000000000000001 20010db8000000010000000000000035"
                          "d431 0035 0008 0000")
            << u"2001:db8::1"_s << u"2001:db8:0:1::35"_s << u"54321"_s << u"53"_s << u"udp"_s
            << u"udp and host 2001:db8::1 and net 2001:db8:0:1::35/128 and port 53"_s;
        QTest::newRow("ICMP raw") << raw
                                  << QByteArray("4500 001c 0000 0000 4001 0000 c0a80101 08080808 0800 f7ff 0000 0000")
                                  << u"192.168.1.1"_s << u"8.8.8.8"_s << u""_s << u""_s << u"icmp"_s
                                  << u"icmp and host 192.168.1.1 and net 8.8.8.8/32"_s;
        QTest::newRow("ICMPv6 after hop-by-hop")
            << raw
            << QByteArray("6000 0000 0010 0001 fe800000000000000000000000000001 ff020000000000000000000000000016"
                          "3a00 0502 0000 0100  8f00 0000 0000 0000")
            << u"fe80::1"_s << u"ff02::16"_s << u""_s << u""_s << u"any"_s
            << u"icmp6 and host fe80::1 and net ff02::16/128"_s;
        QTest::newRow("QinQ-tagged UDP frame")
            << eth
            << ethernet + "88a8 0064 8100 00c8 0800 4500 001c 0000 0000 4011 0000 0a000001 0a000002 13c4 13c4 0008 0000"
            << u"10.0.0.1"_s << u"10.0.0.2"_s << u"5060"_s << u"5060"_s << u"udp"_s
            << u"udp and host 10.0.0.1 and net 10.0.0.2/32 and port 5060"_s;
        QTest::newRow("later IPv4 fragment")
            << raw << QByteArray("4500 0028 0001 00b9 4006 0000 0a01010a 5db8d822") << u"10.1.1.10"_s
            << u"93.184.216.34"_s << u""_s << u""_s << u"tcp"_s << u"tcp and host 10.1.1.10 and net 93.184.216.34/32"_s;
        QTest::newRow("ARP frame") << eth
                                   << ethernet + "0806 0001 0800 0604 0001 66778899aabb 0a000001 000000000000 0a000002"
                                   << u""_s << u""_s << u""_s << u""_s << u""_s << u""_s;
        QTest::newRow("cut before the ports")
            << eth << ethernet + "0800" + ipv4Tcp.left(40 + 6) << u""_s << u""_s << u""_s << u""_s << u""_s << u""_s;
        QTest::newRow("IPv4 type, IPv6 inside")
            << eth << ethernet + "0800 6000" << u""_s << u""_s << u""_s << u""_s << u""_s << u""_s;
    }
    void fromPacket()
    {
        QFETCH(SnifferPacket::Link, link);
        QFETCH(QByteArray, hex);
        SnifferPacket packet;
        packet.link = link;
        packet.bytes = QByteArray::fromHex(hex);
        compare(ReaderForms::of(packet));
        // Every length short of the ports gives no forms; from them on, the same.
        const std::optional<ReaderForms> whole = ReaderForms::of(packet);
        for (qsizetype size = packet.bytes.size() - 1; whole && size >= 0; --size) {
            packet.bytes.chop(1);
            const std::optional<ReaderForms> cut = ReaderForms::of(packet);
            QVERIFY(!cut || FilledForm::of(cut->flow).fields == FilledForm::of(whole->flow).fields);
        }
    }
};

QTEST_MAIN(TestReaderForms)
#include "tst_readerforms.moc"
