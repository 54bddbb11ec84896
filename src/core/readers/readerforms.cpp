#include "readerforms.h"

#include "flowtrace.h"
#include "snifferpacket.h"

#include <algorithm>
#include <array>

#ifdef Q_OS_WIN
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

namespace {

// What both forms are filled from.
struct Conversation {
    QString source;
    QString destination;
    bool ipv6 = false;
    int protocol = -1;
    std::optional<int> sourcePort;
    std::optional<int> destinationPort;
};

constexpr int tcp = 6;
constexpr int udp = 17;

// The sniffer's protocol words by IP protocol number; the others leave the filter to the addresses.
constexpr std::array<std::pair<int, SnifferForm::SnifferProto>, 6> snifferProtocols = {{
    {tcp, SnifferForm::SnifferProto::tcp},
    {udp, SnifferForm::SnifferProto::udp},
    {1, SnifferForm::SnifferProto::icmp},
    {58, SnifferForm::SnifferProto::icmp6},
    {50, SnifferForm::SnifferProto::esp},
    {47, SnifferForm::SnifferProto::gre},
}};

int byteAt(QByteArrayView b, qsizetype at)
{
    return uchar(b[at]);
}

int wordAt(QByteArrayView b, qsizetype at)
{
    return byteAt(b, at) << 8 | byteAt(b, at + 1);
}

// RFC 5952: lower case, the longest run of two or more zero groups (the first of equals) as "::", and
// an IPv4-mapped address with its IPv4 part dotted.
QString addressText(QByteArrayView bytes)
{
    if (bytes.size() == 4)
        return QStringLiteral("%1.%2.%3.%4")
            .arg(byteAt(bytes, 0))
            .arg(byteAt(bytes, 1))
            .arg(byteAt(bytes, 2))
            .arg(byteAt(bytes, 3));
    static const QByteArray mapped = QByteArray(10, '\0') + "\xff\xff";
    if (bytes.first(12) == mapped)
        return QStringLiteral("::ffff:") + addressText(bytes.sliced(12));
    int runStart = -1, runLength = 0;
    for (int group = 0; group < 8;) {
        int end = group;
        while (end < 8 && wordAt(bytes, end * 2) == 0)
            ++end;
        if (end - group > runLength && end - group >= 2) {
            runStart = group;
            runLength = end - group;
        }
        group = end == group ? group + 1 : end;
    }
    QString text;
    for (int group = 0; group < 8; ++group) {
        if (group == runStart) {
            text += QStringLiteral("::");
            group += runLength - 1;
            continue;
        }
        if (!text.isEmpty() && !text.endsWith(u':'))
            text += u':';
        text += QString::number(wordAt(bytes, group * 2), 16);
    }
    return text;
}

// An address the appliance printed, or nothing where the text is no address.
std::optional<QString> addressFromText(const QByteArray &text)
{
    const bool ipv6 = text.contains(':');
    // Only what an address is written with: inet_pton would stop at a NUL and take what came before.
    const bool plain = !text.isEmpty() && text.size() <= 45 && std::all_of(text.cbegin(), text.cend(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.';
    });
    std::array<unsigned char, 16> bytes{};
    if (!plain || inet_pton(ipv6 ? AF_INET6 : AF_INET, text.constData(), bytes.data()) != 1)
        return std::nullopt;
    return addressText(QByteArrayView(reinterpret_cast<const char *>(bytes.data()), ipv6 ? 16 : 4));
}

std::optional<int> validPort(std::optional<int> port)
{
    return port && *port >= 0 && *port <= 65535 ? port : std::nullopt;
}

// The IP header (and the transport header's ports) at the start of b; version is the one the link
// layer named, 0 where it named none.
std::optional<Conversation> fromIp(QByteArrayView b, int version)
{
    if (b.isEmpty() || (version && byteAt(b, 0) >> 4 != version))
        return std::nullopt;
    Conversation c;
    qsizetype transport = 0;
    bool fragment = false;
    switch (byteAt(b, 0) >> 4) {
    case 4: {
        transport = (byteAt(b, 0) & 0x0f) * 4;
        if (b.size() < 20 || transport < 20 || transport > b.size())
            return std::nullopt;
        c.protocol = byteAt(b, 9);
        c.source = addressText(b.sliced(12, 4));
        c.destination = addressText(b.sliced(16, 4));
        fragment = (wordAt(b, 6) & 0x1fff) != 0;
        break;
    }
    case 6: {
        if (b.size() < 40)
            return std::nullopt;
        c.ipv6 = true;
        c.source = addressText(b.sliced(8, 16));
        c.destination = addressText(b.sliced(24, 16));
        int next = byteAt(b, 6);
        transport = 40;
        // Extension headers before the transport one: hop-by-hop, routing, fragment, AH, destination
        // options. Each is at least 8 bytes long, so the walk ends.
        while (next == 0 || next == 43 || next == 44 || next == 51 || next == 60) {
            if (b.size() < transport + 8)
                return std::nullopt;
            const int length = next == 44   ? 8
                               : next == 51 ? (byteAt(b, transport + 1) + 2) * 4
                                            : (byteAt(b, transport + 1) + 1) * 8;
            if (next == 44)
                fragment = fragment || (wordAt(b, transport + 2) & 0xfff8) != 0;
            next = byteAt(b, transport);
            transport += length;
        }
        c.protocol = next;
        break;
    }
    default:
        return std::nullopt;
    }
    // A later fragment carries no transport header: its ports are unknown, not missing.
    if ((c.protocol == tcp || c.protocol == udp) && !fragment) {
        if (b.size() < transport + 4)
            return std::nullopt;
        c.sourcePort = wordAt(b, transport);
        c.destinationPort = wordAt(b, transport + 2);
    }
    return c;
}

std::optional<Conversation> fromFrame(QByteArrayView b)
{
    if (b.size() < 14)
        return std::nullopt;
    qsizetype at = 12;
    int type = wordAt(b, at);
    // 802.1Q, 802.1ad and the older QinQ tag, stacked as deep as they go.
    while (type == 0x8100 || type == 0x88a8 || type == 0x9100) {
        at += 4;
        if (b.size() < at + 2)
            return std::nullopt;
        type = wordAt(b, at);
    }
    if (type != 0x0800 && type != 0x86dd)
        return std::nullopt;
    return fromIp(b.sliced(at + 2), type == 0x0800 ? 4 : 6);
}

ReaderForms formsOf(const Conversation &c)
{
    ReaderForms forms;
    forms.flow.saddr = c.source;
    forms.flow.daddr = c.destination;
    if (c.sourcePort)
        forms.flow.sport = QString::number(*c.sourcePort);
    if (c.destinationPort)
        forms.flow.dport = QString::number(*c.destinationPort);
    for (const FlowForm::FlowProto proto : Enum::allCases<FlowForm::FlowProto>()) {
        if (Enum::payload(proto) != 0 && Enum::payload(proto) == c.protocol)
            forms.flow.proto = proto;
    }

    // Both hosts and one port hold both directions of this conversation, and its retries from new
    // client ports: the lower port, which is the service's wherever one side is a service. The second
    // host goes into the network field, as a network of that one address, because the form has one
    // host field only.
    forms.sniffer.host = c.source;
    forms.sniffer.network = c.destination + (c.ipv6 ? QStringLiteral("/128") : QStringLiteral("/32"));
    if (c.sourcePort && c.destinationPort)
        forms.sniffer.portList = QString::number(std::min(*c.sourcePort, *c.destinationPort));
    for (const auto &[number, proto] : snifferProtocols) {
        if (number == c.protocol)
            forms.sniffer.proto = proto;
    }
    return forms;
}

} // namespace

std::optional<ReaderForms> ReaderForms::of(const FlowTrace &trace)
{
    if (!trace.received)
        return std::nullopt;
    const std::optional<QString> source = addressFromText(trace.source.address);
    const std::optional<QString> destination = addressFromText(trace.destination.address);
    const bool ipv6 = trace.source.address.contains(':');
    if (!source || !destination || ipv6 != trace.destination.address.contains(':'))
        return std::nullopt;
    return formsOf(
        {*source, *destination, ipv6, trace.protocol, validPort(trace.source.port), validPort(trace.destination.port)});
}

std::optional<ReaderForms> ReaderForms::of(const SnifferPacket &packet)
{
    const std::optional<Conversation> c =
        packet.link == SnifferPacket::Link::rawIp ? fromIp(packet.bytes, 0) : fromFrame(packet.bytes);
    if (!c)
        return std::nullopt;
    return formsOf(*c);
}
