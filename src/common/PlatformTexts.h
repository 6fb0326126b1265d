#pragma once

#include <string_view>

namespace palisade {

enum class Platform { Windows, Linux };

// The texts that differ between the platforms. On Windows they are the program's own; on Linux,
// texts that speak of Windows or its User Account Control would read as a fault, so they say
// what the Linux user has to do instead. Settings keys and stored values never differ.
struct PlatformTexts {
    // The caption of Check1.
    std::string_view startupOption;
    // The block button's refusal for a user who may not write the hosts file.
    std::string_view startRefused;
    // What the "Help" button shows.
    std::string_view help;
    // The block button's refusal to stop, and the close handler's.
    std::string_view stopRefused;
    // The advice after "Could not start blocking." and "Could not restore settings.".
    std::string_view adminAdvice;
};

const PlatformTexts& TextsFor(Platform platform);

} // namespace palisade
