#include "flowtext.h"

// Placeholder until the terminal's words land.
QString FlowText::line(const FlowTrace &trace)
{
    return QStringLiteral("#%1").arg(trace.traceId);
}

QByteArray FlowText::json(const FlowTrace &)
{
    return "{}";
}

QString FlowText::protocolName(int protocol)
{
    return QString::number(protocol);
}

QString FlowText::endpoint(const FlowEndpoint &endpoint)
{
    return QString::fromUtf8(endpoint.address);
}

void FlowText::Tally::add(const FlowTrace &)
{
    ++m_packets;
}

FlowDropReason FlowText::Tally::commonestReason() const
{
    return FlowDropReason::none;
}

QString FlowText::Tally::summaryLine() const
{
    return QStringLiteral("%1 packets").arg(m_packets);
}
