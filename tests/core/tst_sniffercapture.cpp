// Random frames printed as the FortiGate prints them, at each verbose level that dumps bytes, in each
// time form and layout, and read in random slices, come back out of the capture exactly: bytes,
// lengths, times, interfaces, directions and headers, as libpcap and the file's own blocks show them.

#include "readers/sniffercapture.h"

#include "pcapngblocks.h"
#include "snifferprinter.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <pcap/pcap.h>

using namespace Qt::StringLiterals;
using namespace SnifferPrinter;
using Packet = PcapngBlocks::Packet;

namespace {
const qint64 start = 1435078812184010; // 2015-06-23 17:00:12.184010 UTC

// One capture as printed: its frames, and the interface named in the echoed command, if any.
struct Log {
    Style style;
    QByteArray echoed = {};
    QList<Frame> frames = {};

    // ARP printed from its network layer gets a made-up Ethernet header in front.
    bool madeUp(const Frame &f) const { return style.verbose % 3 && f.etherType == 0x0806; }
    bool ethernet(const Frame &f) const { return madeUp(f) || (style.verbose % 3 == 0 && f.port != Port::tunnel); }
};

// Bytes, lengths and times, as every reader of the capture sees them; with the interfaces of a pcapng
// file, the rest of what its blocks hold.
void compare(const QList<Packet> &got, const Log &log, const QList<PcapngBlocks::Interface> &interfaces = {})
{
    QCOMPARE(got.size(), log.frames.size());
    const int verbose = log.style.verbose;
    for (qsizetype i = 0; i < got.size(); ++i) {
        const Frame &f = log.frames[i];
        const Packet &p = got[i];
        const QByteArray bytes = printed(f, verbose);
        QVERIFY2(log.madeUp(f) ? p.data.mid(12, 2) == "\x08\x06" && p.data.mid(14) == bytes : p.data == bytes,
                 p.data.toHex(' ').constData());
        QCOMPARE(p.original, whole(f, verbose).size() + (log.madeUp(f) ? 14 : 0));
        QCOMPARE(p.micros, log.style.time == Time::relative ? start + f.micros : f.micros);
        if (interfaces.isEmpty())
            continue;
        QCOMPARE(interfaces[p.interface].linkType, log.ethernet(f) ? 1 : 101);
        QCOMPARE(interfaces[p.interface].name, verbose < 5 ? log.echoed : f.interfaceName);
        // At verbose 3 only the made-up header on `any` tells the direction (a broadcast's only where the
        // echoed command says `any`); it tells how one came in too.
        const bool sentOnAny = f.port == Port::any && f.direction == "out";
        const bool broadcast = f.dstMac == QByteArray(6, char(0xff));
        const int madeUpHeaderSays = f.port != Port::any ? 0 : sentOnAny ? 2 : int(!broadcast || !log.echoed.isEmpty());
        QCOMPARE(p.flags & 3, verbose < 5            ? (verbose == 3 ? madeUpHeaderSays : 0)
                              : f.direction == "in"  ? 1
                              : f.direction == "out" ? 2
                                                     : 0);
        if (f.port == Port::any && verbose % 3 == 0)
            QCOMPARE(p.flags >> 2 & 7, sentOnAny ? 0 : broadcast ? 3 : f.dstMac[0] & 1 ? 2 : 1);
        QCOMPARE(p.comment.split('\n').first(), f.summary.trimmed());
    }
}

QList<Packet> readWithLibpcap(const QByteArray &capture, const QString &path, int &linkType)
{
    QFile file(path);
    char error[PCAP_ERRBUF_SIZE];
    pcap_t *p =
        file.open(QIODevice::WriteOnly) && file.write(capture) == capture.size() && file.flush()
            ? pcap_open_offline_with_tstamp_precision(QFile::encodeName(path), PCAP_TSTAMP_PRECISION_MICRO, error)
            : nullptr;
    QList<Packet> packets;
    pcap_pkthdr *h;
    const u_char *data;
    while (p && pcap_next_ex(p, &h, &data) == 1)
        packets.append(Packet{0, qint64(h->ts.tv_sec) * 1000000 + h->ts.tv_usec, h->len,
                              QByteArray(reinterpret_cast<const char *>(data), h->caplen)});
    linkType = p ? pcap_datalink(p) : -1;
    if (p)
        pcap_close(p);
    return packets;
}

// Hands the text over in short reads of random length, so that lines and line ends are split anywhere.
class Trickle : public QBuffer
{
public:
    std::mt19937 *random;
    qint64 readData(char *data, qint64 size) override
    {
        return QBuffer::readData(data, std::min<qint64>(size, 1 + (*random)() % 64));
    }
};
} // namespace

