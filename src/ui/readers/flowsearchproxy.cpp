#include "flowsearchproxy.h"

#include "flowtablemodel.h"

#include <QLatin1StringView>

namespace {
bool startsWith(const QByteArray &text, const QByteArray &word)
{
    return QLatin1StringView(text).startsWith(QLatin1StringView(word), Qt::CaseInsensitive);
}

bool isNumber(const QByteArray &word)
{
    return std::ranges::all_of(word, [](char c) { return c >= '0' && c <= '9'; });
}

bool addressMatches(const QByteArray &address, const QByteArray &word, bool number)
{
    if (!startsWith(address, word))
        return false;
    // "10" is 10.x.x.x, not 100.x.x.x.
    return !number || address.size() == word.size() || address.at(word.size()) == '.' || address.at(word.size()) == ':';
}

bool portIs(const FlowEndpoint &endpoint, qint64 port)
{
    return endpoint.port && *endpoint.port == port;
}
} // namespace

FlowSearchProxy::FlowSearchProxy(const FlowTableModel &traces, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_traces(traces)
{
    setRecursiveFilteringEnabled(true);
}

void FlowSearchProxy::setSearchText(const QString &text)
{
    QByteArrayList words;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts))
        words << word.toUtf8();
    if (words == m_words)
        return;
    m_words = words;
    // One new layout rather than a removal per range of rows left out: with a hundred thousand rows,
    // the views would take seconds over those.
    invalidate();
}

bool FlowSearchProxy::matches(const FlowTrace &trace, const QByteArrayList &words)
{
    const auto found = [&trace](const QByteArray &word) {
        const bool number = isNumber(word);
        if (number) {
            bool ok = false;
            const qint64 value = word.toLongLong(&ok);
            if (ok && (portIs(trace.source, value) || portIs(trace.destination, value) ||
                       (trace.snat && portIs(*trace.snat, value)) || (trace.dnat && portIs(*trace.dnat, value)) ||
                       trace.policyId == value))
                return true;
        }
        for (const FlowEndpoint *endpoint : {&trace.source, &trace.destination})
            if (addressMatches(endpoint->address, word, number))
                return true;
        for (const auto &endpoint : {trace.snat, trace.dnat})
            if (endpoint && addressMatches(endpoint->address, word, number))
                return true;
        if (addressMatches(trace.gateway, word, number))
            return true;
        return !number && (startsWith(trace.inInterface, word) || startsWith(trace.outInterface, word));
    };
    return std::ranges::all_of(words, found);
}

bool FlowSearchProxy::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_words.isEmpty())
        return true;
    const qlonglong trace =
        sourceModel()->index(sourceRow, 0, sourceParent).data(FlowTableModel::traceRole).toLongLong();
    // A group shows through the packets of it found.
    return trace >= 0 && matches(m_traces.trace(trace), m_words);
}
