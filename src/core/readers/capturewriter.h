#pragma once

#include "snifferpacket.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>

// Turns packets into a capture file that Wireshark and libpcap open: pcapng (an interface per
// FortiGate interface and link type, direction and reception in the packet flags, the printed header
// as the packet's comment) or classic pcap, which holds one link type and nothing else.
class CaptureWriter
{
public:
    enum class Format { pcapng, pcap };
    // Receives the file's bytes in order; false stops the writing.
    using Sink = std::function<bool(QByteArrayView)>;

    CaptureWriter(Format format, Sink sink);

    // False when the sink failed, or when a pcap file would need a second link type (error() says
    // so); nothing more is written after that.
    bool add(const SnifferPacket &packet);
    // The bytes handed to the sink so far.
    qint64 written() const { return m_written; }
    // Where the block of the packet added last starts: after any header add() wrote before it.
    qint64 lastBlock() const { return m_lastBlock; }
    QString error() const { return m_error; }
    // Where a packet's own bytes start in the block that add() writes for it.
    qint64 dataOffset() const;

private:
    bool send(const QByteArray &block);
    bool start(SnifferPacket::Link link);

    Format m_format;
    Sink m_sink;
    qint64 m_written = 0;
    qint64 m_lastBlock = 0;
    bool m_started = false;
    bool m_failed = false;
    SnifferPacket::Link m_pcapLink = SnifferPacket::Link::ethernet;
    QHash<QByteArray, quint32> m_interfaces; // name + link type -> interface id
    QString m_error;
};
