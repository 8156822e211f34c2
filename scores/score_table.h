// The high-score table: the ten best results as text lines, best first, in
// <local application data>\<game>\Score\Classifica.txt. Nothing is kept in
// memory between uses; every operation reads or writes the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Meteorni {

// One text file read or written whole, as lines. The path is wide, so that
// every user folder works, and may be longer than MAX_PATH; the lines are
// narrow text as they are on disk.
//
// A file that another program (a scanner, a backup or sync client) holds
// for a moment is waited for, less than a second in all, before a read or a
// write counts as failed: see file_access.h.
class TextFile {
public:
    explicit TextFile(const std::wstring& path);

    std::wstring path;
    uint8_t failed = 0;     // the last read or write went wrong
    uint8_t notOpened = 0;  // ... because the file could not be opened or read

    // Lines in file order, the breaks (CR LF or LF) dropped, each line cut at
    // its first NUL; a last line without a break counts too. Empty when the
    // file cannot be opened or read. A file saved as UTF-16 (either byte
    // order, known by its byte-order mark) comes back in the narrow text of
    // the system code page, "?" for a character it cannot hold; a UTF-8 file
    // with its mark comes back without the mark, its lines in the code page
    // too. A UTF-8 mark at the start of any other line is dropped as well.
    std::vector<std::string> ReadLines();

    // Replaces the file with the lines, each ending in CR LF. The lines go to a
    // temporary file in the same folder first, which takes the old file's place
    // only when every byte was written and flushed; on any failure the old file
    // stays exactly as it was and the temporary file is removed.
    bool WriteLines(const std::vector<std::string>& lines);
};

class ScoreTable {
public:
    static constexpr const wchar_t* kFileName = L"Classifica.txt";
    static constexpr size_t kMaxLines = 10;
    static constexpr size_t kScoreDigits = 8;

    explicit ScoreTable(const std::string& gameName);

    std::string gameName;
    bool failed = false;  // the last Load or Save could not find or make the folder

    // The stored lines in file order, neither sorted nor cut. No file yet, or
    // one that cannot be opened, gives an empty list.
    std::vector<std::string> Load();
    // Writes the lines as BestFirst leaves them.
    bool Save(std::vector<std::string> lines);
    // Adds the ResultLine of score and text to the stored table and saves it.
    // Another copy of the game adding its result at the same moment waits
    // until this one has read, changed and replaced the table, so neither
    // result is lost.
    bool Add(int64_t score, const std::string& text);

    // The lines sorted best first (byte-wise, descending), the first ten kept.
    static std::vector<std::string> BestFirst(std::vector<std::string> lines);
    // "<score as 8 digits> <text>", the line Add stores for a result. A NUL or
    // a line break in the text becomes "?".
    static std::string ResultLine(int64_t score, const std::string& text);

    // <local application data>\<gameName>\Score\, made when missing, or empty
    // when there is no such folder and it cannot be made.
    static std::wstring ScoreFolder(const std::string& gameName);

private:
    // The last Load found a table it could not read; saving over it would
    // throw away every stored result.
    bool unreadable = false;
};

}  // namespace Meteorni
