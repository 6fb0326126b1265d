// Times Start Blocking with a long list against one append of the same lines to the same hosts
// file (one open, one write, one flush to the disk, one close). The start writes its lines in one
// append as well, after its snapshot, its reads and its journal: the goal is at most three times
// the plain append. Plain timing rather than the benchmark library, so that the Windows build
// runs it too, under Wine (make bench does, through scripts/wine-run).
#include "QuietPorts.h"
#include "blocking/HostsBlocker.h"
#include "blocking/HostsText.h"
#include "common/AppState.h"
#include "ui/model/Form1Controls.h"

#ifdef _WIN32
#include "windows/system/GlobalMutexLock.h"
#include "windows/system/Win32FileSystem.h"
#include "windows/system/Win32SystemInfo.h"

#include <windows.h>
#else
#include "linux/system/FolderLock.h"
#include "linux/system/PosixFileSystem.h"
#include "linux/system/PosixSystemInfo.h"

#include <fcntl.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace {

using namespace palisade;
using namespace palisade::bench;
using Clock = std::chrono::steady_clock;

#ifdef _WIN32
using PlatformFileSystem = Win32FileSystem;
using PlatformSystemInfo = Win32SystemInfo;
using PlatformLock = GlobalMutexLock;
const std::string LineEnd = "\r\n";

void AppendOnce(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::FlushFileBuffers(file);
    ::CloseHandle(file);
}
#else
using PlatformFileSystem = PosixFileSystem;
using PlatformSystemInfo = PosixSystemInfo;
using PlatformLock = FolderLock;
const std::string LineEnd = "\n";

void AppendOnce(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::fsync(fd);
    ::close(fd);
}
#endif

const std::string Original = "127.0.0.1 localhost" + LineEnd + "::1 localhost" + LineEnd;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class Scene {
public:
    explicit Scene(const std::filesystem::path& parent) {
        std::random_device random;
        folder_ = parent / ("palisade-start-bench-" + std::to_string(random()));
        std::filesystem::create_directories(folder_ / "data");
    }
    ~Scene() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    std::string hosts() const { return (folder_ / "hosts").string(); }
    std::string data() const { return (folder_ / "data").string(); }

    // The hosts file as before any start, and no snapshot.
    void reset() const {
        std::filesystem::remove(folder_ / "data" / "hosts");
        std::ofstream(hosts(), std::ios::binary | std::ios::trunc) << Original;
    }
    std::string read() const {
        std::ifstream in(hosts(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path folder_;
};

// Milliseconds of one Start Blocking, checked to have written exactly lines.
double TimeStart(const Scene& scene, const std::vector<std::string>& sites,
                 const std::string& lines) {
    HostsBenchPorts<PlatformFileSystem, PlatformSystemInfo, PlatformLock> quiet;
    Form1Controls controls;
    AppState state;
    state.DataFolder = scene.data();
    state.UserIsAdmin = true;
    for (const auto& site : sites)
        controls.ListView1.add(site);
    controls.PushButton2.setCaption(std::string(StopBlockingCaption));
    HostsBlocker blocker(quiet.ports, controls, state, FixedHostsPaths(scene.hosts()));

    scene.reset();
    const auto started = Clock::now();
    blocker.StartBlocking(false);
    const double took = Milliseconds(Clock::now() - started);
    if (quiet.dialogs.shown != 0 || scene.read() != Original + lines) {
        std::fprintf(stderr, "the start did not write the lines it should\n");
        std::exit(1);
    }
    return took;
}

double TimeOneAppend(const Scene& scene, const std::string& lines) {
    scene.reset();
    const auto started = Clock::now();
    AppendOnce(scene.hosts(), lines);
    return Milliseconds(Clock::now() - started);
}

} // namespace

// Usage: hosts_start_bench [FOLDER]: the scratch files go there, by default in the temporary
// folder (a folder in memory, such as /dev/shm, leaves out the disk's flushes).
int main(int argc, char** argv) {
    const std::filesystem::path parent =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    constexpr int Runs = 5;
    std::printf("Start Blocking against one append of the same lines in %s (median of %d runs; "
                "goal: at most 3 times)\n%10s %12s %12s %8s\n",
                parent.string().c_str(), Runs, "entries", "start", "one append", "ratio");
    bool met = true;
    for (const int entries : {20000, 200000}) {
        std::vector<std::string> sites;
        std::string lines;
        for (int i = 0; i < entries; ++i) {
            sites.push_back("site" + std::to_string(i) + ".example.com");
            lines += std::string(BlockLinePrefix) + sites.back() + LineEnd;
        }
        Scene scene(parent);
        std::vector<double> starts;
        std::vector<double> appends;
        for (int run = 0; run < Runs; ++run) {
            starts.push_back(TimeStart(scene, sites, lines));
            appends.push_back(TimeOneAppend(scene, lines));
        }
        const double start = Median(starts);
        const double append = Median(appends);
        std::printf("%10d %9.1f ms %9.1f ms %8.2f\n", entries, start, append, start / append);
        met = met && start <= 3 * append;
    }
    std::printf("%s\n", met ? "goal met" : "goal NOT met");
    return 0;
}
