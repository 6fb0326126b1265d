// Times saving and restoring a large site list, the work the window does at close and start.
#include "sitelist/SiteList.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using palisade::ListView;

void Fill(ListView& list, std::int64_t entries) {
    for (std::int64_t i = 0; i < entries; ++i)
        list.add("site" + std::to_string(i) + ".example.com");
}

void BM_SaveSiteList(benchmark::State& state) {
    ListView list("ListView1", {}, 0);
    Fill(list, state.range(0));
    for (auto _ : state) {
        std::string stored = palisade::SerializeSiteList(list);
        benchmark::DoNotOptimize(stored);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RestoreSiteList(benchmark::State& state) {
    ListView source("ListView1", {}, 0);
    Fill(source, state.range(0));
    const std::string stored = palisade::SerializeSiteList(source);
    for (auto _ : state) {
        ListView list("ListView1", {}, 0);
        palisade::RestoreSiteList(list, stored);
        benchmark::DoNotOptimize(list.count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_SaveSiteList)->Arg(1000)->Arg(32767)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RestoreSiteList)->Arg(1000)->Arg(32767)->Arg(200000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
