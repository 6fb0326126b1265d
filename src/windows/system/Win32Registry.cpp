#include "windows/system/Win32Registry.h"

namespace palisade {

HKEY Win32Registry::HiveKey(std::uint32_t hive) {
    // The predefined keys are negative 32-bit values, sign-extended to pointer width.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(hive)));
}

HKEY Win32Registry::find(Key key) const {
    const auto it = open_.find(key);
    return it == open_.end() ? nullptr : it->second.get();
}

RegStatus Win32Registry::openKey(std::uint32_t hive, const std::string& subKey,
                                 std::uint32_t access, Key& key) {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(HiveKey(hive), subKey.c_str(), 0, access, &opened);
    if (status != ERROR_SUCCESS || opened == nullptr)
        return status;
    key = reinterpret_cast<Key>(opened);
    open_[key] = UniqueHKey(opened);
    return ERROR_SUCCESS;
}

RegStatus Win32Registry::setValue(Key key, const std::string& name, std::uint32_t type,
                                  const std::string& data) {
    const HKEY handle = find(key);
    if (handle == nullptr)
        return ERROR_INVALID_HANDLE;
    return ::RegSetValueExA(handle, name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size()));
}

RegStatus Win32Registry::deleteValue(Key key, const std::string& name) {
    const HKEY handle = find(key);
    if (handle == nullptr)
        return ERROR_INVALID_HANDLE;
    return ::RegDeleteValueA(handle, name.c_str());
}

RegStatus Win32Registry::closeKey(Key key) {
    const auto it = open_.find(key);
    if (it == open_.end())
        return ERROR_INVALID_HANDLE;
    const HKEY handle = it->second.release();
    open_.erase(it);
    return ::RegCloseKey(handle);
}

} // namespace palisade
