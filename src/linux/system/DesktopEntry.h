#pragma once

#include <string>

namespace palisade {

// A value of type string in a desktop entry file: backslash, newline, tab and carriage return
// escaped, and a leading space kept as "\s" so readers do not trim it.
std::string DesktopString(const std::string& text);

// A program path as the only argument of an Exec key: quoted when it contains a reserved
// character, percent signs doubled so they are not read as field codes, then escaped as a
// string value.
std::string DesktopExecArgument(const std::string& path);

// The text of an autostart entry that starts the program at path.
std::string AutostartDesktopEntry(const std::string& name, const std::string& path);

} // namespace palisade
