#include "filternames.h"

#include <QHash>
#include <QList>

#ifdef Q_OS_WIN
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

namespace FilterNames {
namespace {

// What a host of a protocol qualifier is: "ip host NAME" an IPv4 address, "ether host NAME" an Ethernet one.
enum class Family { v4, v6, link, decnet, other };
// The address qualifier: none, host, net, gateway, or port and protocol (which take no host names).
enum class Address { none, host, net, gateway, fixed };

enum class Kind { literal, name, protocol, direction, address, andOr, negation, open, close, other };

struct Token {
    Kind kind = Kind::other;
    qsizetype start = 0;
    qsizetype end = 0;
    Family family = Family::v4;
    Address address = Address::none;
};

// What a name at this point would be looked up as; a name where none is valid is a parse error for
// libpcap before any lookup, and is left as it is.
struct Qualifiers {
    bool valid = false;
    Family family = Family::v4;
    bool direction = false;
    Address address = Address::none;
};

const QHash<QString, Token> &keywords()
{
    static const QHash<QString, Token> table = [] {
        QHash<QString, Token> words;
        const auto add = [&](std::initializer_list<const char *> names, Token token) {
            for (const char *name : names)
                words.insert(QLatin1String(name), token);
        };
        add({"link", "ether", "ppp", "slip", "fddi", "tr", "wlan"}, {Kind::protocol, 0, 0, Family::link});
        add({"ip", "arp", "rarp"}, {Kind::protocol, 0, 0, Family::v4});
        add({"ip6", "icmp6"}, {Kind::protocol, 0, 0, Family::v6});
        add({"decnet"}, {Kind::protocol, 0, 0, Family::decnet});
        add({"sctp", "tcp",   "udp",   "icmp", "igmp", "igrp", "pim",  "vrrp",  "carp",    "atalk", "aarp", "lat",
             "sca",  "moprc", "mopdl", "ah",   "esp",  "iso",  "esis", "es-is", "isis",    "is-is", "l1",   "l2",
             "iih",  "lsp",   "snp",   "csnp", "psnp", "clnp", "stp",  "ipx",   "netbeui", "radio"},
            {Kind::protocol, 0, 0, Family::other});
        add({"src", "dst", "addr1", "addr2", "addr3", "addr4", "ra", "ta"}, {Kind::direction});
        add({"host"}, {Kind::address, 0, 0, Family::v4, Address::host});
        add({"net"}, {Kind::address, 0, 0, Family::v4, Address::net});
        add({"gateway"}, {Kind::address, 0, 0, Family::v4, Address::gateway});
        add({"port", "portrange", "proto", "protochain"}, {Kind::address, 0, 0, Family::v4, Address::fixed});
        add({"and", "or"}, {Kind::andOr});
        add({"not"}, {Kind::negation});
        add({"mask",    "less", "greater", "byte",    "broadcast", "multicast",  "inbound",     "outbound",
             "ifindex", "vlan", "mpls",    "pppoed",  "pppoes",    "geneve",     "vxlan",       "batadv",
             "len",     "lane", "llc",     "metac",   "bcc",       "oam",        "oamf4",       "oamf4ec",
             "oamf4sc", "sc",   "ilmic",   "vpi",     "vci",       "connectmsg", "metaconnect", "on",
             "ifname",  "rset", "rnr",     "rulenum", "srnr",      "reason",     "action",      "type",
             "subtype", "dir",  "fisu",    "lssu",    "msu",       "hfisu",      "hlssu",       "hmsu",
             "sio",     "opc",  "dpc",     "sls",     "hsio",      "hopc",       "hdpc",        "hsls"},
            {Kind::other});
        return words;
    }();
    return table;
}

bool isAsciiAlnum(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// libpcap's number: decimal, or hexadecimal after 0x.
qsizetype numberAt(const QString &s, qsizetype i)
{
    qsizetype j = i;
    if (QStringView(s).mid(j, 2).compare(u"0x", Qt::CaseInsensitive) == 0 && j + 2 < s.size() && isHex(s.at(j + 2))) {
        for (j += 2; j < s.size() && isHex(s.at(j)); ++j) {
        }
        return j - i;
    }
    while (j < s.size() && s.at(j).isDigit() && s.at(j).unicode() < 128)
        ++j;
    return j - i;
}

// Two to four numbers with dots between them.
qsizetype dottedAt(const QString &s, qsizetype i)
{
    qsizetype j = i + numberAt(s, i);
    if (j == i)
        return 0;
    qsizetype best = 0;
    for (int parts = 1; parts < 4 && j < s.size() && s.at(j) == u'.'; ++parts) {
        const qsizetype n = numberAt(s, j + 1);
        if (n == 0)
            break;
        j += 1 + n;
        best = j - i;
    }
    return best;
}

// An Ethernet address: six groups of one or two hex digits, or three of four, with one separator.
qsizetype macAt(const QString &s, qsizetype i)
{
    for (const QChar separator : {u':', u'-', u'.'}) {
        for (const auto &[groups, width] : {std::pair{6, 2}, std::pair{3, 4}}) {
            if (width == 4 && separator != u'.')
                continue;
            qsizetype j = i;
            int found = 0;
            while (found < groups) {
                qsizetype digits = 0;
                while (j + digits < s.size() && digits < width && isHex(s.at(j + digits)))
                    ++digits;
                if (digits == 0 || (width == 4 && digits != 4))
                    break;
                j += digits;
                if (++found < groups) {
                    if (j >= s.size() || s.at(j) != separator)
                        break;
                    ++j;
                }
            }
            if (found == groups)
                return j - i;
        }
    }
    return 0;
}

// The longest IPv6 address starting here.
qsizetype v6At(const QString &s, qsizetype i)
{
    qsizetype run = 0;
    while (i + run < s.size() && run < 64 && (isHex(s.at(i + run)) || s.at(i + run) == u':' || s.at(i + run) == u'.'))
        ++run;
    for (qsizetype n = run; n > 1; --n) {
        const QString candidate = s.mid(i, n);
        unsigned char address[16];
        if (candidate.contains(u':') && inet_pton(AF_INET6, candidate.toLatin1().constData(), address) == 1)
            return n;
    }
    return 0;
}

// libpcap's identifier: a letter or digit, then letters, digits, '-', '_' and '.', not ending in '-' or
// '_'; or a backslash and anything up to a blank, '!' or a parenthesis.
qsizetype identifierAt(const QString &s, qsizetype i)
{
    if (s.at(i) == u'\\') {
        qsizetype j = i + 1;
        while (j < s.size() && !QStringView(u" !()\n\t").contains(s.at(j)))
            ++j;
        return j > i + 1 ? j - i : 0;
    }
    if (!isAsciiAlnum(s.at(i)))
        return 0;
    qsizetype j = i + 1;
    while (j < s.size() && (isAsciiAlnum(s.at(j)) || s.at(j) == u'-' || s.at(j) == u'_' || s.at(j) == u'.'))
        ++j;
    while (j > i + 1 && (s.at(j - 1) == u'-' || s.at(j - 1) == u'_'))
        --j;
    return j - i;
}

// The tokens of the expression as libpcap's scanner makes them, as far as names depend on them.
QList<Token> scan(const QString &s)
{
    QList<Token> tokens;
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s.at(i);
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            ++i;
            continue;
        }
        const qsizetype literal = std::max({numberAt(s, i), dottedAt(s, i), macAt(s, i), v6At(s, i)});
        const qsizetype identifier = identifierAt(s, i);
        Token token;
        token.start = i;
        if (literal > 0 && literal >= identifier) {
            token.kind = Kind::literal;
            token.end = i + literal;
        } else if (identifier > 0) {
            token.end = i + identifier;
            const auto keyword = keywords().constFind(s.mid(i, identifier));
            if (keyword != keywords().cend()) {
                token.kind = keyword->kind;
                token.family = keyword->family;
                token.address = keyword->address;
            } else {
                token.kind = Kind::name;
            }
        } else {
            const QStringView two = QStringView(s).mid(i, 2);
            token.end = i + (two == u"&&" || two == u"||" || two == u"!=" || two == u">=" || two == u"<=" ||
                                     two == u"==" || two == u"<<" || two == u">>"
                                 ? 2
                                 : 1);
            token.kind = two == u"&&" || two == u"||" ? Kind::andOr
                         : c == u'('                  ? Kind::open
                         : c == u')'                  ? Kind::close
                         : c == u'!' && two != u"!="  ? Kind::negation
                                                      : Kind::other;
        }
        tokens << token;
        i = token.end;
    }
    return tokens;
}

} // namespace

