// The high-score table: the ten best results as text lines, best first, in
// <local application data>\<game>\Score\Classifica.txt. Nothing is kept in
// memory between uses; every operation reads or writes the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace Meteorni {

// One text file read or written whole, as lines. The path is wide, so that
// every user folder works; the lines are narrow text as they are on disk.
class TextFile {
public:
    explicit TextFile(const std::wstring& path);

    std::wstring path;
    uint8_t failed = 0;     // the last read or write went wrong
    uint8_t notOpened = 0;  // ... because the file could not be opened

    // Lines in file order, the breaks (CR LF or LF) dropped, each line cut at
    // its first NUL; a last line without a break counts too. Empty when the
    // file cannot be opened.
    std::vector<std::string> ReadLines();

    // Replaces the file with the lines, each ending in CR LF. The lines go to a
    // temporary file in the same folder first, which takes the old file's place
    // only when every byte was written and flushed; on any failure the old file
    // stays exactly as it was.
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
    // Sorts the lines best first (byte-wise, descending), keeps the first ten
    // and writes them.
    bool Save(std::vector<std::string> lines);
    // Adds "<score as 8 digits> <text>" to the stored table and saves it. A
    // NUL or a line break in the text is stored as "?".
    bool Add(int64_t score, const std::string& text);

    // <local application data>\<gameName>\Score\, made when missing, or empty
    // when there is no such folder and it cannot be made.
    static std::wstring ScoreFolder(const std::string& gameName);

private:
    // The last Load found a table it could not read; saving over it would
    // throw away every stored result.
    bool unreadable = false;
};

// Test seam: how TextFile puts bytes into its open stream, returning the count
// written. The production writer is fwrite; nullptr restores it.
using StreamWriter = size_t (*)(const void* data, size_t size, std::FILE* stream);
void SetStreamWriter(StreamWriter writer);

}  // namespace Meteorni
