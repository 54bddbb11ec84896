// One keystroke in the Sniffer form's Host field: from the key event until the Generated Command panel
// shows the new text (the form's rule, its advice on every field, the filter preview; libpcap's check
// runs on a thread of its own and is not waited for). 1,000 keystrokes, a character typed and then
// erased in turn; the median and the worst are reported, in microseconds.
// Run: build/bench/bench/keystroke/bench_keystroke (offscreen unless QT_QPA_PLATFORM is set).

#include "builders/snifferview.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "model/settingsstorage.h"
#include "output/commandoutputview.h"

#include "widgetsmain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <vector>

namespace {
void BM_SnifferKeystroke(benchmark::State &state)
{
    QTemporaryDir dir;
    SettingsStorage storage(dir.filePath(QStringLiteral("settings.conf")));
    CommandStore store(storage);
    InterfaceStore interfaces(storage);
    SnifferView view(store, interfaces);
    view.resize(1000, 800);
    view.show();
    auto *host = view.findChild<QLineEdit *>(QStringLiteral("host"));
    host->setFocus();
    QTest::keyClicks(host, QStringLiteral("10.0.0."));
    QApplication::processEvents();
    std::vector<qint64> nanoseconds;
    for (auto _ : state) {
        nanoseconds.clear();
        for (int i = 0; i < 1000; ++i) {
            QElapsedTimer clock;
            clock.start();
            if (i % 2 == 0)
                QTest::keyClick(host, Qt::Key_1);
            else
                QTest::keyClick(host, Qt::Key_Backspace);
            nanoseconds.push_back(clock.nsecsElapsed());
            benchmark::DoNotOptimize(view.output()->command().size());
        }
        QApplication::processEvents();
    }
    std::sort(nanoseconds.begin(), nanoseconds.end());
    state.counters["median_us"] = double(nanoseconds.at(nanoseconds.size() / 2)) / 1000;
    state.counters["worst_us"] = double(nanoseconds.back()) / 1000;
}
BENCHMARK(BM_SnifferKeystroke)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
} // namespace

BRINDLECAP_WIDGETS_BENCHMARK_MAIN()
