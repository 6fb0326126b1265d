#pragma once

#include <cstdint>

namespace palisade {

// Whether the user running the program belongs to the administrators.
class AdminTest {
public:
    virtual ~AdminTest() = default;
    // -1 for a member, 0 for a non-member or when membership cannot be determined.
    virtual std::int32_t IsAdministrator() = 0;
};

} // namespace palisade
