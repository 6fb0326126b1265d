#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace palisade {

// The most a start or stop takes on its standard input.
inline constexpr std::size_t HelperMaxEntries = 1000000;
inline constexpr std::size_t HelperMaxInputBytes = std::size_t{64} << 20;
// No host name is longer than 253 bytes; a longer line is not an entry.
inline constexpr std::size_t HelperMaxLineBytes = 1024;

// What the privileged helper is asked to do, from its arguments.
struct HelperRequest {
    enum Operation { Start, Stop, Autostart } operation = Start;
    bool reapply = false; // start: "reapply" rather than "button"
    bool atClose = false; // stop: "close" rather than "button"
    bool on = false;      // autostart: "on" rather than "off"

    // Whether entries come on the standard input.
    bool takesEntries() const { return operation != Autostart; }
};

// "start button|reapply", "stop button|close", "autostart on|off" and nothing else.
std::optional<HelperRequest> ParseHelperRequest(const std::vector<std::string>& arguments);

enum class EntriesVerdict {
    Taken,
    TooMany,    // more than HelperMaxEntries
    TooLarge,   // more than HelperMaxInputBytes
    NotText,    // a NUL, a control character or a line longer than HelperMaxLineBytes
    Unreadable, // the input failed
};

// Reads the entries, one a line ending in LF (the last line may lack it), through read, which
// fills up to size bytes and returns how many (0 at the end), or nothing when reading fails.
// Empty lines are passed over. Anything but Taken leaves entries empty.
EntriesVerdict
ReadHelperEntries(const std::function<std::optional<std::size_t>(char*, std::size_t)>& read,
                  std::vector<std::string>& entries);

} // namespace palisade
