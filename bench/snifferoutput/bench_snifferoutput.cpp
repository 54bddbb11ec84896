// The reader views reading a large log from a file, as the user opens one: the time until the first
// rows are in the table, the worst lateness of a 10 ms timer on the UI thread while it reads (what the
// user feels as a freeze), how long a search holds the UI thread, and the peak memory. Goals: first rows
// within 1 s, lateness under 50 ms.
// - BM_ReadLargeLog: the Sniffer Output view on a verbose-6 log of 200 MB made here
//   (BRINDLECAP_BENCH_LOG_MB sets another size; BRINDLECAP_BENCH_LOG names a log to read instead, such
//   as bench/sniffer's mixed one: brindlecap-bench-sniffer-log 200 /tmp/sniffer.log /tmp/sniffer.od).
// - BM_ReadLargeFlowLog: the Debug Flow Output view on BRINDLECAP_BENCH_FLOW_LOG, made with
//   brindlecap-bench-flow-log 100 /tmp/flow.log.
// Run: build/bench/bench/snifferoutput/bench_snifferoutput (offscreen unless QT_QPA_PLATFORM is set).

#include "readers/flowoutputview.h"
#include "readers/snifferoutputview.h"

#include "widgetsmain.h"

#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {
// Packets as FortiOS 7 prints them on "any" at verbose 6 with absolute times: a TCP exchange across
// two interfaces, with the banner, a debug line now and then, and the counters at the end.
QByteArray packet(qint64 n)
{
    static const QByteArrayList hex = {
        "0x0000\t 0000 0000 0001 000c 29cb 0575 0800 4500\t........)..u..E.\r\n",
        "0x0010\t 0034 8b2c 4000 4006 9a3e 0a00 0001 c0a8\t.4.,@.@..>......\r\n",
        "0x0020\t 010a c350 01bb 3b9a ca00 7735 9400 8018\t...P..;...w5....\r\n",
        "0x0030\t 01f5 4c2d 0000 0101 080a 0025 6d3a 0009\t..L-.......%m:..\r\n",
        "0x0040\t 1c2e                                    \t..\r\n",
    };
    const qint64 micros = 1435078812184010 + n * 137;
    QByteArray text = QByteArray::number(micros / 1000000 % 60).rightJustified(2, '0');
    text = "2015-06-23 17:" + QByteArray::number(micros / 60000000 % 60).rightJustified(2, '0') + ':' + text + '.' +
           QByteArray::number(micros % 1000000).rightJustified(6, '0') + (n % 2 ? " port1 in " : " wan1 out ") +
           "10.0.0.1.50000 -> 192.168.1.10.443: psh " + QByteArray::number(1000 + n) + " ack 3631359721 \r\n";
    for (const QByteArray &line : hex)
        text += line;
    if (n % 5000 == 0)
        text += "PPP send: LCP Echo_Request id(13)\r\n";
    return text + "\r\n";
}

QString makeLog(const QTemporaryDir &dir, qint64 bytes)
{
    const QString path = dir.filePath(QStringLiteral("sniffer.log"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QByteArray chunk = "FGT60F (root) # diagnose sniffer packet any 'port 443' 6 0 a\r\r\n"
                       "Using Original Sniffing Mode\r\ninterfaces=[any]\r\nfilters=[port 443]\r\n";
    for (qint64 n = 0; file.size() + chunk.size() < bytes; ++n) {
        chunk += packet(n);
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk + "\r\n1234 packets received by filter\r\n0 packets dropped by kernel\r\n");
    return path;
}

// The peak resident memory of this process so far, in MB: run one benchmark at a time
// (--benchmark_filter) for a view's own.
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return -1;
}

// Reads the log at path into a new View as the user opens one, then searches for text.
template <typename View> void measure(benchmark::State &state, const QString &path, const QString &text)
{
    qint64 firstRows = -1;
    qint64 worstLate = 0;
    qint64 packets = 0;
    qint64 searchMs = 0;
    for (auto _ : state) {
        View view;
        view.resize(1100, 800);
        view.show();
        QApplication::processEvents();
        QAbstractItemModel *model = view.template findChild<QTableView *>()->model();
        QElapsedTimer clock;
        QObject::connect(model, &QAbstractItemModel::rowsInserted, &view, [&] {
            if (firstRows < 0)
                firstRows = clock.elapsed();
        });
        QElapsedTimer sinceTick;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &view, [&] {
            worstLate = std::max(worstLate, sinceTick.elapsed() - 10);
            sinceTick.start();
        });
        tick.setTimerType(Qt::PreciseTimer);
        tick.start(10);
        sinceTick.start();
        clock.start();
        view.readFile(path);
        while (view.isReading())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        state.SetIterationTime(double(clock.elapsed()) / 1000);
        packets = model->rowCount();
        tick.stop();
        auto *search = view.template findChild<QLineEdit *>(QStringLiteral("search"));
        QElapsedTimer searching;
        searching.start();
        search->setText(text);
        (void)QTest::qWaitFor([&] { return model->rowCount() < packets; }, 10000);
        searchMs = searching.elapsed();
        search->clear();
    }
    state.counters["log_MB"] = double(QFileInfo(path).size() >> 20);
    state.counters["packets"] = double(packets);
    state.counters["first_rows_ms"] = double(firstRows);
    state.counters["worst_late_ms"] = double(worstLate);
    // Includes the pause a search may wait for after the last keystroke.
    state.counters["search_ms"] = double(searchMs);
    state.counters["peak_MB"] = peakMegabytes();
}

qint64 logMegabytes()
{
    return qEnvironmentVariableIsSet("BRINDLECAP_BENCH_LOG_MB")
               ? qEnvironmentVariableIntValue("BRINDLECAP_BENCH_LOG_MB")
               : 200;
}

void BM_ReadLargeLog(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString given = qEnvironmentVariable("BRINDLECAP_BENCH_LOG");
    const QString path = given.isEmpty() ? makeLog(dir, logMegabytes() << 20) : given;
    if (path.isEmpty())
        return state.SkipWithError("could not write the log");
    measure<SnifferOutputView>(state, path, QStringLiteral("PSH 100"));
}

// The Debug Flow Output view on a log from brindlecap-bench-flow-log, named by BRINDLECAP_BENCH_FLOW_LOG.
void BM_ReadLargeFlowLog(benchmark::State &state)
{
    const QString path = qEnvironmentVariable("BRINDLECAP_BENCH_FLOW_LOG");
    if (path.isEmpty())
        return state.SkipWithError("set BRINDLECAP_BENCH_FLOW_LOG to a log made by brindlecap-bench-flow-log");
    measure<FlowOutputView>(state, path, QStringLiteral("443"));
}
BENCHMARK(BM_ReadLargeFlowLog)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();
BENCHMARK(BM_ReadLargeLog)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();
} // namespace

BRINDLECAP_WIDGETS_BENCHMARK_MAIN()
