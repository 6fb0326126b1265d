#include "ScratchFolder.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <windows.h>

namespace palisade::test {

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data{};
    HANDLE found = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (found != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = folder + "\\" + name;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileA(child.c_str());
        } while (::FindNextFileA(found, &data));
        ::FindClose(found);
    }
    ::RemoveDirectoryA(folder.c_str());
}

} // namespace

ScratchFolder::ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    char temp[MAX_PATH + 1];
    const DWORD n = ::GetTempPathA(sizeof temp, temp);
    if (n == 0 || n > MAX_PATH)
        throw std::runtime_error("no temporary folder");
    std::string base(temp, n);
    if (base.back() == '\\')
        base.pop_back();
    path_ = base + "\\palisade-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + "-" + std::to_string(::GetTickCount());
    if (!::CreateDirectoryA(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path_);
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

std::string ScratchFolder::file(const std::string& name) const {
    return path_ + "\\" + name;
}

std::vector<std::string> ScratchFolder::entries() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data{};
    HANDLE found = ::FindFirstFileA((path_ + "\\*").c_str(), &data);
    if (found == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileA(found, &data));
    ::FindClose(found);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace palisade::test
