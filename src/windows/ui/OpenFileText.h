#pragma once

#include <cstddef>
#include <string>

namespace palisade::win32 {

// The common dialog's filter as GetOpenFileNameA takes it: the bar-separated pairs of
// "description|pattern|" with every bar a NUL, ending in two NULs.
std::string FilterForDialog(const std::string& barSeparated);

// The multi-select result in the dialog's buffer (one full path, or the folder and each file
// name, each ended by a NUL, the whole ended by a second NUL) as the Dialogs port hands it on:
// the same pieces joined by single NULs, without the ending ones.
std::string ResultFromBuffer(const char* buffer, std::size_t size);

} // namespace palisade::win32
