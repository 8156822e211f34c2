// The table's text as bytes and back: a whole file's bytes split into lines
// (narrow text in the system code page, whatever Notepad saved them as), and
// the bytes one line takes on disk. Pure functions: no file is touched here.
#pragma once

#include <string>
#include <vector>

namespace Meteorni {

// The lines of a whole file's bytes, in file order, the breaks (CR LF or LF)
// dropped, each line cut at its first NUL; a last line without a break counts
// too. Notepad saves a file as "Unicode" (UTF-16, either byte order, known by
// its byte-order mark) or as UTF-8 with a mark in front: those come back in
// the narrow text of the system code page, "?" for a character it cannot
// hold, without the mark. Anything else is the narrow text the game writes,
// taken byte for byte; a UTF-8 mark at the start of any line is dropped.
std::vector<std::string> LinesOf(const std::string& bytes);

// The bytes that go on disk for one line and its break: every LF becomes
// CR LF, as a text-mode stream writes them.
std::string DiskBytesOf(const std::string& line);

}  // namespace Meteorni
