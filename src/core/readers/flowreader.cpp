#include "flowreader.h"

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
