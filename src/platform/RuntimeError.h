#pragma once

#include <stdexcept>
#include <string>

namespace palisade {

// A failure that a trapped procedure reports to the user and then steps over.
// what() is the description the error report shows.
class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace palisade