class TestSnifferCapture : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip()
    {
        QTemporaryDir dir;
        const QByteArrayList anyNames = {"port1", "wan1", "VLAN_10_RED", "VPN-to-Side1"};
        for (int n = 0; n < 4 * 3 * 3 * 3 && !QTest::currentTestFailed(); ++n) {
            const Port port = Port(n / 36);
            const QByteArray captured = port == Port::any ? "any" : port == Port::tunnel ? "VPN-to-Side1" : "port1";
            Log log{{std::array{2, 3, 5, 6}[n % 4], Time(n / 4 % 3), n / 12 % 3 == 2, n / 12 % 3 == 0, 19800}};
            // Only the echoed command tells local times from UTC ones.
            log.echoed = log.style.time == Time::local || m_random() % 2 ? captured : "";
            QByteArray text = log.echoed.isEmpty() ? "" : opening(log.style, captured);
            qint64 micros = log.style.time == Time::relative ? m_random() % 4000000000 : start;
            for (int i = 0; i < 4; ++i) {
                const QByteArray name = port == Port::any ? anyNames[m_random() % 4] : captured;
                Frame f = randomFrame(m_random, name.startsWith("VPN") ? Port::tunnel : port, name);
                f.micros = micros += m_random() % 3000000;
                f.frameSize = m_random() % 4 || f.etherType == 0x0806 ? 0 : 64 + m_random() % 64; // cut by a frame size
                text += packet(f, log.style);
                log.frames << f;
            }
            SnifferCapture::Settings settings;
            if (log.style.time == Time::relative)
                settings.reader.startMicros = start;
            // An offset is for local times only: the echoed 'a' says the times are UTC.
            if (log.style.time == Time::local || (log.style.time == Time::utc && !log.echoed.isEmpty()))
                settings.reader.utcOffsetSeconds = log.style.utcOffset;
            check(text + "\n\n4 packets received by filter\n", settings, log, dir.filePath(u"capture"_s));
            if (QTest::currentTestFailed())
                qWarning("verbose %d, time form %d, case %d:\n%s", log.style.verbose, int(log.style.time), n,
                         text.data());
        }
    }

private:
    std::mt19937 m_random{20150623};

    QByteArray convert(const QByteArray &text, SnifferCapture::Settings settings, CaptureWriter::Format format,
                       SnifferCapture::Result &result)
    {
        Trickle input;
        input.random = &m_random;
        input.setData(text);
        input.open(QIODevice::ReadOnly);
        QByteArray out;
        settings.format = format;
        const auto sink = [&](QByteArrayView bytes) { return out.append(bytes), true; };
        result = SnifferCapture::convert(input, settings, sink,
                                         {{}, [](const auto &w) { qWarning() << w.line << w.text; }, {}, {}});
        return out;
    }

    void check(const QByteArray &text, const SnifferCapture::Settings &settings, const Log &log, const QString &path)
    {
        SnifferCapture::Result result;
        const QByteArray pcapng = convert(text, settings, CaptureWriter::Format::pcapng, result);
        QCOMPARE(int(result.outcome), int(SnifferCapture::Result::Outcome::written));
        QCOMPARE(result.summary.warnings, 0);
        const PcapngBlocks::File file = PcapngBlocks::read(pcapng);
        QVERIFY(file.ok);
        compare(file.packets, log, file.interfaces);
        const bool ethernet = log.ethernet(log.frames[0]);
        const bool oneLink = std::all_of(log.frames.begin(), log.frames.end(),
                                         [&](const Frame &f) { return log.ethernet(f) == ethernet; });
        // Classic pcap holds one link type, and says so rather than leave packets out. libpcap reads no
        // pcapng with two, nor (1.10.3) one with a second raw IP interface.
        const QByteArray pcap = convert(text, settings, CaptureWriter::Format::pcap, result);
        QCOMPARE(result.outcome == SnifferCapture::Result::Outcome::written, oneLink);
        QCOMPARE(result.message.isEmpty(), oneLink);
        for (const QByteArray *capture : {&pcapng, &pcap}) {
            if (!oneLink || (capture == &pcapng && !ethernet && file.interfaces.size() > 1))
                continue;
            int linkType = -1;
            compare(readWithLibpcap(*capture, path, linkType), log);
            QCOMPARE(linkType, ethernet ? DLT_EN10MB : DLT_RAW);
        }
    }
};

QTEST_GUILESS_MAIN(TestSnifferCapture)
#include "tst_sniffercapture.moc"
