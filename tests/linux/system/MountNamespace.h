#pragma once

#include <string>

namespace palisade::test {

// True when this process has a mount namespace of its own, not its parent's: the only place
// where a test may mount scratch files over real system paths.
bool InPrivateMountNamespace();

} // namespace palisade::test
