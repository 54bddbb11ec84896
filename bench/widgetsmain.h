#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

// main() for a benchmark of widgets: offscreen unless QT_QPA_PLATFORM names another platform.
#define BRINDLECAP_WIDGETS_BENCHMARK_MAIN()                                                                            \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        benchmark::Initialize(&argc, argv);                                                                            \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                                            \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                                   \
        QApplication app(argc, argv);                                                                                  \
        benchmark::RunSpecifiedBenchmarks();                                                                           \
        benchmark::Shutdown();                                                                                         \
        return 0;                                                                                                      \
    }
