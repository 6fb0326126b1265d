// Times re-applying blocking at start-up when the hosts file already holds every line, beside a
// plain read of the same hosts file: the work has to stay in proportion to the list and the file.
#include "QuietPorts.h"
#include "blocking/HostsBlocker.h"
#include "blocking/HostsText.h"
#include "common/AppState.h"
#include "linux/system/FolderLock.h"
#include "linux/system/PosixFileSystem.h"
#include "linux/system/PosixSystemInfo.h"
#include "linux/system/ScratchFolder.h"
#include "ui/model/Form1Controls.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>

namespace {

using namespace palisade;

using namespace palisade::bench;

std::string Site(std::int64_t i) {
    return "site" + std::to_string(i) + ".example.com";
}

// A scratch folder with a hosts file of `entries` block lines after a few system lines, and a
// data folder holding the snapshot of an earlier start.
class Scene {
public:
    explicit Scene(std::int64_t entries) {
        std::filesystem::create_directories(dataFolder());
        std::ofstream(dataFolder() + "/hosts") << "127.0.0.1 localhost\n";
        std::ofstream hosts(hostsPath(), std::ios::binary);
        hosts << "127.0.0.1 localhost\n::1 localhost ip6-localhost\n";
        for (std::int64_t i = 0; i < entries; ++i)
            hosts << BlockLinePrefix << Site(i) << '\n';
    }
    std::string hostsPath() const { return folder_ / "hosts"; }
    std::string dataFolder() const { return folder_ / "data"; }

private:
    test::ScratchFolder folder_;
};

void BM_ReadHostsFile(benchmark::State& state) {
    Scene scene(state.range(0));
    PosixFileSystem fs;
    for (auto _ : state) {
        std::string bytes = fs.readFile(scene.hostsPath());
        benchmark::DoNotOptimize(bytes);
    }
}

// The list in the order of the hosts file's lines (as a start wrote them), or in reverse.
void ReapplyBlocking(benchmark::State& state, bool reversed) {
    Scene scene(state.range(0));
    HostsBenchPorts<PosixFileSystem, PosixSystemInfo, FolderLock> quiet;
    Form1Controls controls;
    AppState appState;
    appState.DataFolder = scene.dataFolder();
    appState.UserIsAdmin = true;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        controls.ListView1.add(Site(reversed ? state.range(0) - 1 - i : i));
    HostsBlocker blocker(quiet.ports, controls, appState, FixedHostsPaths(scene.hostsPath()));
    const std::string before = quiet.fs.readFile(scene.hostsPath());

    for (auto _ : state)
        blocker.StartBlocking(true);

    if (quiet.fs.readFile(scene.hostsPath()) != before || quiet.dialogs.shown != 0)
        state.SkipWithError("the re-apply changed the hosts file or showed a message");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReapplyBlocking(benchmark::State& state) {
    ReapplyBlocking(state, false);
}

void BM_ReapplyBlockingListReversed(benchmark::State& state) {
    ReapplyBlocking(state, true);
}

BENCHMARK(BM_ReadHostsFile)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReapplyBlocking)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReapplyBlockingListReversed)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
