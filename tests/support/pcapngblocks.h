#pragma once

#include <QByteArray>
#include <QList>
#include <QtEndian>

// Reads back a little-endian pcapng file with microsecond times block by block, with what libpcap does
// not show: interface names, packet flags and comments. A fault in the framing leaves it not ok.
namespace PcapngBlocks {

struct Interface {
    quint16 linkType = 0;
    QByteArray name = {};
};

struct Packet {
    quint32 interface = 0;
    qint64 micros = 0, original = 0;
    QByteArray data = {}, comment = {};
    quint32 flags = 0;
};

struct File {
    QList<Interface> interfaces;
    QList<Packet> packets;
    bool ok = false;
};

inline File read(const QByteArray &bytes)
{
    File file;
    const auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    if (bytes.size() < 28 || u32(0) != 0x0a0d0d0a || u32(8) != 0x1a2b3c4d || u16(12) != 1)
        return file;
    for (qsizetype at = 0; at < bytes.size();) {
        const quint32 type = at + 12 <= bytes.size() ? u32(at) : 0, total = type ? u32(at + 4) : 0;
        const qsizetype end = at + total - 4, fixed = type == 6 ? 20 : type == 1 ? 8 : type == 0x0a0d0d0a ? 16 : 0;
        if (total < 12 + fixed || total % 4 || total > bytes.size() - at || u32(end) != total)
            return File();
        qsizetype options = at + 8 + fixed;
        if (type == 1)
            file.interfaces.append(Interface{u16(at + 8)});
        if (type == 6) {
            const quint32 id = u32(at + 8), captured = u32(at + 20);
            if (id >= quint32(file.interfaces.size()) || options + captured > end)
                return File();
            file.packets.append(
                Packet{id, qint64(u32(at + 12)) << 32 | u32(at + 16), u32(at + 24), bytes.mid(options, captured)});
            options += (captured + 3) / 4 * 4;
        }
        for (qsizetype o = options; o + 4 <= end && u16(o); o += 4 + (u16(o + 2) + 3) / 4 * 4) {
            const QByteArray value = bytes.mid(o + 4, u16(o + 2));
            if (o + 4 + u16(o + 2) > end || (type == 1 && u16(o) == 9 && value != "\x06"))
                return File();
            if (type == 1 && u16(o) == 2)
                file.interfaces.last().name = value;
            if (type == 6 && u16(o) == 1)
                file.packets.last().comment = value;
            if (type == 6 && u16(o) == 2 && value.size() == 4)
                file.packets.last().flags = qFromLittleEndian<quint32>(value.constData());
        }
        at += total;
    }
    file.ok = true;
    return file;
}

} // namespace PcapngBlocks
