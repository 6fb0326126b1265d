#include "support/FakeRegistry.h"

namespace palisade::test {

RegStatus FakeRegistry::openKey(std::uint32_t hive, const std::string& subKey, std::uint32_t access,
                                Key& key) {
    if (log)
        log->add("openKey " + subKey);
    lastAccess = access;
    if (!existingKeys.contains({hive, subKey}))
        return RegFileNotFound;
    if (denyWrite && (access & 0x0002) != 0)
        return RegAccessDenied;
    key = next_++;
    handles_[key] = {hive, subKey};
    openKeys.insert(key);
    return RegSuccess;
}

RegStatus FakeRegistry::setValue(Key key, const std::string& name, std::uint32_t type,
                                 const std::string& data) {
    if (log)
        log->add("setValue " + name);
    const auto handle = handles_.find(key);
    if (handle == handles_.end() || !openKeys.contains(key))
        return RegInvalidHandle;
    values[handle->second][name] = Value{type, data};
    return RegSuccess;
}

RegStatus FakeRegistry::deleteValue(Key key, const std::string& name) {
    if (log)
        log->add("deleteValue " + name);
    const auto handle = handles_.find(key);
    if (handle == handles_.end() || !openKeys.contains(key))
        return RegInvalidHandle;
    return values[handle->second].erase(name) == 1 ? RegSuccess : RegFileNotFound;
}

RegStatus FakeRegistry::closeKey(Key key) {
    if (log)
        log->add("closeKey");
    return openKeys.erase(key) == 1 ? RegSuccess : RegInvalidHandle;
}

} // namespace palisade::test
