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

// From the link layer: on `any` the sniffer makes up the destination address.
inline QByteArray whole(const Frame &f, int verbose)
{
    QByteArray dst = f.dstMac;
    if (f.port == Port::any && (f.direction == "out" || dst != QByteArray(6, char(0xff))))
        dst = QByteArray::fromHex(f.direction == "out" ? "000000000000" : dst[0] & 1 ? "010000000000" : "000000000001");
    return verbose % 3 || f.port == Port::tunnel ? f.network : dst + f.srcMac + be(f.etherType, 2) + f.network;
}

inline QByteArray printed(const Frame &f, int verbose)
{
    return whole(f, verbose).left(f.frameSize ? f.frameSize : 1 << 20);
}

inline QByteArray timeText(qint64 micros, const Style &style)
{
    const QByteArray fraction = '.' + QByteArray::number(micros % 1000000).rightJustified(6, '0');
    const qint64 seconds = micros / 1000000 + (style.time == Time::local ? style.utcOffset : 0);
    return (style.time == Time::relative
                ? QByteArray::number(seconds)
                : QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(u"yyyy-MM-dd HH:mm:ss").toLatin1()) +
           fraction;
}

// The command as the terminal echoed it, and the sniffer's banner.
inline QByteArray opening(const Style &style, const QByteArray &interfaceName)
{
    const char *letter = style.time == Time::utc ? " a" : style.time == Time::local ? " l" : "";
    return QString::asprintf(
               "FGT60E (root) # diagnose sniffer packet %s 'none' %d 0%s\ninterfaces=[%s]\nfilters=[none]\n",
               interfaceName.constData(), style.verbose, letter, interfaceName.constData())
        .toLatin1()
        .replace("\n", style.crlf ? "\r\n" : "\n");
}

inline QByteArray packet(const Frame &f, const Style &style)
{
    const QByteArray eol = style.crlf ? "\r\n" : "\n", bytes = printed(f, style.verbose);
    QByteArray out = timeText(f.micros, style) + ' ' +
                     (style.verbose > 4 ? f.interfaceName + ' ' + f.direction + ' ' : "") + f.summary + eol;
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

// A random frame of a kind the sniffer prints: IPv4 TCP, UDP or ICMP, IPv6 UDP, or ARP (not on tunnels).
inline Frame randomFrame(std::mt19937 &random, Port port, const QByteArray &interfaceName)
{
    const auto bytes = [&](qsizetype n) {
        QByteArray out(n, 0);
        std::generate(out.begin(), out.end(), [&] { return char(random()); });
        return out;
    };
    // Half the payloads are hex text, as tokens in many protocols are: in a paste their text column reads
    // like more hex groups.
    const bool token = random() % 2;
    const auto payload = [&](qsizetype n) { return token ? bytes(n).toHex().left(n) : bytes(n); };
    const auto dotted = [](quint32 a) {
        return QString::asprintf("%u.%u.%u.%u", a >> 24, a >> 16 & 255, a >> 8 & 255, a & 255).toLatin1();
    };
    Frame f{{},  bytes(6), bytes(6), 0x0800, {}, interfaceName, port == Port::ethernet && random() % 2 ? "--" : "in",
            port};
    const quint32 out = random() % 2, dst = random() % 8, kind = random() % (port == Port::tunnel ? 4 : 5),
                  first = 1 + random() % 223;
    const quint32 src = first << 24 | (random() & 0xffffff),
                  to = random() % 2 ? 0xc0a80101 : 0x0a000000 | (random() & 0xffffff);
    const quint32 size = std::max(28 + quint32(random() % 1473), kind == 0   ? 40u
                                                                 : kind == 3 ? 48u
                                                                             : 28u),
                  sport = 1024 + random() % 60000, dport = random() % 2 ? 443 : 1 + random() % 65535;
    f.direction = f.direction == "in" && out ? "out" : f.direction;
    f.dstMac = dst == 0   ? QByteArray(6, char(0xff))
               : dst == 1 ? QByteArray::fromHex("01005e") + bytes(3)
                          : char(f.dstMac[0] & 0xfe) + f.dstMac.mid(1);
    if (kind == 4) { // ARP: a request goes to everyone, a reply to the asker
        f.etherType = 0x0806;
        f.dstMac = dst < 2 ? QByteArray(6, char(0xff)) : f.dstMac;
        f.network = QByteArray::fromHex(dst < 2 ? "0001080006040001" : "0001080006040002") + f.srcMac + be(src, 4) +
                    (dst < 2 ? QByteArray(6, 0) : f.dstMac) + be(to, 4);
        f.summary = dst < 2 ? "arp who-has " + dotted(to) + " tell " + dotted(src)
                            : "arp reply " + dotted(src) + " is-at " +
                                  QByteArray(':' + f.srcMac.toHex(':')).replace(":0", ":").mid(1);
    } else if (kind == 3) {
        const QByteArray from = bytes(8), group = from.toHex().insert(12, ':').insert(8, ':').insert(4, ':');
        f.etherType = 0x86dd;
        f.network = QByteArray::fromHex("60000000") + be(size - 40, 2) + "\x11\x01" +
                    QByteArray::fromHex("fe80000000000000") + from +
                    QByteArray::fromHex("ff02000000000000000000000000000c") + be(sport, 2) + be(1900, 2) +
                    be(size - 40, 2) + payload(size - 46);
        f.summary = QString::asprintf("fe80::%s.%u -> ff02::c.1900: udp %u [hlim 1] (len %u)", group.constData(), sport,
                                      size - 48, size - 40)
                        .toLatin1();
    } else { // TCP, UDP, ICMP echo
        static const char *const tcp[] = {"syn %u ", "syn %u ack %u ", "ack %u ", "psh %u ack %u "};
        const quint32 seq = random(), ack = random(), flags = random() % 4;
        f.network = QByteArray::fromHex("4500") + be(size, 2) + bytes(2) + QByteArray::fromHex("4000") + char(64) +
                    "\x06\x11\x01"[kind] + bytes(2) + be(src, 4) + be(to, 4) +
                    (kind < 2 ? be(sport, 2) + be(dport, 2) : QByteArray::fromHex("0800")) +
                    payload(size - (kind < 2 ? 24 : 22));
        const QByteArray ports = kind < 2 ? '.' + QByteArray::number(sport) : "";
        f.summary = dotted(src) + ports + " -> " + dotted(to) + (kind < 2 ? '.' + QByteArray::number(dport) : "") +
                    ": " +
                    (kind == 2   ? QByteArray("icmp: echo request")
                     : kind == 1 ? "udp " + QByteArray::number(size - 28)
                                 : QString::asprintf(tcp[flags], seq, ack).toLatin1());
    }
    // A short frame received off the wire arrives padded to the Ethernet minimum.
    if (port != Port::tunnel && f.direction != "out" && f.network.size() < 46)
        f.network += QByteArray(46 - f.network.size(), 0);
    return f;
}

} // namespace SnifferPrinter
