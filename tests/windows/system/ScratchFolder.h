#pragma once

#include <string>
#include <vector>

namespace palisade::test {

// A fresh folder under the Windows temporary folder, removed with everything in it (read-only
// and hidden files too) when the test ends.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() + "\" + name
    std::string file(const std::string& name) const;
    // The names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

// Test-side file access that does not go through the code under test.
std::string ReadWhole(const std::string& path);
void WriteWhole(const std::string& path, const std::string& bytes);

} // namespace palisade::test
