#include "linux/system/OnBehalfSettingsStore.h"

#include "linux/system/FsIdentity.h"

namespace palisade {

std::string OnBehalfSettingsStore::read(const std::string& application, const std::string& section,
                                        const std::string& key, const std::string& defaultValue) {
    AsUser as(user_);
    return inner_.read(application, section, key, defaultValue);
}

void OnBehalfSettingsStore::write(const std::string& application, const std::string& section,
                                  const std::string& key, const std::string& value) {
    AsUser as(user_);
    inner_.write(application, section, key, value);
}

} // namespace palisade
