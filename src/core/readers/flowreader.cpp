#include "flowreader.h"

#include <QIODevice>

// Placeholder until the reader lands: reads nothing.
struct FlowReader::Private {
    TraceSink traces;
    WarningSink warnings;
    Summary summary;
};

FlowReader::FlowReader(TraceSink traces, WarningSink warnings)
    : d(new Private{std::move(traces), std::move(warnings), {}})
{
}

FlowReader::~FlowReader()
{
    delete d;
}

void FlowReader::feed(QByteArrayView) {}

void FlowReader::finish() {}

const FlowReader::Summary &FlowReader::summary() const
{
    return d->summary;
}

FlowReader::Result FlowReader::read(QIODevice &input, const Callbacks &callbacks)
{
    constexpr qint64 sliceSize = 1 << 20;
    Result result;
    FlowReader reader(callbacks.trace, callbacks.warning);
    QByteArray slice;
    qint64 done = 0;
    for (;;) {
        if (callbacks.cancel && callbacks.cancel->load()) {
            result.outcome = Result::Outcome::cancelled;
            result.summary = reader.summary();
            result.message = QStringLiteral("The reading was cancelled.");
            return result;
        }
        slice.resize(sliceSize);
        const qint64 got = input.read(slice.data(), sliceSize);
        if (got < 0) {
            result.outcome = Result::Outcome::readFailed;
            result.summary = reader.summary();
            result.message = QStringLiteral("The text could not be read: %1.").arg(input.errorString());
            return result;
        }
        if (got == 0 && (input.atEnd() || !input.isSequential() || !input.waitForReadyRead(-1)))
            break;
        done += got;
        reader.feed(QByteArrayView(slice.constData(), got));
        if (callbacks.progress)
            callbacks.progress(done);
    }
    reader.finish();
    result.summary = reader.summary();
    if (result.summary.records > 0) {
        result.outcome = Result::Outcome::read;
    } else {
        result.outcome = Result::Outcome::noRecords;
        result.message = QStringLiteral("No debug-flow trace record was found: paste what `diagnose debug flow "
                                        "trace start` printed, the lines with trace_id= and msg=.");
    }
    return result;
}
