#pragma once

#include "flowtrace.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

// The traces in the words the terminal prints and the window shows: one line per packet, one JSON
// object per packet, and the summary of a reading. Text from the appliance is escaped on the way.
namespace FlowText {

// "#571 19:54:07 tcp 192.168.20.2:63611 -> 63.137.229.1:443 port6 -> port1 new session 015a96aa
// policy 22 allowed snat 10.9.10.51:63611": one line, no line break in it, whatever the input held.
QString line(const FlowTrace &trace);

// Every fact, the stages and the raw records as one compact JSON object (no line break).
QByteArray json(const FlowTrace &trace);

// "tcp", "udp", "icmp", "icmpv6", "esp", "gre", or "proto-N"; "?" where unknown.
QString protocolName(int protocol);

// "192.168.20.2:63611", "[2001:db8::1]:443", "10.0.0.1" without a port; "?" without an address.
QString endpoint(const FlowEndpoint &endpoint);

// Appliance text (an interface, a VDOM, a tunnel) as one word a script can split on: bare when it is
// only [A-Za-z0-9._:/@+-], else through Text::quoted; "?" when empty.
QString name(const QByteArray &text);

// Counts a reading's traces for its summary line.
class Tally
{
public:
    void add(const FlowTrace &trace);
    qint64 packets() const { return m_packets; }
    qint64 sessions() const { return m_sessions.size() + m_otherSessions.size(); }
    qint64 dropped() const { return m_dropped; }
    // The drop reason seen most often (the first seen of equals), none without drops.
    FlowDropReason commonestReason() const;
    // "12 packets in 5 sessions, 3 dropped (most often: No policy matched (implicit deny))"
    QString summaryLine() const;

private:
    qint64 m_packets = 0;
    qint64 m_dropped = 0;
    // Distinct sessions, kept small, as a long log holds many: the chassis's number and the hex id in one
    // integer; an id that is not hex (never printed so far) by its text.
    QSet<quint64> m_sessions;
    QSet<QByteArray> m_otherSessions;
    QHash<QByteArray, quint64> m_chassis;
    QHash<int, qint64> m_reasons;
    QList<FlowDropReason> m_reasonOrder;
};

} // namespace FlowText
