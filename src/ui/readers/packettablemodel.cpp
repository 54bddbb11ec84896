#include "packettablemodel.h"

#include "readers/sniffercapture.h"

#include <QLatin1StringView>

#include <algorithm>
#include <limits>

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

PacketTableModel::Packet PacketTableModel::from(const SnifferPacket &packet, qint64 blockOffset)
{
    return {packet.timeMicros,     blockOffset,         packet.firstLine,
            packet.originalLength, packet.bytes.size(), packet.interfaceName,
            packet.direction,      packet.header,       packet.note};
}

PacketTableModel::PacketTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int PacketTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(m_shown ? m_shown->size() : m_rows.size());
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
    const Row &row = m_rows[size_t(at)];
    if (role == Qt::TextAlignmentRole)
        return index.column() == numberColumn || index.column() == lengthColumn ? int(Qt::AlignRight | Qt::AlignVCenter)
                                                                                : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == headerColumn) {
        const QString text = QString::fromUtf8(headerOf(at));
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
        return row.direction == SnifferPacket::Direction::in    ? QStringLiteral("in")
               : row.direction == SnifferPacket::Direction::out ? QStringLiteral("out")
                                                                : QString();
    case headerColumn:
        return QString::fromUtf8(headerOf(at));
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
    m_headers = {};
    m_interfaces.clear();
    m_interfaceIds.clear();
    m_notes.clear();
    m_interfaceMatches.clear();
    if (m_shown)
        m_shown->clear();
    endResetModel();
}

void PacketTableModel::append(const QList<Packet> &packets)
{
    const qsizetype first = qsizetype(m_rows.size());
    for (const Packet &packet : packets) {
        auto id = m_interfaceIds.constFind(packet.interfaceName);
        if (id == m_interfaceIds.cend()) {
            id = m_interfaceIds.insert(packet.interfaceName, quint32(m_interfaces.size()));
            m_interfaces.append(packet.interfaceName);
            m_interfaceMatches.push_back(containsText(packet.interfaceName, m_search));
        }
        m_headers += packet.header;
        if (!packet.note.isEmpty())
            m_notes.insert(qsizetype(m_rows.size()), packet.note);
        m_rows.push_back({packet.timeMicros, packet.blockOffset, packet.firstLine, m_headers.size(),
                          clamped(packet.length), clamped(packet.captured), *id, packet.direction});
    }
    if (!m_shown) {
        beginInsertRows({}, int(first), int(m_rows.size()) - 1);
        endInsertRows();
        return;
    }
    std::vector<quint32> matching;
    for (qsizetype at = first; at < qsizetype(m_rows.size()); ++at) {
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
        for (qsizetype at = 0; at < qsizetype(m_rows.size()); ++at) {
            if (matches(at))
                m_shown->push_back(quint32(at));
        }
    }
    endResetModel();
}

PacketTableModel::Packet PacketTableModel::packet(int row) const
{
    const qsizetype at = packetIndex(row);
    const Row &r = m_rows[size_t(at)];
    return {r.timeMicros,     r.blockOffset,
            r.firstLine,      r.length,
            r.captured,       m_interfaces.at(r.interfaceId),
            r.direction,      headerOf(at).toByteArray(),
            m_notes.value(at)};
}

int PacketTableModel::rowOfLine(qint64 line) const
{
    const auto after = std::ranges::upper_bound(m_rows, line, {}, &Row::firstLine);
    const auto packet = quint32(std::max<qsizetype>(after - m_rows.begin() - 1, 0));
    if (!m_shown)
        return m_rows.empty() ? -1 : int(packet);
    const auto shown = std::ranges::upper_bound(*m_shown, packet);
    return m_shown->empty() ? -1 : int(std::max<qsizetype>(shown - m_shown->begin() - 1, 0));
}

QByteArrayView PacketTableModel::headerOf(qsizetype index) const
{
    const qint64 start = index == 0 ? 0 : m_rows[size_t(index - 1)].headerEnd;
    return QByteArrayView(m_headers).sliced(start, m_rows[size_t(index)].headerEnd - start);
}

bool PacketTableModel::matches(qsizetype index) const
{
    return m_interfaceMatches[m_rows[size_t(index)].interfaceId] || containsText(headerOf(index), m_search);
}
