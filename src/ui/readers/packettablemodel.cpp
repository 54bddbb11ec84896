#include "packettablemodel.h"

#include "readers/sniffercapture.h"

#include <QLatin1StringView>

#include <algorithm>
#include <limits>
#include <utility>

namespace {
bool containsText(QByteArrayView text, const QByteArray &search)
{
    return QLatin1StringView(text).contains(QLatin1StringView(search), Qt::CaseInsensitive);
}

qint32 clamped(qint64 value)
{
    return qint32(std::min<qint64>(value, std::numeric_limits<qint32>::max()));
}
} // namespace

void PacketTableModel::Packer::add(const SnifferPacket &packet, qint64 blockOffset)
{
    auto id = m_interfaceIds.constFind(packet.interfaceName);
    if (id == m_interfaceIds.cend()) {
        id = m_interfaceIds.insert(packet.interfaceName, quint32(m_interfaceIds.size()));
        m_batch.interfaces.append(packet.interfaceName);
    }
    const QByteArrayView header = QByteArrayView(packet.header).first(std::min<qsizetype>(packet.header.size(), 65535));
    if (!packet.note.isEmpty())
        m_batch.notes.insert(size(), packet.note);
    m_batch.rows.push_back({packet.timeMicros, blockOffset, packet.firstLine, 0, quint32(m_batch.headers.size()),
                            clamped(packet.originalLength), clamped(packet.bytes.size()), *id, quint16(header.size()),
                            quint8(packet.direction), quint8(packet.link)});
    m_batch.headers += header;
}

PacketTableModel::Batch PacketTableModel::Packer::take()
{
    return std::exchange(m_batch, {});
}

PacketTableModel::PacketTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int PacketTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(m_shown ? qint64(m_shown->size()) : m_count);
}

int PacketTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

QVariant PacketTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const qsizetype at = packetIndex(index.row());
    const Row &row = packet(at);
    if (role == Qt::TextAlignmentRole)
        return index.column() == numberColumn || index.column() == lengthColumn ? int(Qt::AlignRight | Qt::AlignVCenter)
                                                                                : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == headerColumn) {
        const QString text = QString::fromUtf8(headerOf(row));
        const QString note = m_notes.value(at);
        return note.isEmpty() ? text : text + u'\n' + note;
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (Column(index.column())) {
    case numberColumn:
        return qlonglong(at + 1);
    case timeColumn:
        return SnifferCapture::timeText(row.timeMicros);
    case interfaceColumn:
        return QString::fromUtf8(m_interfaces.at(row.interfaceId));
    case directionColumn:
        switch (SnifferPacket::Direction(row.direction)) {
        case SnifferPacket::Direction::in:
            return QStringLiteral("in");
        case SnifferPacket::Direction::out:
            return QStringLiteral("out");
        case SnifferPacket::Direction::unknown:
            return QString();
        }
        break;
    case headerColumn:
        return QString::fromUtf8(headerOf(row));
    case lengthColumn:
        return row.captured < row.length ? QStringLiteral("%1 (%2 kept)").arg(row.length).arg(row.captured)
                                         : QString::number(row.length);
    case columnTotal:
        break;
    }
    return {};
}

QVariant PacketTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList titles = {QStringLiteral("No."),       QStringLiteral("Time"),
                                       QStringLiteral("Interface"), QStringLiteral("Direction"),
                                       QStringLiteral("Header"),    QStringLiteral("Length")};
    return titles.value(section);
}

void PacketTableModel::clear()
{
    beginResetModel();
    m_rows = {};
    m_count = 0;
    m_headers.clear();
    m_interfaces.clear();
    m_notes.clear();
    m_interfaceMatches.clear();
    if (m_shown)
        m_shown->clear();
    endResetModel();
}

void PacketTableModel::append(Batch &&batch)
{
    const qint64 first = m_count;
    const auto chunk = quint32(m_headers.size());
    m_headers.append(std::move(batch.headers));
    for (const QByteArray &name : std::as_const(batch.interfaces)) {
        m_interfaces.append(name);
        m_interfaceMatches.push_back(containsText(name, m_search));
    }
    for (auto note = batch.notes.cbegin(); note != batch.notes.cend(); ++note)
        m_notes.insert(first + note.key(), note.value());
    for (Row row : batch.rows) {
        row.headerChunk = chunk;
        if ((m_count >> chunkBits) >= qint64(m_rows.size()))
            m_rows.emplace_back().reserve(size_t(1) << chunkBits);
        m_rows.back().push_back(row);
        ++m_count;
    }
    if (!m_shown) {
        if (m_count > first) {
            beginInsertRows({}, int(first), int(m_count) - 1);
            endInsertRows();
        }
        return;
    }
    std::vector<quint32> matching;
    for (qint64 at = first; at < m_count; ++at) {
        if (matches(at))
            matching.push_back(quint32(at));
    }
    if (matching.empty())
        return;
    beginInsertRows({}, int(m_shown->size()), int(m_shown->size() + matching.size()) - 1);
    m_shown->insert(m_shown->end(), matching.begin(), matching.end());
    endInsertRows();
}

void PacketTableModel::setSearchText(const QString &text)
{
    const QByteArray search = text.trimmed().toLatin1();
    if (search == m_search && m_shown.has_value() == !search.isEmpty())
        return;
    beginResetModel();
    m_search = search;
    m_shown.reset();
    if (!search.isEmpty()) {
        for (qsizetype i = 0; i < m_interfaces.size(); ++i)
            m_interfaceMatches[size_t(i)] = containsText(m_interfaces.at(i), m_search);
        m_shown.emplace();
        for (qint64 at = 0; at < m_count; ++at) {
            if (matches(at))
                m_shown->push_back(quint32(at));
        }
    }
    endResetModel();
}

int PacketTableModel::rowOfLine(qint64 line) const
{
    // The first row shown whose packet starts after line, by halves.
    qint64 low = 0;
    qint64 high = rowCount();
    while (low < high) {
        const qint64 middle = (low + high) / 2;
        if (packetAt(int(middle)).firstLine <= line)
            low = middle + 1;
        else
            high = middle;
    }
    return rowCount() == 0 ? -1 : int(std::max<qint64>(low - 1, 0));
}

int PacketTableModel::rowOfPacket(qsizetype index) const
{
    if (!m_shown)
        return index < m_count ? int(index) : -1;
    const auto found = std::ranges::lower_bound(*m_shown, quint32(index));
    return found != m_shown->end() && *found == quint32(index) ? int(found - m_shown->begin()) : -1;
}

QByteArrayView PacketTableModel::headerOf(const Row &row) const
{
    return QByteArrayView(m_headers.at(row.headerChunk)).sliced(row.headerStart, row.headerSize);
}

bool PacketTableModel::matches(qsizetype index) const
{
    const Row &row = packet(index);
    return m_interfaceMatches[row.interfaceId] || containsText(headerOf(row), m_search);
}
