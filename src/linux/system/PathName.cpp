#include "linux/system/PathName.h"

#include "platform/RuntimeError.h"

namespace palisade {

bool isValidPathName(const std::string& path) {
    return !path.empty() && path.find('\0') == std::string::npos;
}

void requireValidPathName(const std::string& path) {
    if (!isValidPathName(path))
        throw RuntimeError("Bad file name or number");
}

} // namespace palisade
