#include "windows/system/RegistrySettingsStore.h"

#include "platform/RuntimeError.h"
#include "windows/system/Handles.h"
#include "windows/system/Win32Errors.h"

#include <limits>
#include <vector>

namespace palisade {

RegistrySettingsStore::RegistrySettingsStore(std::string root) : root_(std::move(root)) {}

std::string RegistrySettingsStore::sectionPath(const std::string& application,
                                               const std::string& section) const {
    return root_ + "\\" + application + "\\" + section;
}

std::string RegistrySettingsStore::read(const std::string& application, const std::string& section,
                                        const std::string& key, const std::string& defaultValue) {
    UniqueHKey hkey;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, sectionPath(application, section).c_str(), 0,
                        KEY_QUERY_VALUE, hkey.put()) != ERROR_SUCCESS)
        return defaultValue;

    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(hkey.get(), key.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return defaultValue;

    // Another writer may make the value longer between the two calls; ask again then.
    std::vector<char> buffer;
    LONG status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) {
        buffer.resize(size + 1);
        size = static_cast<DWORD>(buffer.size());
        status = ::RegQueryValueExA(hkey.get(), key.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return defaultValue;

    // The stored size counts the terminating NUL when the writer included it.
    std::string value(buffer.data(), size);
    if (!value.empty() && value.back() == '\0')
        value.pop_back();
    return value;
}

void RegistrySettingsStore::write(const std::string& application, const std::string& section,
                                  const std::string& key, const std::string& value) {
    if (value.size() >= std::numeric_limits<DWORD>::max())
        throw RuntimeError("Out of memory");

    UniqueHKey hkey;
    LONG status =
        ::RegCreateKeyExA(HKEY_CURRENT_USER, sectionPath(application, section).c_str(), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, hkey.put(), nullptr);
    if (status != ERROR_SUCCESS)
        ThrowWin32Error(static_cast<DWORD>(status));

    status = ::RegSetValueExA(hkey.get(), key.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1));
    if (status != ERROR_SUCCESS)
        ThrowWin32Error(static_cast<DWORD>(status));
}

} // namespace palisade
