#include "blocking/HelperRequest.h"

#include <array>

namespace palisade {

std::optional<HelperRequest> ParseHelperRequest(const std::vector<std::string>& arguments) {
    if (arguments.size() != 2)
        return std::nullopt;
    const std::string& operation = arguments[0];
    const std::string& how = arguments[1];
    HelperRequest request;
    if (operation == "start" && (how == "button" || how == "reapply")) {
        request.operation = HelperRequest::Start;
        request.reapply = how == "reapply";
    } else if (operation == "stop" && (how == "button" || how == "close")) {
        request.operation = HelperRequest::Stop;
        request.atClose = how == "close";
    } else if (operation == "autostart" && (how == "on" || how == "off")) {
        request.operation = HelperRequest::Autostart;
        request.on = how == "on";
    } else {
        return std::nullopt;
    }
    return request;
}

namespace {

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

EntriesVerdict
ReadHelperEntries(const std::function<std::optional<std::size_t>(char*, std::size_t)>& read,
                  std::vector<std::string>& entries) {
    entries.clear();
    std::array<char, 65536> buffer{};
    std::string line;
    std::size_t total = 0;
    auto verdict = EntriesVerdict::Taken;
    const auto endLine = [&] {
        if (!line.empty() && entries.size() == HelperMaxEntries)
            verdict = EntriesVerdict::TooMany;
        else if (!line.empty())
            entries.push_back(std::move(line));
        line.clear();
    };
    while (verdict == EntriesVerdict::Taken) {
        const auto got = read(buffer.data(), buffer.size());
        if (!got) {
            verdict = EntriesVerdict::Unreadable;
            break;
        }
        if (*got == 0) {
            endLine();
            break;
        }
        total += *got;
        if (total > HelperMaxInputBytes) {
            verdict = EntriesVerdict::TooLarge;
            break;
        }
        for (std::size_t i = 0; i < *got && verdict == EntriesVerdict::Taken; ++i) {
            const char c = buffer[i];
            if (c == '\n')
                endLine();
            else if (IsControl(c) || line.size() == HelperMaxLineBytes)
                verdict = EntriesVerdict::NotText;
            else
                line.push_back(c);
        }
    }
    if (verdict != EntriesVerdict::Taken)
        entries.clear();
    return verdict;
}

} // namespace palisade
