#pragma once

#include "readers/snifferpacket.h"

#include <QAbstractTableModel>
#include <QByteArrayList>
#include <QHash>

#include <optional>
#include <vector>

// The packets read so far, one row each, for a million of them: a row keeps a few numbers and where
// its header text is, never the packet's bytes (they are in the capture file, at the row's block
// offset). The rows come packed from the reading thread, in batches that cost the UI thread little more
// than a copy, and are kept in chunks that never move. A search shows only the rows whose interface or
// header contains its text.
class PacketTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { numberColumn, timeColumn, interfaceColumn, directionColumn, headerColumn, lengthColumn, columnTotal };

    struct Row {
        qint64 timeMicros;
        qint64 blockOffset;
        qint64 firstLine;
        quint32 headerChunk; // of the headers, set as the batch is taken in
        quint32 headerStart;
        qint32 length;   // on the wire
        qint32 captured; // in the capture file
        quint32 interfaceId;
        quint16 headerSize; // the capture's comment holds no more either
        quint8 direction;   // a SnifferPacket::Direction
        quint8 link;        // a SnifferPacket::Link: what the bytes in the capture start with
    };
    struct Batch {
        std::vector<Row> rows;
        QByteArray headers;              // back to back
        QByteArrayList interfaces;       // seen first in this batch, in the order of their ids
        QHash<qsizetype, QString> notes; // by index in rows; few packets have one
    };
    // Packs the packets of one reading, on its thread, numbering the interfaces as the table does.
    class Packer
    {
    public:
        void add(const SnifferPacket &packet, qint64 blockOffset);
        qsizetype size() const { return qsizetype(m_batch.rows.size()); }
        Batch take();

    private:
        Batch m_batch;
        QHash<QByteArray, quint32> m_interfaceIds;
    };

    explicit PacketTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void clear();
    // The next batch of the reading that began after the last clear().
    void append(Batch &&batch);
    // Every packet read, shown or not.
    qint64 packetCount() const { return m_count; }
    void setSearchText(const QString &text);

    const Row &packetAt(int row) const { return packet(packetIndex(row)); }
    // The packet a row shows, counted from 0 among all read; and back, -1 when the search hides it.
    qsizetype packetIndex(int row) const { return m_shown ? qsizetype((*m_shown)[size_t(row)]) : row; }
    int rowOfPacket(qsizetype index) const;
    QString noteAt(int row) const { return m_notes.value(packetIndex(row)); }
    // The row of the packet that line is part of, or follows: the last shown that starts at line or
    // before it, else the first shown; -1 with no rows.
    int rowOfLine(qint64 line) const;

private:
    static constexpr int chunkBits = 16;
    const Row &packet(qsizetype index) const
    {
        return m_rows[size_t(index >> chunkBits)][size_t(index & ((1 << chunkBits) - 1))];
    }
    QByteArrayView headerOf(const Row &row) const;
    bool matches(qsizetype index) const;

    std::vector<std::vector<Row>> m_rows; // chunks of 2^chunkBits
    qint64 m_count = 0;
    QList<QByteArray> m_headers; // one chunk per batch
    QByteArrayList m_interfaces;
    QHash<qsizetype, QString> m_notes;
    QByteArray m_search; // Latin-1: the headers are ASCII
    std::vector<bool> m_interfaceMatches;
    std::optional<std::vector<quint32>> m_shown; // with a search: the packets that match
};
