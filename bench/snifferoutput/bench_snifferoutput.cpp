// The Sniffer Output view reading a large verbose-6 log from a file, as the user opens one: the time
// until the first rows are in the table, and the worst lateness of a 10 ms timer on the UI thread while
// it reads (what the user feels as a freeze), and then how long a search of every header holds the UI
// thread. Goals: first rows within 1 s, lateness under 50 ms, for a
// 200 MB log. BRINDLECAP_BENCH_LOG_MB sets another size of the log made here; BRINDLECAP_BENCH_LOG names
// a log to read instead, such as bench/sniffer's mixed one:
//   brindlecap-bench-sniffer-log 200 /tmp/sniffer.log /tmp/sniffer.od
// Run: build/bench/bench/snifferoutput/bench_snifferoutput (offscreen unless QT_QPA_PLATFORM is set).

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

void BM_ReadLargeLog(benchmark::State &state)
{
    QTemporaryDir dir;
    const qint64 megabytes = qEnvironmentVariableIsSet("BRINDLECAP_BENCH_LOG_MB")
                                 ? qEnvironmentVariableIntValue("BRINDLECAP_BENCH_LOG_MB")
                                 : 200;
    const QString given = qEnvironmentVariable("BRINDLECAP_BENCH_LOG");
    const QString path = given.isEmpty() ? makeLog(dir, megabytes << 20) : given;
    if (path.isEmpty()) {
        state.SkipWithError("could not write the log");
        return;
    }
    qint64 firstRows = -1;
    qint64 worstLate = 0;
    qint64 packets = 0;
    qint64 searchMs = 0;
    for (auto _ : state) {
        SnifferOutputView view;
        view.resize(1100, 800);
        view.show();
        QApplication::processEvents();
        QAbstractItemModel *model = view.findChild<QTableView *>()->model();
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
        auto *search = view.findChild<QLineEdit *>(QStringLiteral("search"));
        search->setText(QStringLiteral("PSH 100"));
        QElapsedTimer searching;
        searching.start();
        QTest::qWaitFor([&] { return model->rowCount() < packets; }, 10000);
        searchMs = searching.elapsed() - 200; // less the pause the search waits for
        search->clear();
    }
    state.counters["log_MB"] = double(QFileInfo(path).size() >> 20);
    state.counters["packets"] = double(packets);
    state.counters["first_rows_ms"] = double(firstRows);
    state.counters["worst_late_ms"] = double(worstLate);
    state.counters["search_ms"] = double(searchMs);
}
BENCHMARK(BM_ReadLargeLog)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();
} // namespace

BRINDLECAP_WIDGETS_BENCHMARK_MAIN()
