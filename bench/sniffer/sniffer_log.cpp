// Writes a verbose-6 sniffer log of a given size, as an engineer's terminal log of several captures
// would hold it (IPv4, IPv6 and ARP on `any` and on named ports, the three time forms, raw and pasted
// dumps), and the same frames as `od -Ax -tx1 -v` text with a direction and UTC time before each
// packet, the input Wireshark's text2pcap reads (`text2pcap -D -t '%Y-%m-%d %H:%M:%S.%f'`).
//
// Usage: brindlecap-bench-sniffer-log MEGABYTES LOG OD
// Relative times count from 2015-06-23T17:00:12.184010Z and local times are UTC+05:30, so the log
// reads back with: brindlecap read sniffer LOG --start 2015-06-23T17:00:12.184010Z --utc-offset +05:30

#include "snifferprinter.h"

#include <QFile>

#include <cstdio>

using namespace SnifferPrinter;

namespace {
const qint64 start = 1435078812184010;
const int utcOffset = 5 * 3600 + 1800;

QByteArray odLines(const Frame &f, qint64 utcMicros)
{
    const QByteArray direction = f.direction == "out" ? "O " : "I ";
    QByteArray out = direction + timeText(utcMicros, {6, Time::utc}) + '\n';
    const QByteArray bytes = printed(f, 6);
    for (qsizetype at = 0; at < bytes.size(); at += 16) {
        out += QByteArray::number(at, 16).rightJustified(6, '0');
        for (char c : bytes.mid(at, 16))
            out += ' ' + QByteArray(1, c).toHex();
        out += '\n';
    }
    return out + '\n';
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s MEGABYTES LOG OD\n", argv[0]);
        return 2;
    }
    const qint64 size = QByteArray(argv[1]).toLongLong() * 1000000;
    QFile log(QFile::decodeName(argv[2])), od(QFile::decodeName(argv[3]));
    if (!log.open(QIODevice::WriteOnly) || !od.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s or %s\n", argv[2], argv[3]);
        return 1;
    }
    std::mt19937 random(1);
    const QByteArrayList anyNames = {"port1", "port2", "wan1", "internal1", "VLAN_10_RED", "LAG_LACP"};
    qint64 packets = 0, sessionStart = start;
    for (int session = 0; log.size() < size; ++session) {
        // Each capture in turn on `any` or a named port, with each time form, raw or pasted.
        const Port port = session % 2 ? Port::ethernet : Port::any;
        const Style style{6, Time(session / 2 % 3), session / 6 % 2 == 1, session / 6 % 2 == 0, utcOffset};
        const QByteArray captured = port == Port::any ? "any" : "port" + QByteArray::number(1 + session % 8);
        QByteArray text = opening(style, captured), odText;
        const int count = 500 + random() % 2500;
        qint64 micros = 0;
        for (int i = 0; i < count; ++i) {
            Frame f = randomFrame(random, port, port == Port::any ? anyNames[random() % anyNames.size()] : captured);
            micros += random() % 2000;
            const qint64 utcMicros = (style.time == Time::relative ? start : sessionStart) + micros;
            f.micros = style.time == Time::relative ? micros : utcMicros;
            text += packet(f, style);
            odText += odLines(f, utcMicros);
        }
        // The sniffer's counters after Ctrl-C, and the prompt.
        text += QByteArray("\n\n" + QByteArray::number(count) +
                           " packets received by filter\n0 packets dropped by kernel\n\nFGT60E (root) # \n")
                    .replace("\n", style.crlf ? "\r\n" : "\n");
        packets += count;
        sessionStart += micros + 60000000;
        if (log.write(text) != text.size() || od.write(odText) != odText.size()) {
            std::fprintf(stderr, "cannot write %s or %s\n", argv[2], argv[3]);
            return 1;
        }
    }
    std::printf("%lld packets, %lld bytes of log, %lld bytes for text2pcap\n", packets, log.size(), od.size());
    return 0;
}
