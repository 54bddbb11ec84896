#include "flowtext.h"

#include "flowexplanations.h"
#include "text.h"

#include <QLocale>

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>
#include <utility>

namespace {

bool isBare(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("._:/@+-").find(c) != std::string_view::npos;
}

// JSON written in the order the manual page lists the keys, compact and without a line break, and
// valid UTF-8 whatever bytes the appliance printed (invalid sequences become U+FFFD).
void appendString(QByteArray &out, QByteArrayView text)
{
    if (!QUtf8StringView(text).isValidUtf8()) {
        const QByteArray repaired = QString::fromUtf8(text).toUtf8();
        appendString(out, repaired);
        return;
    }
    out += '"';
    qsizetype plain = 0; // where the run of characters needing no escape starts
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '"' && c != '\\' && uchar(c) >= 0x20)
            continue;
        out.append(text.sliced(plain, i - plain));
        plain = i + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += "\\u00";
            out += "0123456789abcdef"[uchar(c) >> 4];
            out += "0123456789abcdef"[uchar(c) & 15];
        }
    }
    out.append(text.sliced(plain));
    out += '"';
}

class Object
{
public:
    explicit Object(QByteArray &out)
        : m_out(out)
    {
        m_out += '{';
    }
    ~Object() { m_out += '}'; }
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    QByteArray &key(const char *name)
    {
        if (!m_first)
            m_out += ',';
        m_first = false;
        m_out += '"';
        m_out += name;
        m_out += "\":";
        return m_out;
    }
    // A fact the trace does not hold is null: an empty text, a number equal to none.
    void text(const char *name, QByteArrayView value)
    {
        if (value.isEmpty())
            key(name) += "null";
        else
            appendString(key(name), value);
    }
    void text(const char *name, const QByteArray &value) { text(name, QByteArrayView(value)); }
    void text(const char *name, const QString &value) { text(name, value.toUtf8()); }
    void number(const char *name, qint64 value, qint64 none = std::numeric_limits<qint64>::min())
    {
        key(name) += value == none ? QByteArray("null") : QByteArray::number(value);
    }
    void number(const char *name, const std::optional<qint64> &value)
    {
        key(name) += value ? QByteArray::number(*value) : QByteArray("null");
    }
    void flag(const char *name, bool value) { key(name) += value ? "true" : "false"; }
    void null(const char *name) { key(name) += "null"; }

private:
    QByteArray &m_out;
    bool m_first = true;
};

void endpoint(Object &o, const char *name, const FlowEndpoint &e)
{
    Object inner(o.key(name));
    inner.text("address", e.address);
    inner.number("port", e.port ? std::optional<qint64>(*e.port) : std::nullopt);
}

} // namespace

QString FlowText::name(const QByteArray &text)
{
    if (text.isEmpty())
        return QStringLiteral("?");
    if (std::all_of(text.begin(), text.end(), isBare))
        return QString::fromLatin1(text);
    return Text::quoted(QString::fromUtf8(text));
}

namespace {

// name() and endpoint() appended in place: a line is built for every packet of a long log.
void appendName(QString &out, const QByteArray &text)
{
    if (!text.isEmpty() && std::all_of(text.begin(), text.end(), isBare))
        out += QLatin1String(text);
    else
        out += FlowText::name(text);
}

void appendEndpoint(QString &out, const FlowEndpoint &e)
{
    const bool bare = !e.address.isEmpty() && std::all_of(e.address.begin(), e.address.end(), isBare);
    if (!bare || !e.port || !e.address.contains(':')) {
        out += bare && !e.port ? QLatin1String(e.address) : FlowText::endpoint(e);
        return;
    }
    out += u'[';
    out += QLatin1String(e.address);
    out += QLatin1String("]:");
    out += QString::number(*e.port);
}

} // namespace

