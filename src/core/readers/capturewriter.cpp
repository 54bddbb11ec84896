#include "capturewriter.h"

#include <QtEndian>

namespace {

constexpr quint32 linkEthernet = 1;
constexpr quint32 linkRaw = 101;
// Large enough for any frame the sniffer prints (jumbo frames included); some readers take 0 badly.
constexpr quint32 snapLength = 262144;
constexpr qint64 microsPerSecond = 1000000;

quint32 linkType(SnifferPacket::Link link)
{
    return link == SnifferPacket::Link::rawIp ? linkRaw : linkEthernet;
}

void put16(QByteArray &out, quint16 value)
{
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), 2);
}

void put32(QByteArray &out, quint32 value)
{
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), 4);
}

void pad(QByteArray &out)
{
    out.append((4 - out.size() % 4) % 4, '\0');
}

void option(QByteArray &out, quint16 code, QByteArrayView value)
{
    put16(out, code);
    put16(out, quint16(value.size()));
    out.append(value);
    pad(out);
}

// A pcapng block: type, total length, body, total length again.
QByteArray block(quint32 type, QByteArray body)
{
    pad(body);
    QByteArray out;
    out.reserve(body.size() + 12);
    put32(out, type);
    put32(out, quint32(body.size() + 12));
    out += body;
    put32(out, quint32(body.size() + 12));
    return out;
}

quint32 flags(const SnifferPacket &packet)
{
    quint32 value = packet.direction == SnifferPacket::Direction::in    ? 1
                    : packet.direction == SnifferPacket::Direction::out ? 2
                                                                        : 0;
    switch (packet.reception) {
    case SnifferPacket::Reception::unicast:
        value |= 1 << 2;
        break;
    case SnifferPacket::Reception::multicast:
        value |= 2 << 2;
        break;
    case SnifferPacket::Reception::broadcast:
        value |= 3 << 2;
        break;
    case SnifferPacket::Reception::unknown:
        break;
    }
    return value;
}

} // namespace

CaptureWriter::CaptureWriter(Format format, Sink sink)
    : m_format(format)
    , m_sink(std::move(sink))
{
}

bool CaptureWriter::send(const QByteArray &bytes)
{
    if (m_failed)
        return false;
    if (!m_sink(bytes)) {
        m_failed = true;
        return false;
    }
    m_lastBlock = m_written;
    m_written += bytes.size();
    return true;
}

bool CaptureWriter::start(SnifferPacket::Link link)
{
    m_started = true;
    QByteArray header;
    if (m_format == Format::pcap) {
        m_pcapLink = link;
        put32(header, 0xa1b2c3d4); // microsecond timestamps
        put16(header, 2);
        put16(header, 4);
        put32(header, 0);
        put32(header, 0);
        put32(header, snapLength);
        put32(header, linkType(link));
        return send(header);
    }
    put32(header, 0x1a2b3c4d);
    put16(header, 1);
    put16(header, 0);
    put32(header, 0xffffffff); // section length not given
    put32(header, 0xffffffff);
    option(header, 4, "Brindlecap Builder"); // shb_userappl
    put32(header, 0);
    return send(block(0x0a0d0d0a, header));
}

qint64 CaptureWriter::dataOffset() const
{
    return m_format == Format::pcap ? 16 : 28;
}

bool CaptureWriter::add(const SnifferPacket &packet)
{
    if (m_failed)
        return false;
    if (!m_started && !start(packet.link))
        return false;
    const qint64 micros = std::max<qint64>(packet.timeMicros, 0);
    QByteArray out;
    if (m_format == Format::pcap) {
        if (packet.link != m_pcapLink) {
            m_error = QStringLiteral("the capture holds packets with an Ethernet header and packets without one, "
                                     "which a .pcap file cannot hold together; write a .pcapng file instead");
            m_failed = true;
            return false;
        }
        out.reserve(packet.bytes.size() + 16);
        put32(out, quint32(micros / microsPerSecond));
        put32(out, quint32(micros % microsPerSecond));
        put32(out, quint32(packet.bytes.size()));
        put32(out, quint32(packet.originalLength));
        out += packet.bytes;
        return send(out);
    }

    const QByteArray key = packet.interfaceName + '\0' + char(packet.link);
    auto found = m_interfaces.constFind(key);
    if (found == m_interfaces.cend()) {
        QByteArray body;
        put16(body, quint16(linkType(packet.link)));
        put16(body, 0);
        put32(body, snapLength);
        if (!packet.interfaceName.isEmpty())
            option(body, 2, packet.interfaceName);  // if_name
        option(body, 9, QByteArrayView("\x06", 1)); // if_tsresol: microseconds
        put32(body, 0);
        if (!send(block(1, body)))
            return false;
        found = m_interfaces.insert(key, quint32(m_interfaces.size()));
    }
    QByteArray body;
    body.reserve(packet.bytes.size() + packet.header.size() + 64);
    put32(body, *found);
    put32(body, quint32(quint64(micros) >> 32));
    put32(body, quint32(quint64(micros)));
    put32(body, quint32(packet.bytes.size()));
    put32(body, quint32(packet.originalLength));
    body += packet.bytes;
    pad(body);
    // Options are UTF-8; whatever else the terminal log held becomes replacement characters.
    QString comment = QString::fromUtf8(packet.header);
    if (!packet.note.isEmpty())
        comment += (comment.isEmpty() ? QString() : QStringLiteral("\n")) + packet.note;
    if (!comment.isEmpty())
        option(body, 1, comment.left(16000).toUtf8()); // opt_comment
    if (const quint32 value = flags(packet)) {
        QByteArray four;
        put32(four, value);
        option(body, 2, four); // epb_flags
    }
    put32(body, 0);
    return send(block(6, body));
}
