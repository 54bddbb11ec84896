#pragma once

#include "flowtrace.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <functional>

class QIODevice;

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

    // The whole input read in slices (never all of it at once), for the window and the terminal alike.
    struct Result {
        enum class Outcome { read, noRecords, readFailed, cancelled };
        Outcome outcome = Outcome::noRecords;
        Summary summary;
        QString message; // why, in one sentence, when not read
    };
    struct Callbacks {
        TraceSink trace;
        WarningSink warning;
        std::function<void(qint64 bytesRead)> progress; // after each slice
        const std::atomic_bool *cancel = nullptr;       // checked between slices: set it to stop
    };
    static Result read(QIODevice &input, const Callbacks &callbacks);

private:
    struct Private;
    Private *d;
};
