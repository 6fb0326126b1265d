#include "support/FakeFileSystem.h"

namespace palisade::test {

namespace {
const char* OpName(FsOp op) {
    switch (op) {
    case FsOp::Find:
        return "find";
    case FsOp::CreateFolder:
        return "mkdir";
    case FsOp::Read:
        return "read";
    case FsOp::Write:
        return "write";
    case FsOp::Append:
        return "append";
    case FsOp::Sync:
        return "sync";
    case FsOp::Replace:
        return "replace";
    case FsOp::Copy:
        return "copy";
    case FsOp::Remove:
        return "remove";
    case FsOp::ForceRemove:
        return "force-remove";
    case FsOp::FinishJournal:
        return "finish-journal";
    }
    return "?";
}
} // namespace

void FakeFileSystem::fail(FsOp op, const std::string& path, int count) {
    failures_[{op, path}] = count;
}

void FakeFileSystem::check(FsOp op, const std::string& path) {
    if (log)
        log->add(std::string("fs.") + OpName(op) + " " + path);
    if (beforeOp)
        beforeOp(op, path);
    auto it = failures_.find({op, path});
    if (it == failures_.end() || it->second == 0)
        return;
    if (it->second > 0)
        --it->second;
    throw RuntimeError("Permission denied");
}

bool FakeFileSystem::find(const std::string& path, EntryFilter filter) {
    check(FsOp::Find, path);
    if (filter == EntryFilter::OrdinaryFiles)
        return files.count(path) != 0 && hidden.count(path) == 0;
    return files.count(path) != 0 || folders.count(path) != 0;
}

bool FakeFileSystem::canOpenExisting(const std::string& path) {
    return files.count(path) != 0;
}

void FakeFileSystem::createFolder(const std::string& path) {
    check(FsOp::CreateFolder, path);
    if (files.count(path) || folders.count(path))
        throw RuntimeError("Path/File access error");
    folders.insert(path);
}

std::string FakeFileSystem::readFile(const std::string& path) {
    check(FsOp::Read, path);
    auto it = files.find(path);
    if (it == files.end())
        throw RuntimeError("File not found");
    return it->second;
}

std::string FakeFileSystem::readFileUpTo(const std::string& path, std::size_t limit) {
    std::string bytes = readFile(path);
    if (bytes.size() > limit)
        throw RuntimeError(std::string(FileTooLarge));
    return bytes;
}

void FakeFileSystem::writeFile(const std::string& path, const std::string& bytes) {
    check(FsOp::Write, path);
    files[path] = bytes;
}

void FakeFileSystem::appendFile(const std::string& path, const std::string& bytes) {
    check(FsOp::Append, path);
    files[path] += bytes;
}

void FakeFileSystem::appendLines(const std::string& path, LineSource& lines, const std::string&) {
    std::string bytes;
    for (std::string_view piece; lines.next(piece);)
        bytes.append(piece);
    check(FsOp::Append, path);
    files[path] += bytes;
}

void FakeFileSystem::syncFile(const std::string& path) {
    check(FsOp::Sync, path);
    if (files.count(path) == 0)
        throw RuntimeError("File not found");
}

void FakeFileSystem::replaceFile(const std::string& path, const std::string& bytes) {
    check(FsOp::Replace, path);
    files[path] = bytes;
}

void FakeFileSystem::replaceFileJournaled(const std::string& path, const std::string& bytes,
                                          const std::string&) {
    replaceFile(path, bytes);
}

void FakeFileSystem::finishJournal(const std::string& journal) {
    check(FsOp::FinishJournal, journal);
}

void FakeFileSystem::copyFile(const std::string& source, const std::string& destination) {
    check(FsOp::Copy, source + " -> " + destination);
    auto it = files.find(source);
    if (it == files.end())
        throw RuntimeError("File not found");
    files[destination] = it->second;
}

void FakeFileSystem::removeFile(const std::string& path) {
    check(FsOp::Remove, path);
    if (readOnly.count(path))
        throw RuntimeError("Permission denied");
    if (files.erase(path) == 0)
        throw RuntimeError("File not found");
}

void FakeFileSystem::forceRemoveFile(const std::string& path) {
    check(FsOp::ForceRemove, path);
    readOnly.erase(path);
    if (files.erase(path) == 0)
        throw RuntimeError("File not found");
}

} // namespace palisade::test
