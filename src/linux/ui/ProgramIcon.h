#pragma once

#include <QIcon>

namespace palisade::qt {

// The program's icon, a blue "Q" for Quillmoor, at every size it is drawn in.
QIcon ProgramIcon();

} // namespace palisade::qt
