#include "flowtablemodel.h"

#include "common/icons.h"
#include "common/style.h"
#include "readers/flowtext.h"

#include <QApplication>
#include <QFont>

namespace {
const QString arrow = QStringLiteral(" \u2192 ");

QString text(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

QString natText(const FlowTrace &trace)
{
    QStringList parts;
    if (trace.snat)
        parts << QStringLiteral("snat ") + FlowText::endpoint(*trace.snat);
    if (trace.dnat)
        parts << (trace.vip ? QStringLiteral("vip ") : QStringLiteral("dnat ")) + FlowText::endpoint(*trace.dnat);
    return parts.join(QStringLiteral(", "));
}
} // namespace

FlowTableModel::FlowTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int FlowTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_count);
}

int FlowTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

QVariant FlowTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_count)
        return {};
    if (role == traceRole)
        return qlonglong(index.row());
    return cell(trace(index.row()), index.column(), role);
}

QVariant FlowTableModel::cell(const FlowTrace &trace, int column, int role) const
{
    const bool dropped = trace.verdict == FlowVerdict::dropped;
    if (role == Qt::FontRole && column == verdictColumn && dropped) {
        QFont font = QApplication::font();
        font.setBold(true);
        return font;
    }
    if (role == Qt::ForegroundRole && column == verdictColumn && dropped)
        return Style::tone(Style::Tone::error, QApplication::palette());
    if (role == Qt::DecorationRole && column == verdictColumn) {
        if (dropped)
            return Icons::symbol(QStringLiteral("xmark.circle"));
        if (trace.verdict == FlowVerdict::allowed)
            return Icons::symbol(QStringLiteral("checkmark.circle"));
        return {};
    }
    if (role == Qt::ToolTipRole) {
        if ((column == policyColumn && trace.policyInherited) || (column == natColumn && trace.natInherited))
            return inheritedNote(trace);
        if (column == timeColumn)
            return text(trace.time);
        if (column == verdictColumn && trace.verdictRecord >= 0 && trace.verdictRecord < trace.records.size())
            return text(trace.records.at(trace.verdictRecord).message);
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (Column(column)) {
    case traceColumn: {
        const QString id = trace.traceId < 0 ? QStringLiteral("#?") : QStringLiteral("#%1").arg(trace.traceId);
        return trace.chassis.isEmpty() ? id : QStringLiteral("[%1] %2").arg(text(trace.chassis), id);
    }
    case timeColumn: {
        // The time of day, as the terminal prints it: the date is in the tooltip.
        const qsizetype space = trace.time.lastIndexOf(' ');
        return text(space < 0 ? trace.time : trace.time.mid(space + 1));
    }
    case protocolColumn:
        return trace.received ? FlowText::protocolName(trace.protocol) : QString();
    case endpointsColumn:
        return trace.received ? FlowText::endpoint(trace.source) + arrow + FlowText::endpoint(trace.destination)
                              : QString();
    case interfaceColumn:
        if (trace.outInterface.isEmpty())
            return text(trace.inInterface);
        return text(trace.inInterface) + arrow + text(trace.outInterface);
    case sessionColumn:
        switch (trace.session) {
        case FlowTrace::Session::created:
            return QStringLiteral("new %1").arg(text(trace.sessionId));
        case FlowTrace::Session::existing:
            return trace.sessionDirection.isEmpty()
                       ? text(trace.sessionId)
                       : QStringLiteral("%1 (%2)").arg(text(trace.sessionId), text(trace.sessionDirection));
        case FlowTrace::Session::none:
            return QString();
        }
        break;
    case policyColumn: {
        if (!trace.policyId)
            return QString();
        QString policy = QString::number(*trace.policyId);
        if (trace.localInPolicy)
            policy += QStringLiteral(" local-in");
        return trace.policyInherited ? policy + QStringLiteral(" (inherited)") : policy;
    }
    case natColumn: {
        const QString nat = natText(trace);
        return trace.natInherited && !nat.isEmpty() ? nat + QStringLiteral(" (inherited)") : nat;
    }
    case verdictColumn: {
        const QString verdict = Enum::rawValue(trace.verdict);
        if (!dropped)
            return verdict;
        // "other" has no words of its own: the appliance's say why.
        const QString reason = trace.dropReason == FlowDropReason::other && trace.verdictRecord >= 0 &&
                                       trace.verdictRecord < trace.records.size()
                                   ? text(trace.records.at(trace.verdictRecord).message)
                                   : Enum::rawValue(trace.dropReason);
        return reason.isEmpty() || reason == verdict ? verdict : QStringLiteral("%1: %2").arg(verdict, reason);
    }
    case columnTotal:
        break;
    }
    return {};
}

QString FlowTableModel::inheritedNote(const FlowTrace &trace) const
{
    if (trace.inheritedFrom < 0 || trace.inheritedFrom >= m_count)
        return QStringLiteral("Taken from the packet that created the session.");
    const FlowTrace &first = this->trace(trace.inheritedFrom);
    return QStringLiteral("Taken from the packet that created the session, trace %1.")
        .arg(cell(first, traceColumn, Qt::DisplayRole).toString());
}

QVariant FlowTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList titles = {
        QStringLiteral("Trace"),    QStringLiteral("Time"),           QStringLiteral("Verdict"),
        QStringLiteral("Protocol"), QStringLiteral("From \u2192 To"), QStringLiteral("Interface"),
        QStringLiteral("Session"),  QStringLiteral("Policy"),         QStringLiteral("NAT")};
    return titles.value(section);
}

void FlowTableModel::clear()
{
    beginResetModel();
    m_chunks = {};
    m_count = 0;
    endResetModel();
}

void FlowTableModel::append(std::vector<FlowTrace> &&traces)
{
    if (traces.empty())
        return;
    beginInsertRows({}, int(m_count), int(m_count + qint64(traces.size())) - 1);
    for (FlowTrace &trace : traces) {
        if ((m_count >> chunkBits) >= qint64(m_chunks.size()))
            m_chunks.emplace_back().reserve(size_t(1) << chunkBits);
        m_chunks.back().push_back(std::move(trace));
        ++m_count;
    }
    endInsertRows();
}

qsizetype FlowTableModel::traceAtLine(qint64 line) const
{
    // The first trace that starts after line, by halves.
    qint64 low = 0;
    qint64 high = m_count;
    while (low < high) {
        const qint64 middle = (low + high) / 2;
        if (trace(middle).firstLine <= line)
            low = middle + 1;
        else
            high = middle;
    }
    return m_count == 0 ? -1 : qsizetype(std::max<qint64>(low - 1, 0));
}
