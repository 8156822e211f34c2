// Text and folder helpers shared by the high-score table and the title screen:
// numbers and texts padded to a width (never cut), path tidying, folder creation.
#pragma once

#include <cstdint>
#include <string>

namespace Meteorni {

// Decimal text of value, filled on the left with "0" up to width characters.
// A negative value keeps its sign in front of the zeros. Never cut.
std::string ZeroPad(int64_t value, int32_t width);

// text followed by as many fill characters as needed to reach width. Never cut.
std::string PadRight(const std::string& text, char fill, int32_t width);

// text preceded by as many fill characters as needed to reach width. Never cut.
std::string PadLeft(const std::string& text, char fill, int32_t width);

// Paths are wide: the user's own folder may have a name no code page holds.
// path with one "\" added, unless it is empty or already ends in "\" or "/".
std::wstring EnsureTrailingBackslash(const std::wstring& path);

// True when path is a folder: it already was one or has just been made (one
// level). False for a plain file of that name.
bool MakeFolder(const std::wstring& path);

}  // namespace Meteorni
