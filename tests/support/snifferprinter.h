#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QtEndian>

#include <random>

// Prints frames as `diagnose sniffer packet` does at verbose 2, 3, 5 and 6, raw as the appliance emits
// them or pasted (tabs expanded to 8-column stops), and makes random frames with the decoder's summary.
namespace SnifferPrinter {

enum class Port { ethernet, any, tunnel }; // a named Ethernet port, `any`, a tunnel (raw IP, no link header)
enum class Time { relative, utc, local };  // tsformat: other, 'a', 'l'

struct Frame {
    QByteArray network = {}, dstMac = {}, srcMac = {}; // network: IP packet or ARP header, with the wire's padding
    quint16 etherType = 0x0800;
    QByteArray summary = {}, interfaceName = {}, direction = {}; // direction: "in", "out" or "--"
    Port port = Port::ethernet;
    qint64 micros = 0;       // since the capture started (relative) or since 1970 UTC
    qsizetype frameSize = 0; // where the dump is cut; 0 for the whole frame
};

struct Style {
    int verbose = 6;
    Time time = Time::relative;
    bool pasted = false, crlf = true;
    int utcOffset = 0; // of the appliance's local time, in seconds
};

inline QByteArray be(quint64 value, int size)
{
    value = qToBigEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&value) + 8 - size, size);
}

// The frame from its link layer: on `any` the sniffer makes up the destination address.
inline QByteArray linkLayer(const Frame &f)
{
    QByteArray dst = f.dstMac;
    if (f.port == Port::any && (f.direction == "out" || dst != QByteArray(6, char(0xff))))
        dst = QByteArray::fromHex(f.direction == "out" ? "000000000000" : dst[0] & 1 ? "010000000000" : "000000000001");
    return f.port == Port::tunnel ? f.network : dst + f.srcMac + be(f.etherType, 2) + f.network;
}

inline QByteArray whole(const Frame &f, int verbose)
{
    return verbose % 3 ? f.network : linkLayer(f);
}
inline QByteArray printed(const Frame &f, int verbose)
{
    return whole(f, verbose).left(f.frameSize ? f.frameSize : 1 << 20);
}

inline QByteArray timeText(qint64 micros, const Style &style)
{
    const QByteArray fraction = '.' + QByteArray::number(micros % 1000000).rightJustified(6, '0');
    if (style.time == Time::relative)
        return QByteArray::number(micros / 1000000) + fraction;
    const qint64 seconds = micros / 1000000 + (style.time == Time::local ? style.utcOffset : 0);
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(u"yyyy-MM-dd HH:mm:ss").toLatin1() + fraction;
}

inline QByteArray packet(const Frame &f, const Style &style)
{
    const QByteArray eol = style.crlf ? "\r\n" : "\n", bytes = printed(f, style.verbose);
    QByteArray out = timeText(f.micros, style) + ' ';
    out += (style.verbose > 4 ? f.interfaceName + ' ' + f.direction + ' ' : "") + f.summary + eol;
    for (qsizetype at = 0; at < bytes.size(); at += 16) {
        QByteArray hex, ascii;
        for (qsizetype i = at; i < std::min(at + 16, bytes.size()); ++i) {
            hex += ((i - at) % 2 ? "" : " ") + bytes.mid(i, 1).toHex();
            ascii += bytes[i] > 0x20 && bytes[i] < 0x7f ? bytes[i] : '.';
        }
        // Pasted, each tab became the spaces to the next 8-column stop: the text starts at column 57.
        out += "0x" + QByteArray::number(at, 16).rightJustified(4, '0') + (style.pasted ? "  " : "\t") +
               hex.leftJustified(40) + (style.pasted ? "        " : "\t") + ascii + eol;
    }
    return out + eol;
}

// The command as the terminal echoed it, and the sniffer's banner; then its counters and the prompt.
inline QByteArray opening(const Style &style, const QByteArray &interfaceName)
{
    const char *letter = style.time == Time::utc ? " a" : style.time == Time::local ? " l" : "";
    return QString::asprintf(
               "FGT60E (root) # diagnose sniffer packet %s 'none' %d 0%s\ninterfaces=[%s]\nfilters=[none]\n",
               interfaceName.constData(), style.verbose, letter, interfaceName.constData())
        .toLatin1()
        .replace("\n", style.crlf ? "\r\n" : "\n");
}

inline QByteArray closing(int packets, const Style &style)
{
    return QString::asprintf("\n\n%d packets received by filter\n0 packets dropped by kernel\n\nFGT60E (root) # ",
                             packets)
        .toLatin1()
        .replace("\n", style.crlf ? "\r\n" : "\n");
}

