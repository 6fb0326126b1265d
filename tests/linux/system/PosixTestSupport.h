#pragma once

#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace palisade::test {

// The names in a folder, sorted, without "." and "..".
std::vector<std::string> entriesOf(const std::string& folder);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> entries() const { return entriesOf(path_); }

private:
    std::string path_;
};

// Test-side file access with the plain library, independent of the code under test.
std::string slurp(const std::string& path);
void spit(const std::string& path, const std::string& bytes);
struct stat statOf(const std::string& path);
struct stat lstatOf(const std::string& path);

// Runs body in a forked child and returns its exit status: 0 for true, 1 for false, 2 when
// it threw, 77 when it reported that it cannot run here.
int runInChild(const std::function<bool()>& body);
inline constexpr int ChildCannotRun = 77;

} // namespace palisade::test
