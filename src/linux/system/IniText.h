#pragma once

#include <map>
#include <string>

namespace palisade {

// The settings file's content: sections, each a table of keys and values, all as bytes. The
// empty section holds the keys outside every section.
using IniSections = std::map<std::string, std::map<std::string, std::string>>;

// The text of a settings file in the INI dialect that Qt's QSettings reads, made so that it
// gives back every value byte for byte: valid UTF-8 as text, anything else as a byte array.
// Every value is quoted and every byte the reader would take for syntax is escaped, so no value
// can spill into a list, a comment, a key or the next line.
std::string FormatIni(const IniSections& sections);

} // namespace palisade
