// Reading a debug-flow log, side by side with merely splitting the same file into lines in two ways:
// the least any reading must do (the reader's own splitter, in the same slices, giving views that are
// never copied), and the way a Qt program commonly reads lines (QIODevice::readLine, a QByteArray per
// line). Each the best of RUNS runs, interleaved, in wall-clock and in CPU time (the machine may be busy
// with other work, and the CPU time tells what the code costs then). The goal: reading within 4 times
// the split.
//
// Usage: brindlecap-bench-flow-read LOG [RUNS]    both, and the ratio
//        brindlecap-bench-flow-read LOG --read    one reading only, for its peak memory under /usr/bin/time
// The last line, "traces=N dropped=D", is what throughput.sh checks against what the generator wrote.

#include "readers/flowreader.h"
#include "readers/textlines.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>

namespace {

struct Time {
    double wall = 0, cpu = 0;
    void best(const Time &t, bool first)
    {
        wall = first ? t.wall : std::min(wall, t.wall);
        cpu = first ? t.cpu : std::min(cpu, t.cpu);
    }
};

class Clock
{
public:
    Clock()
        : m_cpu(std::clock())
    {
        m_wall.start();
    }
    Time elapsed() const
    {
        return {double(m_wall.nsecsElapsed()) / 1e9, double(std::clock() - m_cpu) / CLOCKS_PER_SEC};
    }

private:
    QElapsedTimer m_wall;
    std::clock_t m_cpu;
};

struct Counts {
    qint64 lines = 0, traces = 0, dropped = 0, warnings = 0, records = 0, otherLines = 0;
};

bool open(QFile &file)
{
    if (file.open(QIODevice::ReadOnly))
        return true;
    std::fprintf(stderr, "cannot read %s: %s\n", qPrintable(file.fileName()), qPrintable(file.errorString()));
    return false;
}

// Times countLines(file) on the file at path, for the lines in counts.
template <typename CountLines> std::optional<Time> timeSplit(const QString &path, Counts &counts, CountLines countLines)
{
    QFile file(path);
    if (!open(file))
        return {};
    const Clock clock;
    const qint64 lines = countLines(file);
    const Time time = clock.elapsed();
    counts.lines = lines;
    return time;
}

// The slices are those FlowReader::read takes, so that the two differ only in what is done with them.
qint64 splitIntoViews(QFile &file)
{
    qint64 lines = 0;
    const auto count = [&](QByteArrayView) { ++lines; };
    TextLines splitter(1 << 20); // the reader's longest line
    QByteArray slice(1 << 20, Qt::Uninitialized);
    for (qint64 got; (got = file.read(slice.data(), slice.size())) > 0;)
        splitter.feed(QByteArrayView(slice.constData(), got), count);
    splitter.finish(count);
    return lines;
}

qint64 splitByReadLine(QFile &file)
{
    qint64 lines = 0;
    while (!file.atEnd())
        lines += !file.readLine().isNull();
    return lines;
}

std::optional<Time> read(const QString &path, Counts &counts)
{
    QFile file(path);
    if (!open(file))
        return {};
    const Clock clock;
    Counts c;
    FlowReader::Callbacks callbacks;
    callbacks.trace = [&](FlowTrace &&t) { // kept nowhere: only the reading is measured
        ++c.traces;
        c.dropped += t.verdict == FlowVerdict::dropped;
    };
    callbacks.warning = [&](const FlowReader::Warning &) { ++c.warnings; };
    const FlowReader::Result result = FlowReader::read(file, callbacks);
    const Time time = clock.elapsed();
    if (result.outcome != FlowReader::Result::Outcome::read) {
        std::fprintf(stderr, "the reading failed: %s\n", qPrintable(result.message));
        return {};
    }
    c.lines = result.summary.lines;
    c.records = result.summary.records;
    c.otherLines = result.summary.otherLines;
    counts = c;
    return time;
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray mode = argc == 3 ? QByteArray(argv[2]) : QByteArray("3");
    const int runs = mode == "--read" ? 1 : mode.toInt();
    if (argc < 2 || argc > 3 || runs < 1) {
        std::fprintf(stderr, "usage: %s LOG [RUNS | --read]\n", argv[0]);
        return 2;
    }
    const QString path = QFile::decodeName(argv[1]);
    const double megabytes = double(QFile(path).size()) / 1e6;
    Counts splitCounts, lineCounts, readCounts;
    Time bestSplit, bestLines, bestRead;
    for (int run = 0; run < runs; ++run) {
        if (mode != "--read") {
            const auto s = timeSplit(path, splitCounts, splitIntoViews);
            if (!s)
                return 1;
            bestSplit.best(*s, run == 0);
            const auto l = timeSplit(path, lineCounts, splitByReadLine);
            if (!l)
                return 1;
            bestLines.best(*l, run == 0);
        }
        const auto r = read(path, readCounts);
        if (!r)
            return 1;
        bestRead.best(*r, run == 0);
    }
    std::printf("%.1f MB, %lld lines: %lld records, %lld other lines, %lld traces, %lld warnings\n", megabytes,
                readCounts.lines, readCounts.records, readCounts.otherLines, readCounts.traces, readCounts.warnings);
    if (mode != "--read") {
        std::printf("%-30s %10s %10s %10s %10s\n", "", "wall s", "MB/s", "CPU s", "MB/s");
        const auto row = [&](const char *name, const Time &t) {
            std::printf("%-30s %10.3f %10.1f %10.3f %10.1f\n", name, t.wall, megabytes / t.wall, t.cpu,
                        megabytes / t.cpu);
        };
        row("split into views (TextLines)", bestSplit);
        row("split by QIODevice::readLine", bestLines);
        row("FlowReader::read", bestRead);
        std::printf("read / views: %.1f wall, %.1f CPU; read / readLine: %.1f wall, %.1f CPU (goal: at most 4); "
                    "best of %d runs; %lld and %lld lines split\n",
                    bestRead.wall / bestSplit.wall, bestRead.cpu / bestSplit.cpu, bestRead.wall / bestLines.wall,
                    bestRead.cpu / bestLines.cpu, runs, splitCounts.lines, lineCounts.lines);
    }
    std::printf("traces=%lld dropped=%lld\n", readCounts.traces, readCounts.dropped);
    return 0;
}
