#pragma once

#include "readers/flowtrace.h"

#include <QByteArrayList>
#include <QSortFilterProxyModel>

class FlowTableModel;

// Shows the packets a search finds, in the table or the grouped view (a group shows with the packets of
// it found). Each word of the search must be found in a packet: a number as a whole port or policy id,
// or as the start of an address up to a dot or colon; other words as the start of an address or of an
// interface's name, in any case.
class FlowSearchProxy : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    FlowSearchProxy(const FlowTableModel &traces, QObject *parent = nullptr);

    void setSearchText(const QString &text);
    bool isSearching() const { return !m_words.isEmpty(); }
    static bool matches(const FlowTrace &trace, const QByteArrayList &words);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    const FlowTableModel &m_traces;
    QByteArrayList m_words;
};