// A random frame of a kind the sniffer prints: IPv4 TCP, UDP or ICMP, IPv6 UDP, or ARP (not on tunnels).
inline Frame randomFrame(std::mt19937 &random, Port port, const QByteArray &interfaceName)
{
    const auto bytes = [&](qsizetype n) {
        QByteArray out(n, 0);
        for (char &c : out)
            c = char(random());
        return out;
    };
    const auto ipv4 = [&] { // private and public
        const quint32 kind = random() % 3, host = random();
        return be(kind == 0   ? 0x0a000000 | (host & 0xffffff)
                  : kind == 1 ? 0xc0a80000 | (host & 0xffff)
                              : quint32(1 + random() % 223) << 24 | (host & 0xffffff),
                  4);
    };
    const auto text = [](const QByteArray &a, uint port = 0) { // IPv6: as fe80::/64 and ff02::/64 addresses print
        const auto g = [&](int i) { return qFromBigEndian<quint16>(a.constData() + i); };
        return (a.size() == 4 ? QString::asprintf("%u.%u.%u.%u", uchar(a[0]), uchar(a[1]), uchar(a[2]), uchar(a[3]))
                              : QString::asprintf("%x::%x:%x:%x:%x", g(0), g(8), g(10), g(12), g(14)))
                   .toLatin1() +
               (port ? '.' + QByteArray::number(port) : "");
    };
    Frame f{{},  bytes(6), bytes(6), 0x0800, {}, interfaceName, port == Port::ethernet && random() % 2 ? "--" : "in",
            port};
    f.direction = f.direction == "in" && random() % 2 ? "out" : f.direction;
    const int dst = random() % 8, kind = random() % (port == Port::tunnel ? 4 : 5);
    f.dstMac = dst == 0 ? QByteArray(6, char(0xff)) : dst == 1 ? QByteArray::fromHex("01005e") + bytes(3) : f.dstMac;
    if (dst > 1)
        f.dstMac[0] = char(f.dstMac[0] & 0xfe);
    const quint16 sport = 1024 + random() % 60000, dport = random() % 2 ? 443 : random() % 65536;
    const quint32 seq = random(), ack = random(), tcp = random() % 5, request = random() % 2;
    if (kind == 4) { // ARP: a request goes to everyone, a reply to the asker
        const QByteArray sha = bytes(6), spa = ipv4(), tpa = ipv4(), tha = request ? QByteArray(6, 0) : f.dstMac;
        f.etherType = 0x0806;
        f.dstMac = request ? QByteArray(6, char(0xff)) : f.dstMac;
        f.network = QByteArray::fromHex(request ? "0001080006040001" : "0001080006040002") + sha + spa + tha + tpa;
        f.summary = request ? "arp who-has " + text(tpa) + " tell " + text(spa)
                            : "arp reply " + text(spa) + " is-at " + (':' + sha.toHex(':')).replace(":0", ":").mid(1);
    } else if (kind == 3) {
        const int size = 48 + random() % 1453, hlim = request ? 1 : 64;
        const QByteArray src = QByteArray::fromHex("fe80000000000000") + bytes(8);
        const QByteArray to = QByteArray::fromHex("ff02000000000000") + bytes(8);
        f.etherType = 0x86dd;
        f.network = QByteArray::fromHex("60000000") + be(size - 40, 2) + char(17) + char(hlim) + src + to +
                    be(sport, 2) + be(dport, 2) + be(size - 40, 2) + bytes(size - 46);
        f.summary = text(src, sport) + " -> " + text(to, dport) +
                    QString::asprintf(": udp %d [hlim %d] (len %d)", size - 48, hlim, size - 40).toLatin1();
    } else {
        static const char *const words[] = {"syn", "syn", "", "psh", "fin"};
        static const char flags[] = {0x02, 0x12, 0x10, 0x18, 0x11};
        const int size = (kind ? 28 : 40) + random() % (kind ? 1473 : 1461);
        const QByteArray src = ipv4(), to = ipv4(), ports = be(sport, 2) + be(dport, 2);
        const QByteArray l4 = kind == 0   ? ports + be(seq, 4) + be(ack, 4) + char(0x50) + flags[tcp] + bytes(6)
                              : kind == 1 ? ports + be(size - 20, 2) + bytes(2)
                                          : be(request ? 0x0800 : 0, 2) + bytes(6);
        f.network = QByteArray::fromHex("4500") + be(size, 2) + bytes(2) + QByteArray::fromHex("4000") + char(64) +
                    "\x06\x11\x01"[kind] + bytes(2) + src + to + l4 + bytes(size - 20 - l4.size());
        f.summary = kind == 2
                        ? text(src) + " -> " + text(to) + (request ? ": icmp: echo request" : ": icmp: echo reply")
                    : kind == 1 ? text(src, sport) + " -> " + text(to, dport) + ": udp " + QByteArray::number(size - 28)
                    : tcp == 2  ? text(src, sport) + " -> " + text(to, dport) + ": ack " + QByteArray::number(ack) + ' '
                                : text(src, sport) + " -> " + text(to, dport) + ": " + words[tcp] + ' ' +
                                     QByteArray::number(seq) +
                                     (flags[tcp] & 0x10 ? " ack " + QByteArray::number(ack) : "") + ' ';
    }
    // A short frame received off the wire arrives padded to the Ethernet minimum.
    if (port != Port::tunnel && f.direction != "out" && f.network.size() < 46)
        f.network += QByteArray(46 - f.network.size(), 0);
    return f;
}

} // namespace SnifferPrinter
