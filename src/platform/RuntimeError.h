#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace palisade {

// A failure that a trapped procedure reports to the user and then steps over.
// what() is the description the error report shows.
class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The description of a failure that the system refused for lack of rights.
inline constexpr std::string_view PermissionDenied = "Permission denied";
// The description of a failure for want of a folder on the way to the path.
inline constexpr std::string_view PathNotFound = "Path not found";
// The descriptions of a bounded read refused: a pipe, a device or a folder in the file's place,
// or a file larger than its reader takes.
inline constexpr std::string_view NotARegularFile = "Not a regular file";
inline constexpr std::string_view FileTooLarge = "File too large";

} // namespace palisade
