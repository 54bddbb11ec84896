#include "filtercheck/pcapfilter.h"

#include <benchmark/benchmark.h>

#include <string_view>

namespace {
// Addresses, networks and ports only: a host name would time DNS, not the check.
constexpr std::string_view filter =
    "tcp and (src host 10.0.0.1 or dst host 10.0.0.2) and net 192.168.10.0/24 and (dst port 80 or dst port 443 "
    "or dst port 8443) and not src port 22 and (host 172.16.5.4 or host 172.16.5.5) and not port 53";
static_assert(filter.size() == 200);
constexpr std::string_view shortFilter = "host 10.0.0.1 and port 443";

void check(benchmark::State &state, std::string_view expression)
{
    const QString text = QString::fromLatin1(expression.data(), qsizetype(expression.size()));
    if (!PcapFilter::compile(text).valid) {
        state.SkipWithError("the benchmark filter does not compile");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(PcapFilter::compile(text));
}
} // namespace

// Repetitions give the median the figure is quoted as.
BENCHMARK_CAPTURE(check, filter200, filter)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(check, short, shortFilter)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
