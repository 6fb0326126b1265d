#pragma once

namespace palisade::win32 {

// Whether this process runs with an elevated token, and so may write the hosts file. Not the
// group test: an administrator whose token is not elevated belongs to the group but cannot.
bool ProcessIsElevated();

} // namespace palisade::win32
