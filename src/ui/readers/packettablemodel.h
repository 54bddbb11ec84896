#pragma once

#include "readers/snifferpacket.h"

#include <QAbstractTableModel>
#include <QByteArrayList>
#include <QHash>

#include <optional>
#include <vector>

// The packets read so far, one row each, for a million of them: a row keeps a few numbers and its header
// text in one shared buffer, never the packet's bytes (they are in the capture file, at the row's block
// offset). A search shows only the rows whose interface or header contains its text.
class PacketTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { numberColumn, timeColumn, interfaceColumn, directionColumn, headerColumn, lengthColumn, columnTotal };

    // What the table takes of one packet, made on the reading thread.
    struct Packet {
        qint64 timeMicros = 0;
        qint64 blockOffset = 0;
        qint64 firstLine = 0;
        qint64 length = 0;   // on the wire
        qint64 captured = 0; // in the capture file
        QByteArray interfaceName;
        SnifferPacket::Direction direction = SnifferPacket::Direction::unknown;
        QByteArray header;
        QString note;
    };
    static Packet from(const SnifferPacket &packet, qint64 blockOffset);

    explicit PacketTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void clear();
    void append(const QList<Packet> &packets);
    // Every packet read, shown or not.
    qint64 packetCount() const { return qint64(m_rows.size()); }
    void setSearchText(const QString &text);

    // The packet a row shows, with its header, without its bytes.
    Packet packet(int row) const;
    // The row of the packet that line is part of, or follows: the last shown that starts at line or
    // before it, else the first shown; -1 with no rows.
    int rowOfLine(qint64 line) const;

private:
    struct Row {
        qint64 timeMicros;
        qint64 blockOffset;
        qint64 firstLine;
        qint64 headerEnd; // in m_headers; the header starts where the previous row's ends
        qint32 length;
        qint32 captured;
        quint32 interfaceId; // in m_interfaces
        SnifferPacket::Direction direction;
    };
    qsizetype packetIndex(int row) const { return m_shown ? qsizetype((*m_shown)[size_t(row)]) : row; }
    QByteArrayView headerOf(qsizetype index) const;
    bool matches(qsizetype index) const;

    std::vector<Row> m_rows;
    QByteArray m_headers;
    QByteArrayList m_interfaces;
    QHash<QByteArray, quint32> m_interfaceIds;
    QHash<qsizetype, QString> m_notes; // the few packets with one
    QByteArray m_search;               // Latin-1: the headers are ASCII
    std::vector<bool> m_interfaceMatches;
    std::optional<std::vector<quint32>> m_shown; // with a search: the packets that match
};