QString FlowText::line(const FlowTrace &trace)
{
    QString out;
    out.reserve(160);
    const auto word = [&out](const char *text) { out += QLatin1String(text); };
    const auto number = [&out](qint64 n) { out += QString::number(n); };
    if (!trace.chassis.isEmpty()) {
        word("[");
        appendName(out, trace.chassis);
        word("] ");
    }
    word("#");
    if (trace.traceId >= 0)
        number(trace.traceId);
    else
        word("?");
    // The console timestamp's clock part; the date is the same for a whole capture as a rule.
    const QByteArray time = trace.time.mid(trace.time.lastIndexOf(' ') + 1);
    word(" ");
    if (time.isEmpty())
        word("-");
    else
        appendName(out, time);
    word(" ");
    out += protocolName(trace.protocol);
    word(" ");
    appendEndpoint(out, trace.source);
    word(" -> ");
    appendEndpoint(out, trace.destination);
    if (trace.icmp) {
        for (const auto &[label, value] :
             {std::pair{" type ", trace.icmp->type}, std::pair{" code ", trace.icmp->code},
              std::pair{" id ", trace.icmp->id}, std::pair{" seq ", trace.icmp->sequence}}) {
            if (value >= 0) {
                word(label);
                number(value);
            }
        }
    }
    word(" ");
    appendName(out, trace.inInterface);
    if (!trace.tunnelId.isEmpty()) {
        word(" tunnel ");
        appendName(out, trace.tunnelId);
    }
    word(" -> ");
    if (trace.local)
        word("local");
    else
        appendName(out, trace.outInterface);
    if (trace.session == FlowTrace::Session::created) {
        word(" new session ");
        appendName(out, trace.sessionId);
    } else if (trace.session == FlowTrace::Session::existing) {
        word(" existing session ");
        appendName(out, trace.sessionId);
        word(" ");
        appendName(out, trace.sessionDirection);
    }
    if (trace.policyRoute) {
        word(" policy-route ");
        number(*trace.policyRoute);
    }
    if (trace.policyId) {
        word(trace.localInPolicy ? " local-in policy " : " policy ");
        number(*trace.policyId);
        if (trace.policyInherited)
            word(" inherited");
    }
    word(" ");
    out += Enum::caseName(trace.verdict);
    if (trace.verdict == FlowVerdict::dropped) {
        word(" ");
        out += Enum::caseName(trace.dropReason == FlowDropReason::none ? FlowDropReason::other : trace.dropReason);
    }
    for (const auto &[label, nat] : {std::pair{" dnat ", &trace.dnat}, std::pair{" snat ", &trace.snat}}) {
        if (*nat) {
            word(label);
            appendEndpoint(out, **nat);
            if (trace.natInherited)
                word(" inherited");
        }
    }
    if (trace.vip)
        word(" vip");
    if (!trace.ipsecTunnel.isEmpty() || trace.encrypted) {
        word(" ipsec ");
        appendName(out, trace.ipsecTunnel);
        if (trace.encrypted)
            word(" encrypted");
    }
    if (!trace.inspection.isEmpty()) {
        word(" inspect ");
        appendName(out, trace.inspection);
    }
    if (trace.offloaded)
        word(" offloaded");
    return out;
}

QByteArray FlowText::json(const FlowTrace &trace)
{
    QByteArray out;
    out.reserve(1024 + 512 * trace.records.size());
    {
        Object o(out);
        o.number("index", trace.index);
        o.number("trace", trace.traceId, -1);
        o.text("chassis", trace.chassis);
        o.text("time", trace.time);
        o.number("firstLine", trace.firstLine);
        o.number("lastLine", trace.lastLine);
        o.text("vdom", trace.vdom);
        o.number("protocol", trace.protocol, -1);
        o.text("protocolName", trace.protocol < 0 ? QString() : protocolName(trace.protocol));
        o.flag("ipv6", trace.ipv6);
        endpoint(o, "source", trace.source);
        endpoint(o, "destination", trace.destination);
        if (trace.icmp) {
            Object icmp(o.key("icmp"));
            icmp.number("type", trace.icmp->type, -1);
            icmp.number("code", trace.icmp->code, -1);
            icmp.number("id", trace.icmp->id, -1);
            icmp.number("sequence", trace.icmp->sequence, -1);
        } else {
            o.null("icmp");
        }
        o.text("inInterface", trace.inInterface);
        o.text("tunnelId", trace.tunnelId);
        o.text("tcpFlags", trace.tcpFlags);
        if (trace.session != FlowTrace::Session::none) {
            Object session(o.key("session"));
            session.text("state", QByteArrayView(trace.session == FlowTrace::Session::created ? "new" : "existing"));
            session.text("id", trace.sessionId);
            session.text("direction", trace.sessionDirection);
        } else {
            o.null("session");
        }
        if (trace.dnat)
            endpoint(o, "dnat", *trace.dnat);
        else
            o.null("dnat");
        o.flag("vip", trace.vip);
        {
            Object route(o.key("route"));
            route.text("gateway", trace.gateway);
            route.text("outInterface", trace.outInterface);
            route.flag("local", trace.local);
            route.number("policyRoute", trace.policyRoute);
        }
        if (trace.policyId) {
            Object policy(o.key("policy"));
            policy.number("id", *trace.policyId);
            policy.flag("localIn", trace.localInPolicy);
            policy.flag("inherited", trace.policyInherited);
        } else {
            o.null("policy");
        }
        if (trace.snat)
            endpoint(o, "snat", *trace.snat);
        else
            o.null("snat");
        o.flag("natInherited", trace.natInherited);
        o.number("inheritedFrom", trace.inheritedFrom, -1);
        if (!trace.ipsecTunnel.isEmpty() || trace.encrypted) {
            Object ipsec(o.key("ipsec"));
            ipsec.text("tunnel", trace.ipsecTunnel);
            ipsec.flag("encrypted", trace.encrypted);
        } else {
            o.null("ipsec");
        }
        o.text("inspection", trace.inspection);
        o.flag("offloaded", trace.offloaded);
        o.text("verdict", Enum::caseName(trace.verdict));
        o.text("dropReason", trace.dropReason == FlowDropReason::none ? QString() : Enum::caseName(trace.dropReason));
        o.number("verdictStage", trace.verdictRecord, -1);
        o.key("explanations") += '[';
        bool first = true;
        for (const FlowExplanations::Note &note : FlowExplanations::forTrace(trace)) {
            if (!std::exchange(first, false))
                out += ',';
            Object n(out);
            n.text("title", note.title);
            n.text("text", note.text);
        }
        out += ']';
        o.key("stages") += '[';
        first = true;
        for (const FlowRecord &r : trace.records) {
            if (!std::exchange(first, false))
                out += ',';
            Object stage(out);
            stage.text("stage", Enum::caseName(r.stage));
            stage.number("line", r.line);
            stage.number("lastLine", r.lastLine);
            stage.text("function", r.function);
            // Never null: an empty message is still the record's message.
            appendString(stage.key("message"), r.message);
            appendString(stage.key("raw"), r.raw);
            stage.flag("truncated", r.truncated);
        }
        out += ']';
    }
    return out;
}

