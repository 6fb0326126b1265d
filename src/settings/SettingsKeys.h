#pragma once

#include <string_view>

namespace palisade {

// Every setting the program keeps, with the value a read gives when the key is absent.
struct SettingKey {
    std::string_view name;
    std::string_view defaultValue;
};

inline constexpr std::string_view SettingsApplication = "Quillmoor";
inline constexpr std::string_view SettingsSection = "Palisade Software";

namespace keys {
inline constexpr SettingKey BlockedWebsites{"Blocked Websites", ""};
inline constexpr SettingKey WindowsStartup{"Windows Startup", "Off"};
inline constexpr SettingKey Minimized{"Minimized", "Off"};
inline constexpr SettingKey BlockAdministrator{"Block Administrator", "Off"};
inline constexpr SettingKey BlockOnStart{"BlockOnStart", "0"};
inline constexpr SettingKey Password{"Password", ""};
} // namespace keys

inline constexpr std::string_view On = "On";
inline constexpr std::string_view Off = "Off";

} // namespace palisade
