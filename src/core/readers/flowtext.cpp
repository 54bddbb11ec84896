#include "flowtext.h"

#include "flowexplanations.h"
#include "text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <algorithm>

namespace {

QString counted(qint64 n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(QLocale::c().toString(n), QLatin1String(n == 1 ? one : many));
}

bool isBare(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("._:/@+-").find(c) != std::string_view::npos;
}

// A JSON string, or null for a fact the trace does not hold. Invalid UTF-8 becomes U+FFFD.
QJsonValue string(const QByteArray &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(QString::fromUtf8(text));
}

QJsonValue number(qint64 n, qint64 none = -1)
{
    return n == none ? QJsonValue() : QJsonValue(double(n));
}

QJsonValue endpointObject(const FlowEndpoint &e)
{
    return QJsonObject{{QStringLiteral("address"), string(e.address)},
                       {QStringLiteral("port"), e.port ? QJsonValue(*e.port) : QJsonValue()}};
}

QString icmpText(const FlowIcmp &icmp)
{
    QStringList parts;
    for (const auto &[word, value] : {std::pair{"type", icmp.type}, std::pair{"code", icmp.code},
                                      std::pair{"id", icmp.id}, std::pair{"seq", icmp.sequence}}) {
        if (value >= 0)
            parts << QStringLiteral("%1 %2").arg(QLatin1String(word)).arg(value);
    }
    return parts.join(u' ');
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

QString FlowText::line(const FlowTrace &trace)
{
    QString out;
    if (!trace.chassis.isEmpty())
        out += u'[' + name(trace.chassis) + QStringLiteral("] ");
    out += trace.traceId >= 0 ? u'#' + QString::number(trace.traceId) : QStringLiteral("#?");
    // The console timestamp's clock part; the date is the same for a whole capture as a rule.
    const QByteArray time = trace.time.mid(trace.time.lastIndexOf(' ') + 1);
    out += u' ' + (time.isEmpty() ? QStringLiteral("-") : name(time));
    out += u' ' + protocolName(trace.protocol);
    out += u' ' + endpoint(trace.source) + QStringLiteral(" -> ") + endpoint(trace.destination);
    if (trace.icmp) {
        const QString icmp = icmpText(*trace.icmp);
        if (!icmp.isEmpty())
            out += u' ' + icmp;
    }
    out += u' ' + name(trace.inInterface);
    if (!trace.tunnelId.isEmpty())
        out += QStringLiteral(" tunnel ") + name(trace.tunnelId);
    out += QStringLiteral(" -> ") + (trace.local ? QStringLiteral("local") : name(trace.outInterface));
    if (trace.session == FlowTrace::Session::created) {
        out += QStringLiteral(" new session ") + name(trace.sessionId);
    } else if (trace.session == FlowTrace::Session::existing) {
        out += QStringLiteral(" existing session ") + name(trace.sessionId) + u' ' + name(trace.sessionDirection);
    }
    if (trace.policyRoute)
        out += QStringLiteral(" policy-route ") + QString::number(*trace.policyRoute);
    if (trace.policyId) {
        out += (trace.localInPolicy ? QStringLiteral(" local-in policy ") : QStringLiteral(" policy ")) +
               QString::number(*trace.policyId);
        if (trace.policyInherited)
            out += QStringLiteral(" inherited");
    }
    out += u' ' + Enum::caseName(trace.verdict);
    if (trace.verdict == FlowVerdict::dropped)
        out +=
            u' ' + Enum::caseName(trace.dropReason == FlowDropReason::none ? FlowDropReason::other : trace.dropReason);
    const QString inherited = trace.natInherited ? QStringLiteral(" inherited") : QString();
    if (trace.dnat)
        out += QStringLiteral(" dnat ") + endpoint(*trace.dnat) + inherited;
    if (trace.snat)
        out += QStringLiteral(" snat ") + endpoint(*trace.snat) + inherited;
    if (trace.vip)
        out += QStringLiteral(" vip");
    if (!trace.ipsecTunnel.isEmpty() || trace.encrypted) {
        out += QStringLiteral(" ipsec ") + name(trace.ipsecTunnel);
        if (trace.encrypted)
            out += QStringLiteral(" encrypted");
    }
    if (!trace.inspection.isEmpty())
        out += QStringLiteral(" inspect ") + name(trace.inspection);
    if (trace.offloaded)
        out += QStringLiteral(" offloaded");
    return out;
}

QByteArray FlowText::json(const FlowTrace &trace)
{
    QJsonObject o;
    o[u"index"] = double(trace.index);
    o[u"trace"] = number(trace.traceId);
    o[u"chassis"] = string(trace.chassis);
    o[u"time"] = string(trace.time);
    o[u"firstLine"] = double(trace.firstLine);
    o[u"lastLine"] = double(trace.lastLine);
    o[u"vdom"] = string(trace.vdom);
    o[u"protocol"] = number(trace.protocol);
    o[u"protocolName"] = trace.protocol < 0 ? QJsonValue() : QJsonValue(protocolName(trace.protocol));
    o[u"ipv6"] = trace.ipv6;
    o[u"source"] = endpointObject(trace.source);
    o[u"destination"] = endpointObject(trace.destination);
    o[u"icmp"] = trace.icmp ? QJsonValue(QJsonObject{{QStringLiteral("type"), number(trace.icmp->type)},
                                                     {QStringLiteral("code"), number(trace.icmp->code)},
                                                     {QStringLiteral("id"), number(trace.icmp->id)},
                                                     {QStringLiteral("sequence"), number(trace.icmp->sequence)}})
                            : QJsonValue();
    o[u"inInterface"] = string(trace.inInterface);
    o[u"tunnelId"] = string(trace.tunnelId);
    o[u"tcpFlags"] = string(trace.tcpFlags);
    o[u"session"] = trace.session == FlowTrace::Session::none
                        ? QJsonValue()
                        : QJsonValue(QJsonObject{{QStringLiteral("state"), trace.session == FlowTrace::Session::created
                                                                               ? QStringLiteral("new")
                                                                               : QStringLiteral("existing")},
                                                 {QStringLiteral("id"), string(trace.sessionId)},
                                                 {QStringLiteral("direction"), string(trace.sessionDirection)}});
    o[u"dnat"] = trace.dnat ? endpointObject(*trace.dnat) : QJsonValue();
    o[u"vip"] = trace.vip;
    o[u"route"] = QJsonObject{
        {QStringLiteral("gateway"), string(trace.gateway)},
        {QStringLiteral("outInterface"), string(trace.outInterface)},
        {QStringLiteral("local"), trace.local},
        {QStringLiteral("policyRoute"), trace.policyRoute ? QJsonValue(double(*trace.policyRoute)) : QJsonValue()}};
    o[u"policy"] = trace.policyId ? QJsonValue(QJsonObject{{QStringLiteral("id"), double(*trace.policyId)},
                                                           {QStringLiteral("localIn"), trace.localInPolicy},
                                                           {QStringLiteral("inherited"), trace.policyInherited}})
                                  : QJsonValue();
    o[u"snat"] = trace.snat ? endpointObject(*trace.snat) : QJsonValue();
    o[u"natInherited"] = trace.natInherited;
    o[u"inheritedFrom"] = number(trace.inheritedFrom);
    o[u"ipsec"] = trace.ipsecTunnel.isEmpty() && !trace.encrypted
                      ? QJsonValue()
                      : QJsonValue(QJsonObject{{QStringLiteral("tunnel"), string(trace.ipsecTunnel)},
                                               {QStringLiteral("encrypted"), trace.encrypted}});
    o[u"inspection"] = string(trace.inspection);
    o[u"offloaded"] = trace.offloaded;
    o[u"verdict"] = Enum::caseName(trace.verdict);
    o[u"dropReason"] =
        trace.dropReason == FlowDropReason::none ? QJsonValue() : QJsonValue(Enum::caseName(trace.dropReason));
    o[u"verdictStage"] = number(trace.verdictRecord);
    QJsonArray explanations;
    for (const FlowExplanations::Note &note : FlowExplanations::forTrace(trace))
        explanations.append(QJsonObject{{QStringLiteral("title"), note.title}, {QStringLiteral("text"), note.text}});
    o[u"explanations"] = explanations;
    QJsonArray stages;
    for (const FlowRecord &r : trace.records) {
        stages.append(QJsonObject{{QStringLiteral("stage"), Enum::caseName(r.stage)},
                                  {QStringLiteral("line"), double(r.line)},
                                  {QStringLiteral("lastLine"), double(r.lastLine)},
                                  {QStringLiteral("function"), string(r.function)},
                                  {QStringLiteral("message"), QString::fromUtf8(r.message)},
                                  {QStringLiteral("raw"), QString::fromUtf8(r.raw)},
                                  {QStringLiteral("truncated"), r.truncated}});
    }
    o[u"stages"] = stages;
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
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
    if (trace.session != FlowTrace::Session::none && !trace.sessionId.isEmpty())
        m_sessions.insert(trace.chassis + ' ' + trace.sessionId, true);
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
    QString line = counted(m_packets, "packet", "packets") + QStringLiteral(" in ") +
                   counted(sessions(), "session", "sessions") + QStringLiteral(", ");
    if (m_dropped == 0)
        return line + QStringLiteral("none dropped");
    const FlowDropReason reason = commonestReason();
    // "other" has no words of its own worth repeating.
    const QString why =
        reason == FlowDropReason::other ? QStringLiteral("a reason not named here") : Enum::rawValue(reason);
    return line + QStringLiteral("%1 dropped (most often: %2)").arg(QLocale::c().toString(m_dropped), why);
}
