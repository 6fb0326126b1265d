#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace palisade {

// The lines of a list file. A line ends at a line feed, a carriage return and line feed, a
// carriage return, or the end of the file; a file that ends with a line end has no empty line
// after it. Blank lines inside the file are kept.
std::vector<std::string> SplitListLines(std::string_view text);

// Tidies a Windows path built from a folder and a file name: every pair of backslashes becomes
// one (a drive's root already ends with one), except that a path starting with backslashes
// starts with exactly two (a network path).
std::string NormalizeBackslashes(std::string_view path);

// The pieces of text between the NUL characters, as an open-file answer for several files
// holds them.
std::vector<std::string> SplitAtNul(std::string_view text);

// The path of a file chosen from folder. With the Windows separator the joined path is tidied
// by NormalizeBackslashes; any other separator is joined as it is, and only not doubled after
// a folder that already ends with it (the root).
std::string ChosenFilePath(const std::string& folder, const std::string& name,
                           const std::string& separator);

} // namespace palisade
