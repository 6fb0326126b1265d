// Times one settings write while a long site list is saved: what every keystroke in the password
// box and every option click costs. The store works in a scratch folder, never the user's own.
#include "linux/system/QSettingsStore.h"
#include "linux/system/ScratchFolder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using palisade::test::ScratchFolder;

const std::string App = "Quillmoor";
const std::string Section = "Palisade Software";

std::string SiteList(std::int64_t sites) {
    std::string list;
    for (std::int64_t i = 0; i < sites; ++i)
        list += "site" + std::to_string(i) + ".example.com||My_Separator||";
    return list;
}

void BM_SettingsWriteWithSitesSaved(benchmark::State& state) {
    ScratchFolder folder;
    if (folder.path().empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    palisade::QSettingsStore store(folder.path());
    store.write(App, Section, "Blocked Websites", SiteList(state.range(0)));
    for (const char* key : {"Windows Startup", "Minimized", "Block Administrator"})
        store.write(App, Section, key, "Off");
    store.write(App, Section, "BlockOnStart", "0");

    state.SetLabel("goal: under 5 ms");
    std::string password;
    for (auto _ : state) {
        password.push_back('x'); // one keystroke more each time
        store.write(App, Section, "Password", password);
    }
}

void BM_SiteListSave(benchmark::State& state) {
    ScratchFolder folder;
    palisade::QSettingsStore store(folder.path());
    const std::string list = SiteList(state.range(0));
    for (auto _ : state)
        store.write(App, Section, "Blocked Websites", list);
}

BENCHMARK(BM_SettingsWriteWithSitesSaved)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SiteListSave)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
