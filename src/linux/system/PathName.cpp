#include "linux/system/PathName.h"

#include "platform/RuntimeError.h"

namespace palisade {

bool IsValidPathName(const std::string& path) {
    return !path.empty() && path.find('\0') == std::string::npos;
}

void RequireValidPathName(const std::string& path) {
    if (!IsValidPathName(path))
        throw RuntimeError("Bad file name or number");
}

} // namespace palisade
