#include "builders/filledform.h"
#include "readers/flowtrace.h"
#include "readers/readerforms.h"
#include "readers/snifferpacket.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
FlowTrace trace(const QByteArray &from, std::optional<int> sport, const QByteArray &to, std::optional<int> dport,
                int protocol)
{
    FlowTrace t;
    std::tie(t.received, t.protocol, t.source, t.destination) =
        std::tuple(true, protocol, FlowEndpoint{from, sport}, FlowEndpoint{to, dport});
    return t;
}

SnifferPacket packet(const QByteArray &hex, SnifferPacket::Link link = SnifferPacket::Link::rawIp)
{
    SnifferPacket p;
    std::tie(p.bytes, p.link) = std::pair(QByteArray::fromHex(hex), link);
    return p;
}

const auto eth = SnifferPacket::Link::ethernet;
const QByteArray ethernet = "001122334455 66778899aabb", ipv4Tcp = "4500 0028 0001 0000 4006 0000 0a01010a 5db8d822";
const QByteArray ports = "c822 01bb" + QByteArray(32, '0');
const SnifferPacket tagged = packet(ethernet + "8100 0064 0800" + ipv4Tcp + ports, eth);
} // namespace

class TestReaderForms : public QObject
{
    Q_OBJECT

private slots:
    void forms_data()
    {
        QTest::addColumn<std::optional<ReaderForms>>("forms");
        QTest::addColumn<QString>("flow"); // saddr daddr sport dport proto; empty for no forms
        QTest::addColumn<QString>("filter");
        const QString tcp4 = u"10.1.1.10 93.184.216.34 51234 443 tcp"_s,
                      tcp4Filter = u"tcp and host 10.1.1.10 and net 93.184.216.34/32 and port 443"_s;
        QTest::newRow("trace: IPv4 TCP") << ReaderForms::of(trace("10.1.1.10", 51234, "93.184.216.34", 443, 6)) << tcp4
                                         << tcp4Filter;
        QTest::newRow("trace: IPv6 UDP written long")
            << ReaderForms::of(trace("2001:DB8:0:0:0:0:0:1", 53, "2001:db8:0:1:0:0:0:35", 40001, 17))
            << u"2001:db8::1 2001:db8:0:1::35 53 40001 udp"_s
            << u"udp and host 2001:db8::1 and net 2001:db8:0:1::35/128 and port 53"_s;
        QTest::newRow("trace: ICMP") << ReaderForms::of(trace("192.168.1.1", {}, "8.8.8.8", {}, 1))
                                     << u"192.168.1.1 8.8.8.8   icmp"_s
                                     << u"icmp and host 192.168.1.1 and net 8.8.8.8/32"_s;
        QTest::newRow("trace: no address")
            << ReaderForms::of(trace(QByteArray("10.0.0.1\0' or 1", 15), 1, "10.0.0.2", 2, 6)) << QString()
            << QString();
        QTest::newRow("frame: IPv4 TCP") << ReaderForms::of(packet(ethernet + "0800" + ipv4Tcp + ports, eth)) << tcp4
                                         << tcp4Filter;
        QTest::newRow("raw: IPv6 UDP") << ReaderForms::of(
                                              packet("6000 0000 0008 1140 20010db8000000000000000000000001"
                                                     "20010db8000000010000000000000035 d431 0035 0008 0000"))
                                       << u"2001:db8::1 2001:db8:0:1::35 54321 53 udp"_s
                                       << u"udp and host 2001:db8::1 and net 2001:db8:0:1::35/128 and port 53"_s;
        QTest::newRow("raw: ICMPv6 after hop-by-hop")
            << ReaderForms::of(packet("6000 0000 0010 0001 fe800000000000000000000000000001 "
                                      "ff020000000000000000000000000016 3a00 0502 0000 0100 8f00 0000 0000 0000"))
            << u"fe80::1 ff02::16   any"_s << u"icmp6 and host fe80::1 and net ff02::16/128"_s;
        QTest::newRow("frame: VLAN-tagged IPv4 TCP") << ReaderForms::of(tagged) << tcp4 << tcp4Filter;
        QTest::newRow("frame: ARP") << ReaderForms::of(packet(ethernet + "0806 0001 0800 0604 0001 66778899aabb "
                                                                         "0a000001 000000000000 0a000002",
                                                              eth))
                                    << QString() << QString();
        QTest::newRow("frame: cut before the ports")
            << ReaderForms::of(packet(ethernet + "0800" + ipv4Tcp + "c822 01", eth)) << QString() << QString();
    }
    void forms()
    {
        QFETCH(std::optional<ReaderForms>, forms);
        QFETCH(QString, flow);
        QCOMPARE(forms.has_value(), !flow.isEmpty());
        if (!forms)
            return;
        FlowForm f = forms->flow;
        QCOMPARE(QStringList({f.saddr, f.daddr, f.sport, f.dport, Enum::caseName(f.proto)}).join(u' '), flow);
        QTEST(forms->sniffer.filterExpression(), "filter");
        // Every other field keeps its default.
        SnifferForm s = forms->sniffer;
        f.saddr = f.daddr = f.sport = f.dport = s.host = s.network = s.portList = QString();
        f.proto = {};
        s.proto = {};
        QCOMPARE(FilledForm::of(f).fields, FilledForm::of(FlowForm()).fields);
        QCOMPARE(FilledForm::of(s).fields, FilledForm::of(SnifferForm()).fields);
    }

    // Bytes cut anywhere give the forms of the whole packet or none: never a port or an address read from
    // beyond them.
    void cutBytesGiveTheSameFormsOrNone()
    {
        const std::optional<ReaderForms> whole = ReaderForms::of(tagged);
        for (SnifferPacket p = tagged; !p.bytes.isEmpty();) {
            p.bytes.chop(1);
            const std::optional<ReaderForms> cut = ReaderForms::of(p);
            QVERIFY(!cut || FilledForm::of(cut->flow).fields == FilledForm::of(whole->flow).fields);
        }
    }
};

QTEST_MAIN(TestReaderForms)
#include "tst_readerforms.moc"
