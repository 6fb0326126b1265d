#pragma once

#include "ui/model/Window.h"

#include <cstdint>
#include <string>

namespace palisade {

// The optional skin of the main window.
class Skin {
public:
    virtual ~Skin() = default;
    virtual void ApplySkin() = 0;
};

// The skinning component, addressed as its members are known: by dispatch identifier.
class SkinFramework {
public:
    static constexpr int OptionsId = 1;
    static constexpr int LoadSkinId = 2;
    static constexpr int ApplyWindowId = 3;
    static constexpr int FlagFiveId = 5;
    static constexpr int FlagTenId = 10;

    virtual ~SkinFramework() = default;
    // Dispatch identifier 2: loads a skin file; the second text names a section, "" for none.
    virtual void LoadSkin(const std::string& path, const std::string& section) = 0;
    // Dispatch identifier 1: a set of option bits.
    virtual std::int32_t Options() = 0;
    virtual void SetOptions(std::int32_t options) = 0;
    // Boolean properties by dispatch identifier (5 and 10).
    virtual void SetFlag(int dispatchId, bool value) = 0;
    // Dispatch identifier 3: skins a window.
    virtual void ApplyWindow(Window& window) = 0;
};

// Our builds carry no skinning component: a skin file still gets the colours, and the window
// stays unskinned otherwise.
class NoSkinFramework : public SkinFramework {
public:
    void LoadSkin(const std::string&, const std::string&) override {}
    std::int32_t Options() override { return 0; }
    void SetOptions(std::int32_t) override {}
    void SetFlag(int, bool) override {}
    void ApplyWindow(Window&) override {}
};

} // namespace palisade
