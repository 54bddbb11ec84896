#include "fieldadvice.h"

#include "text.h"

#include <QStringList>

#include <array>
#include <optional>

#ifdef Q_OS_WIN
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

namespace Advice {
namespace {

// A whole number of ASCII digits (one too large to hold reads as the largest), nullopt for anything
// else: a sign, a fraction, other scripts' digits.
std::optional<quint64> wholeNumber(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value > quint64(1e17) ? ~quint64(0) : value * 10 + (c.unicode() - u'0');
    }
    return value;
}

QString numberAdvice(const QString &text, quint64 low, quint64 high, const QString &range)
{
    const std::optional<quint64> n = wholeNumber(text);
    if (!n)
        return QStringLiteral("Not a whole number");
    return *n < low || *n > high ? range : QString();
}

const QString portRange = QStringLiteral("Ports run from 1 to 65535");

// The address's bytes (4 or 16), nullopt when it is not one. inet_pton is strict: four decimal
// octets for IPv4, no short forms.
std::optional<QByteArray> addressBytes(const QString &text)
{
    QString address = text;
    const qsizetype zone = address.indexOf(u'%');
    if (zone >= 0) {
        // A zone names an interface, and only a link-local IPv6 address has one.
        if (!address.contains(u':') || zone == address.size() - 1)
            return std::nullopt;
        address.truncate(zone);
    }
    // Only what an address is written with: inet_pton would stop at a NUL and take what came before.
    const bool plain = std::all_of(address.cbegin(), address.cend(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F') || c == u':' ||
               c == u'.';
    });
    if (!plain || address.isEmpty())
        return std::nullopt;
    const QByteArray latin = address.toLatin1();
    std::array<unsigned char, 16> bytes{};
    if (inet_pton(AF_INET, latin.constData(), bytes.data()) == 1 && zone < 0)
        return QByteArray(reinterpret_cast<const char *>(bytes.data()), 4);
    if (inet_pton(AF_INET6, latin.constData(), bytes.data()) == 1)
        return QByteArray(reinterpret_cast<const char *>(bytes.data()), 16);
    return std::nullopt;
}

// A number as libpcap writes one: decimal, or hexadecimal after 0x.
std::optional<quint64> pcapNumber(const QString &text)
{
    if (!text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return wholeNumber(text);
    bool ok = false;
    const quint64 value = text.mid(2).toULongLong(&ok, 16);
    return ok && !text.mid(2).startsWith(u'+') ? std::optional(value) : std::nullopt;
}

// What libpcap takes for an IPv4 host: one to four decimal parts of at most 255, apart by dots (10.1 is
// 10.0.0.1).
bool isPcapIPv4(const QString &text)
{
    const QStringList parts = text.split(u'.');
    return parts.size() <= 4 && std::all_of(parts.cbegin(), parts.cend(), [&parts](const QString &part) {
               const std::optional<quint64> n = wholeNumber(part);
               return n && (parts.size() == 1 || *n <= 255);
           });
}

// An Ethernet address as libpcap reads one: six groups of one or two hex digits apart by ':', '-' or
// '.', or three groups of four apart by '.'.
bool isMac(const QString &text)
{
    const auto hexGroups = [&text](QChar separator, int count, int low, int high) {
        const QStringList groups = text.split(separator);
        return groups.size() == count && std::all_of(groups.cbegin(), groups.cend(), [low, high](const QString &g) {
                   return g.size() >= low && g.size() <= high && std::all_of(g.cbegin(), g.cend(), [](QChar c) {
                              return isxdigit(c.toLatin1()) && c.unicode() < 128;
                          });
               });
    };
    return hexGroups(u':', 6, 1, 2) || hexGroups(u'-', 6, 1, 2) || hexGroups(u'.', 6, 1, 2) || hexGroups(u'.', 3, 4, 4);
}

bool looksNumeric(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit() || c == u'.'; });
}

bool isHostName(const QString &text)
{
    if (text.isEmpty() || text.size() > 253 || looksNumeric(text))
        return false;
    const QStringList labels = text.endsWith(u'.') ? text.chopped(1).split(u'.') : text.split(u'.');
    return std::all_of(labels.cbegin(), labels.cend(), [](const QString &label) {
        return !label.isEmpty() && label.size() <= 63 && !label.startsWith(u'-') && !label.endsWith(u'-') &&
               std::all_of(label.cbegin(), label.cend(), [](QChar c) {
                   return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                          c == u'-' || c == u'_';
               });
    });
}