QString FlowText::protocolName(int protocol)
{
    switch (protocol) {
    case 1:
        return QStringLiteral("icmp");
    case 6:
        return QStringLiteral("tcp");
    case 17:
        return QStringLiteral("udp");
    case 47:
        return QStringLiteral("gre");
    case 50:
        return QStringLiteral("esp");
    case 58:
        return QStringLiteral("icmpv6");
    default:
        return protocol < 0 ? QStringLiteral("?") : QStringLiteral("proto-%1").arg(protocol);
    }
}

QString FlowText::endpoint(const FlowEndpoint &endpoint)
{
    const QString address = name(endpoint.address);
    if (!endpoint.port)
        return address;
    // An IPv6 address holds colons of its own.
    const bool bracket = endpoint.address.contains(':') && address.front() != u'\'';
    return (bracket ? u'[' + address + u']' : address) + u':' + QString::number(*endpoint.port);
}

void FlowText::Tally::add(const FlowTrace &trace)
{
    ++m_packets;
    if (trace.session != FlowTrace::Session::none && !trace.sessionId.isEmpty()) {
        const bool hex = trace.sessionId.size() <= 8 && std::all_of(trace.sessionId.begin(), trace.sessionId.end(),
                                                                    [](char c) { return std::isxdigit(uchar(c)); });
        if (hex) {
            const quint64 id = trace.sessionId.toUInt(nullptr, 16);
            auto chassis = m_chassis.constFind(trace.chassis);
            if (chassis == m_chassis.cend())
                chassis = m_chassis.insert(trace.chassis, quint64(m_chassis.size()));
            m_sessions.insert(*chassis << 32 | id);
        } else {
            m_otherSessions.insert(trace.chassis + ' ' + trace.sessionId);
        }
    }
    if (trace.verdict != FlowVerdict::dropped)
        return;
    ++m_dropped;
    const FlowDropReason reason = trace.dropReason == FlowDropReason::none ? FlowDropReason::other : trace.dropReason;
    if (m_reasons[int(reason)]++ == 0)
        m_reasonOrder.append(reason);
}

FlowDropReason FlowText::Tally::commonestReason() const
{
    FlowDropReason best = FlowDropReason::none;
    qint64 most = 0;
    for (FlowDropReason reason : m_reasonOrder) {
        if (m_reasons.value(int(reason)) > most) {
            most = m_reasons.value(int(reason));
            best = reason;
        }
    }
    return best;
}

QString FlowText::Tally::summaryLine() const
{
    QString line = Text::counted(m_packets, "packet", "packets") + QStringLiteral(" in ") +
                   Text::counted(sessions(), "session", "sessions") + QStringLiteral(", ");
    if (m_dropped == 0)
        return line + QStringLiteral("none dropped");
    const FlowDropReason reason = commonestReason();
    // "other" has no words of its own worth repeating.
    const QString why =
        reason == FlowDropReason::other ? QStringLiteral("a reason not named here") : Enum::rawValue(reason);
    return line + QStringLiteral("%1 dropped (most often: %2)").arg(QLocale::c().toString(m_dropped), why);
}
