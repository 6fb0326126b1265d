#pragma once

namespace palisade {

// The optional skin of the main window.
class Skin {
public:
    virtual ~Skin() = default;
    virtual void ApplySkin() = 0;
};

} // namespace palisade
