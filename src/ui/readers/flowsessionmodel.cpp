#include "flowsessionmodel.h"

#include "text.h"

#include "flowtablemodel.h"

#include <QLocale>

namespace {
QByteArray keyOf(const FlowTrace &trace)
{
    return trace.sessionId.isEmpty() ? QByteArray() : trace.chassis + '/' + trace.sessionId;
}
} // namespace

FlowSessionModel::FlowSessionModel(const FlowTableModel &traces, QObject *parent)
    : QAbstractItemModel(parent)
    , m_traces(traces)
{
}

// A group's rows have internal id 0; a packet's, its group's row plus 1.
QModelIndex FlowSessionModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= FlowTableModel::columnTotal)
        return {};
    if (!parent.isValid())
        return size_t(row) < m_groups.size() ? createIndex(row, column, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0 || size_t(row) >= m_groups[size_t(parent.row())].traces.size())
        return {};
    return createIndex(row, column, quintptr(parent.row()) + 1);
}

QModelIndex FlowSessionModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(int(child.internalId() - 1), 0, quintptr(0));
}

int FlowSessionModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_groups.size());
    if (parent.internalId() != 0 || parent.column() != 0)
        return 0;
    return int(m_groups[size_t(parent.row())].traces.size());
}

int FlowSessionModel::columnCount(const QModelIndex &) const
{
    return FlowTableModel::columnTotal;
}

QVariant FlowSessionModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (index.internalId() != 0) {
        const qsizetype trace = m_groups[size_t(index.internalId() - 1)].traces[size_t(index.row())];
        if (role == FlowTableModel::traceRole)
            return qlonglong(trace);
        return m_traces.cell(m_traces.trace(trace), index.column(), role);
    }
    const Group &group = m_groups[size_t(index.row())];
    if (role == FlowTableModel::traceRole)
        return qlonglong(-1);
    if (role != Qt::DisplayRole)
        return {};
    const FlowTrace &first = m_traces.trace(group.traces.front());
    switch (index.column()) {
    case FlowTableModel::traceColumn:
        if (first.sessionId.isEmpty())
            return QStringLiteral("Without a session");
        return first.chassis.isEmpty() ? QStringLiteral("Session %1").arg(QString::fromUtf8(first.sessionId))
                                       : QStringLiteral("[%1] session %2")
                                             .arg(QString::fromUtf8(first.chassis), QString::fromUtf8(first.sessionId));
    case FlowTableModel::timeColumn:
    case FlowTableModel::protocolColumn:
    case FlowTableModel::endpointsColumn:
        return first.sessionId.isEmpty() ? QVariant() : m_traces.cell(first, index.column(), role);
    case FlowTableModel::verdictColumn: {
        const QString packets = Text::counted(qint64(group.traces.size()), "packet", "packets");
        return group.dropped == 0 ? packets
                                  : QStringLiteral("%1, %2 dropped").arg(packets, QLocale().toString(group.dropped));
    }
    default:
        return {};
    }
}

QVariant FlowSessionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return m_traces.headerData(section, orientation, role);
}

void FlowSessionModel::clear()
{
    beginResetModel();
    m_groups.clear();
    m_groupOf.clear();
    m_places.clear();
    endResetModel();
}

void FlowSessionModel::update()
{
    const auto total = size_t(m_traces.traceCount());
    if (m_places.size() >= total)
        return;
    // Each group's new packets in one insertion, and the new groups, packets and all, in another.
    const size_t oldGroups = m_groups.size();
    QHash<quint32, std::vector<quint32>> added;
    std::vector<quint32> order;
    for (size_t at = m_places.size(); at < total; ++at) {
        const FlowTrace &trace = m_traces.trace(qsizetype(at));
        const QByteArray key = keyOf(trace);
        auto found = m_groupOf.constFind(key);
        if (found == m_groupOf.cend()) {
            found = m_groupOf.insert(key, quint32(m_groups.size()));
            m_groups.emplace_back();
        }
        const quint32 group = *found;
        Group &into = m_groups[group];
        if (trace.verdict == FlowVerdict::dropped)
            ++into.dropped;
        if (group >= oldGroups) {
            m_places.push_back({group, quint32(into.traces.size())});
            into.traces.push_back(quint32(at));
            continue;
        }
        auto &list = added[group];
        if (list.empty())
            order.push_back(group);
        m_places.push_back({group, quint32(into.traces.size() + list.size())});
        list.push_back(quint32(at));
    }
    for (const quint32 group : order) {
        std::vector<quint32> &list = added[group];
        std::vector<quint32> &traces = m_groups[group].traces;
        const QModelIndex parent = index(int(group), 0);
        beginInsertRows(parent, int(traces.size()), int(traces.size() + list.size()) - 1);
        traces.insert(traces.end(), list.begin(), list.end());
        endInsertRows();
        emit dataChanged(index(int(group), FlowTableModel::verdictColumn),
                         index(int(group), FlowTableModel::verdictColumn));
    }
    if (m_groups.size() > oldGroups) {
        // Announced after the fact: the new groups are already in place, and no view has asked for them.
        const size_t now = m_groups.size();
        std::vector<Group> fresh(std::make_move_iterator(m_groups.begin() + qsizetype(oldGroups)),
                                 std::make_move_iterator(m_groups.end()));
        m_groups.resize(oldGroups);
        beginInsertRows({}, int(oldGroups), int(now) - 1);
        std::move(fresh.begin(), fresh.end(), std::back_inserter(m_groups));
        endInsertRows();
    }
}

QModelIndex FlowSessionModel::indexOfTrace(qsizetype trace, int column) const
{
    if (trace < 0 || size_t(trace) >= m_places.size())
        return {};
    const Place &place = m_places[size_t(trace)];
    return createIndex(int(place.row), column, quintptr(place.group) + 1);
}