// Two parts of a range, apart by "-" or by white space; nullopt for one value.
std::optional<std::pair<QString, QString>> rangeParts(const QString &text)
{
    const QStringList parts = text.split(QChar(u'-')).size() == 2 && !text.contains(u':')
                                  ? text.split(u'-')
                                  : text.simplified().split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return std::nullopt;
    return std::pair{parts.at(0).trimmed(), parts.at(1).trimmed()};
}

QString prefixAdvice(const QString &text, bool partialAllowed)
{
    const qsizetype slash = text.indexOf(u'/');
    const QString address = slash < 0 ? text : text.left(slash);
    QString full = address;
    // A capture filter's net may name only the first octets (net 10.1 is 10.1.0.0/16).
    if (partialAllowed && looksNumeric(address) && !address.isEmpty()) {
        const qsizetype octets = address.count(u'.') + 1;
        for (qsizetype i = octets; i < 4; ++i)
            full += QStringLiteral(".0");
    }
    const std::optional<QByteArray> bytes = addressBytes(full);
    // The words fit the field: a lookup takes an address too, a capture filter's net a network.
    const QString example = partialAllowed
                                ? QStringLiteral("Not a network such as 10.0.0.0/24")
                                : QStringLiteral("Not an address or a network such as 10.0.0.1 or 10.0.0.0/24");
    if (!bytes || full.contains(u'%'))
        return example;
    if (slash < 0)
        return {};
    const std::optional<quint64> length = wholeNumber(text.mid(slash + 1));
    const int bits = int(bytes->size()) * 8;
    if (!length || *length > quint64(bits))
        return QStringLiteral("Prefix lengths run from 0 to %1").arg(bits);
    QByteArray network = *bytes;
    for (int bit = int(*length); bit < bits; ++bit)
        network[bit / 8] = char(network[bit / 8] & ~(0x80 >> (bit % 8)));
    if (network == *bytes)
        return {};
    char shown[INET6_ADDRSTRLEN] = {};
    inet_ntop(bits == 32 ? AF_INET : AF_INET6, network.constData(), shown, sizeof shown);
    // libpcap refuses a net with host bits set.
    return QStringLiteral("Host bits are set: the network is %1/%2").arg(QLatin1String(shown)).arg(*length);
}

// What would be pasted without being seen.
QString invisibleAdvice(const QString &pasted)
{
    for (const QChar c : pasted) {
        if (c == u'\t')
            return QStringLiteral("This holds a tab; it will be pasted as typed");
        if ((c.category() == QChar::Separator_Space && c != u' ') || c.category() == QChar::Other_Format)
            return QStringLiteral("This holds an invisible character (U+%1); it will be pasted as typed")
                .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
    }
    return {};
}

