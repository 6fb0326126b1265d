#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace palisade::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
public:
    // Under parent, or the temporary folder.
    explicit ScratchFolder(const std::string& parent = "") {
        std::string pattern = ((parent.empty() ? std::filesystem::temp_directory_path()
                                               : std::filesystem::path(parent)) /
                               "palisade-test-XXXXXX");
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data()) != nullptr)
            path_ = buffer.data();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // The names of the entries in the folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    std::string path_;
};

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteWhole(const std::string& path, const std::string& bytes, bool append = false) {
    std::ofstream(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc)) << bytes;
}

// desktop-file-validate's verdict on a file: its exit status and whatever it printed; nothing
// when the tool is not installed.
struct Validation {
    int status = 0;
    std::string output;
};

inline bool HaveDesktopFileValidate() {
    return std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0;
}

inline Validation ValidateDesktopFile(const std::string& path) {
    ScratchFolder out;
    const std::string log = out / "log";
    const std::string command = "desktop-file-validate '" + path + "' >'" + log + "' 2>&1";
    Validation result;
    result.status = std::system(command.c_str());
    result.output = ReadWhole(log);
    return result;
}

} // namespace palisade::test
