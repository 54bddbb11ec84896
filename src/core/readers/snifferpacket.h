#pragma once

#include <QByteArray>
#include <QString>

// One packet as the FortiGate's sniffer printed it, with what the capture file needs of it.
struct SnifferPacket {
    // "--", and every packet at verbose 1 to 3, is unknown.
    enum class Direction { unknown, in, out };
    // What the bytes start with, as a capture file names it.
    enum class Link { ethernet, rawIp };
    // From the destination address of the header the sniffer makes up on "any".
    enum class Reception { unknown, unicast, multicast, broadcast };

    qint64 firstLine = 0;     // of the header line (1-based)
    qint64 lastLine = 0;      // of the last hex line
    qint64 timeMicros = 0;    // since 1970-01-01 00:00:00 UTC
    QByteArray timeText;      // as printed
    QByteArray interfaceName; // empty where the verbose level prints none
    Direction direction = Direction::unknown;
    QByteArray header;         // the header line after the time (and the interface), with any decode lines after it
    QByteArray bytes;          // as printed, after a made-up link header where one was needed
    qint64 originalLength = 0; // the length on the wire where the dump was cut, else bytes.size()
    Link link = Link::ethernet;
    Reception reception = Reception::unknown;
    QString note; // what this program added or had to assume, for the packet's comment
};
