#pragma once

#include "flowtrace.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

// Finds the traced packets in what `diagnose debug flow` printed, however it reached us: a terminal log
// with CRLF and prompts, a paste from a web page with its records wrapped, joined, cut short, indented,
// annotated or full of HTML entities and typographic quotes. Streaming: feed() any slices, finish() at
// the end. Each trace comes out once it is complete (or at finish()), in the order the traces started,
// with the policy and NAT of the trace that created its session where it shows an existing one. Only
// the open traces and one small entry per session are held. What cannot be used is a warning with its
// line number, never dropped silently; lines that are no trace record are counted, never read as one.
class FlowReader
{
public:
    struct Warning {
        qint64 line = 0;
        QString text;
    };
    struct Summary {
        qint64 lines = 0;
        qint64 records = 0;
        qint64 traces = 0;
        qint64 otherLines = 0; // prompts, echoed commands, sniffer lines, other debug output
        qint64 warnings = 0;
    };

    using TraceSink = std::function<void(FlowTrace &&)>;
    using WarningSink = std::function<void(const Warning &)>;

    FlowReader(TraceSink traces, WarningSink warnings);
    ~FlowReader();
    FlowReader(const FlowReader &) = delete;
    FlowReader &operator=(const FlowReader &) = delete;

    void feed(QByteArrayView text);
    void finish();
    const Summary &summary() const;

private:
    struct Private;
    Private *d;
};