QString expected(Expect expect, const QString &text)
{
    switch (expect) {
    case Expect::anything:
    case Expect::captureFilter:
        return {};
    case Expect::address:
        return addressBytes(text) ? QString() : QStringLiteral("Not an IPv4 or IPv6 address");
    case Expect::addressRange: {
        if (addressBytes(text))
            return {};
        const auto range = rangeParts(text);
        return range && addressBytes(range->first) && addressBytes(range->second)
                   ? QString()
                   : QStringLiteral("Not an IPv4 or IPv6 address, or two for a range");
    }
    case Expect::ipv4:
        return addressBytes(text).value_or(QByteArray()).size() == 4 ? QString()
               : addressBytes(text) ? QStringLiteral("An IPv6 address where IPv4 is asked for")
                                    : QStringLiteral("Not an IPv4 address");
    case Expect::filterHost:
        // Judged as the capture filter's check judges it, so that the two never disagree.
        if (text.contains(u'%'))
            return QStringLiteral("A capture filter takes no zone (%…) after an address");
        if ((text.contains(u':') && addressBytes(text)) || (looksNumeric(text) && isPcapIPv4(text)) || isHostName(text))
            return {};
        return looksNumeric(text) ? QStringLiteral("Not an IPv4 address")
                                  : QStringLiteral("Not an IPv4 or IPv6 address or a host name");
    case Expect::mac:
        return isMac(text) ? QString() : QStringLiteral("Not a MAC address such as 00:11:22:33:44:55");
    case Expect::etherType: {
        const std::optional<quint64> n = pcapNumber(text);
        if (!n)
            return QStringLiteral("Not an EtherType number such as 0x0806 or 2054");
        return *n > 0xffff ? QStringLiteral("EtherTypes run from 0 to 0xFFFF") : QString();
    }
    case Expect::debugLevel:
        return text == u"-1" ? QString()
                             : numberAdvice(text, 0, 255, QStringLiteral("Debug levels are -1 (all) or 0 to 255"))
                                   .replace(QStringLiteral("Not a whole number"),
                                            QStringLiteral("Not a debug level: -1 (all) or 0 to 255"));
    case Expect::host:
        if (addressBytes(text) || isHostName(text))
            return {};
        return looksNumeric(text) ? QStringLiteral("Not an IPv4 address")
                                  : QStringLiteral("Not an IPv4 or IPv6 address or a host name");
    case Expect::subnet:
        return prefixAdvice(text, true);
    case Expect::addressOrPrefix:
        return prefixAdvice(text, false);
    case Expect::port:
        return numberAdvice(text, 1, 65535, portRange);
    case Expect::portRange: {
        // -1 is no range with its first port left out.
        if (text.startsWith(u'-') && wholeNumber(text.mid(1)))
            return portRange;
        const auto range = rangeParts(text);
        if (!range)
            return numberAdvice(text, 1, 65535, portRange);
        const QString first = numberAdvice(range->first, 1, 65535, portRange);
        return first.isEmpty() ? numberAdvice(range->second, 1, 65535, portRange) : first;
    }
    case Expect::portList:
        for (const QString &piece : text.split(u',', Qt::SkipEmptyParts)) {
            const QString port = Text::trimmed(piece);
            // A service name (http, domain) is the capture filter's to judge.
            if (!port.isEmpty() && port.front().isDigit()) {
                if (const QString advice = numberAdvice(port, 1, 65535, portRange); !advice.isEmpty())
                    return advice == portRange ? advice : QStringLiteral("Not a port number");
            }
        }
        return {};
    case Expect::byte:
        return numberAdvice(text, 0, 255, QStringLiteral("Values run from 0 to 255"));
    case Expect::ttl:
        return numberAdvice(text, 1, 255, QStringLiteral("TTLs run from 1 to 255"));
    case Expect::vlan:
        return numberAdvice(text, 0, 4095, QStringLiteral("VLAN IDs run from 0 to 4095"));
    case Expect::whole:
        return numberAdvice(text, 0, ~quint64(0), {});
    case Expect::count:
        return numberAdvice(text, 1, ~quint64(0), QStringLiteral("Counts start at 1"));
    case Expect::hex: {
        const QString digits = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2) : text;
        const bool hex = !digits.isEmpty() && std::all_of(digits.cbegin(), digits.cend(), [](QChar c) {
            return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        });
        return hex ? QString() : QStringLiteral("Not hexadecimal (digits 0-9 and a-f)");
    }
    case Expect::name:
    case Expect::interfaceName:
        if (std::any_of(text.cbegin(), text.cend(), &Text::isWhiteSpace))
            return QStringLiteral("A space here splits the command into two arguments");
        // FortiOS refuses longer interface names (config system interface: a name of at most 15 characters).
        if (expect == Expect::interfaceName && text.size() > 15)
            return QStringLiteral("FortiOS interface names are at most 15 characters");
        return {};
    }
    return {};
}

} // namespace

QString lineBreakInFilter()
{
    return QStringLiteral("The filter contains a line break: pasted into the FortiGate, the command would be "
                          "cut in two at that point.");
}

QString singleQuoteInFilter()
{
    return QStringLiteral("The filter contains a single quote ('): it ends the quoted filter early, so the "
                          "FortiGate would read the rest of the filter as separate words.");
}

QString about(Expect expect, const QString &value, bool asTyped)
{
    if (expect == Expect::captureFilter) {
        if (std::any_of(value.cbegin(), value.cend(), &Text::isLineBreak))
            return lineBreakInFilter();
        if (value.contains(u'\''))
            return singleQuoteInFilter();
    }
    const QString text = Text::trimmed(value);
    if (const QString invisible = invisibleAdvice(asTyped ? value : text); !invisible.isEmpty())
        return invisible;
    if (asTyped && !text.isEmpty() && value.startsWith(u' '))
        return QStringLiteral("This starts with a space; it will be pasted as typed");
    if (asTyped && !text.isEmpty() && value.endsWith(u' '))
        return QStringLiteral("This ends with a space; it will be pasted as typed");
    return text.isEmpty() ? QString() : expected(expect, text);
}

} // namespace Advice