QString withoutLookups(const QString &expression)
{
    const QList<Token> tokens = scan(expression);
    // The qualifiers being read (a protocol, a direction) before the address word that ends them.
    struct Pending {
        bool active = false;
        bool protocol = false;
        bool direction = false;
        Family family = Family::v4;
    } pending;
    Qualifiers inherited; // what a name here would be
    Qualifiers last;      // what the term just read gives a bare name after and/or
    QList<Qualifiers> parens;
    QHash<qsizetype, Qualifiers> names; // token index: the qualifiers it is looked up with
    // Qualifiers that end without an address word: "src NAME" is a host, "tcp NAME" no name at all.
    const auto settle = [&] {
        if (pending.active)
            inherited = pending.direction ? Qualifiers{true, pending.family, true, Address::none} : Qualifiers{};
        pending = {};
    };
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens.at(i);
        switch (t.kind) {
        case Kind::protocol:
            pending = {true, true, false, t.family};
            break;
        case Kind::direction:
            pending.active = pending.direction = true;
            // "src or dst", "dst and src": one qualifier.
            if (i + 2 < tokens.size() && tokens.at(i + 1).kind == Kind::andOr &&
                tokens.at(i + 2).kind == Kind::direction)
                i += 2;
            break;
        case Kind::address:
            inherited = {true, pending.family, pending.direction, t.address};
            pending = {};
            break;
        case Kind::name:
        case Kind::literal:
            settle();
            if (inherited.valid && t.kind == Kind::name)
                names.insert(i, inherited);
            // An address and its prefix length or mask are one operand: "net 10.0.0.0/8 or NAME".
            if (t.kind == Kind::literal && i + 2 < tokens.size() && tokens.at(i + 2).kind == Kind::literal &&
                (QStringView(expression).mid(tokens.at(i + 1).start, 1) == u"/" ||
                 QStringView(expression).mid(tokens.at(i + 1).start, tokens.at(i + 1).end - tokens.at(i + 1).start) ==
                     u"mask"))
                i += 2;
            last = inherited;
            inherited = {};
            break;
        case Kind::andOr:
            if (pending.active)
                last = {};
            pending = {};
            inherited = last;
            break;
        case Kind::negation:
            if (pending.active)
                inherited = {};
            pending = {};
            break;
        case Kind::open:
            settle();
            parens << inherited;
            break;
        case Kind::close:
            pending = {};
            last = parens.isEmpty() ? Qualifiers{} : parens.takeLast();
            inherited = {};
            break;
        case Kind::other:
            pending = {};
            inherited = last = {};
            break;
        }
    }

    QHash<qsizetype, QString> replaced;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        const Qualifiers &q = it.value();
        if (q.address == Address::fixed || q.family == Family::decnet)
            continue;
        // A gateway takes a name only: an address there is refused as libpcap refuses a gateway it cannot
        // check (one built for IPv6 has none), without a lookup.
        replaced.insert(it.key(), q.address == Address::net || q.address == Address::gateway
                                      ? QStringLiteral("192.0.2.%1").arg(q.address == Address::net ? 0 : 1)
                                  : q.family == Family::link ? QStringLiteral("00:00:5e:00:53:01")
                                  : q.family == Family::v6   ? QStringLiteral("2001:db8::1")
                                                             : QStringLiteral("192.0.2.1"));
    }
    if (replaced.isEmpty())
        return expression;
    QString result;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const auto found = replaced.constFind(i);
        if (found == replaced.cend())
            continue;
        result += QStringView(expression).mid(copied, tokens.at(i).start - copied);
        result += *found;
        copied = tokens.at(i).end;
    }
    result += QStringView(expression).mid(copied);
    return result;
}

} // namespace FilterNames
