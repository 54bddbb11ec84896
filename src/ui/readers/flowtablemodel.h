#pragma once

#include "readers/flowtrace.h"

#include <QAbstractTableModel>

#include <vector>

// The traced packets read so far, one row each, in the order their traces started. They come from the
// reading thread in batches, moved in, and are kept in chunks that never move, so that appending to a
// million rows costs what the batch costs. The cells are worded here for this table and the grouped
// view alike, from the core's words.
class FlowTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        traceColumn,
        timeColumn,
        // Early, so that the verdict is in sight without scrolling.
        verdictColumn,
        protocolColumn,
        endpointsColumn,
        interfaceColumn,
        sessionColumn,
        policyColumn,
        natColumn,
        columnTotal
    };
    // The index of the trace a row shows (qlonglong), -1 on a row that shows none.
    static constexpr int traceRole = Qt::UserRole + 1;

    explicit FlowTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void clear();
    void append(std::vector<FlowTrace> &&traces);
    qint64 traceCount() const { return m_count; }
    const FlowTrace &trace(qsizetype index) const
    {
        return m_chunks[size_t(index >> chunkBits)][size_t(index & ((1 << chunkBits) - 1))];
    }
    // A cell of the trace, for any view of these traces.
    QVariant cell(const FlowTrace &trace, int column, int role) const;
    // The trace that line is part of, or follows: the last that starts at line or before it.
    qsizetype traceAtLine(qint64 line) const;

private:
    static constexpr int chunkBits = 14;
    QString inheritedNote(const FlowTrace &trace) const;

    std::vector<std::vector<FlowTrace>> m_chunks;
    qint64 m_count = 0;
};
