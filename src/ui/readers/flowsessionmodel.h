#pragma once

#include <QAbstractItemModel>
#include <QHash>

#include <vector>

class FlowTableModel;

// The packets of a FlowTableModel grouped by session: one parent per session (chassis and session id) in
// the order the sessions were first seen, its packets under it in the order read; the packets without
// a session together in a group of their own. Holds only the traces' indices.
class FlowSessionModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit FlowSessionModel(const FlowTableModel &traces, QObject *parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void clear();
    // Takes in the traces the table holds beyond those grouped so far.
    void update();
    // Where the trace is in the groups; invalid when not grouped yet.
    QModelIndex indexOfTrace(qsizetype trace, int column = 0) const;

private:
    struct Group {
        std::vector<quint32> traces;
        qint64 dropped = 0;
    };
    struct Place {
        quint32 group;
        quint32 row;
    };

    const FlowTableModel &m_traces;
    std::vector<Group> m_groups;
    QHash<QByteArray, quint32> m_groupOf; // chassis and session id, empty for none
    std::vector<Place> m_places;          // by trace
};
