#include "scores/score_table.h"

#include "framework/shell.h"
#include "scores/text_format.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <io.h>

namespace Meteorni {

namespace {

size_t WriteToStream(const void* data, size_t size, std::FILE* stream) {
    return std::fwrite(data, 1, size, stream);
}

StreamWriter streamWriter = WriteToStream;

std::string UpToNul(const std::string& line) {
    size_t nul = line.find('\0');
    return nul == std::string::npos ? line : line.substr(0, nul);
}

// The bytes a text-mode stream puts on disk for one line and its break: every
// LF becomes CR LF.
std::string DiskBytesOf(const std::string& line) {
    std::string bytes;
    bytes.reserve(line.size() + 2);
    for (char c : line) {
        if (c == '\n') bytes.push_back('\r');
        bytes.push_back(c);
    }
    bytes += "\r\n";
    return bytes;
}

}  // namespace

void SetStreamWriter(StreamWriter writer) {
    streamWriter = writer ? writer : WriteToStream;
}

TextFile::TextFile(const std::wstring& path) : path(path) {}

std::vector<std::string> TextFile::ReadLines() {
    std::vector<std::string> lines;
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) {
        failed = 1;
        notOpened = 1;
        return lines;
    }
    // Read as bytes and turn CR LF into a break by hand, as a text-mode stream
    // would, but without its habit of ending the file at a Ctrl+Z byte: junk
    // in a hand-edited table must not hide the lines after it.
    std::string line;
    bool anything = false;  // bytes seen since the last break
    bool carriageReturn = false;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        for (size_t i = 0; i < got; ++i) {
            char c = buffer[i];
            if (carriageReturn) {
                carriageReturn = false;
                if (c != '\n') line.push_back('\r');  // a lone CR is just text
            }
            if (c == '\r') {
                carriageReturn = true;
                anything = true;
            } else if (c == '\n') {
                lines.push_back(UpToNul(line));
                line.clear();
                anything = false;
            } else {
                line.push_back(c);
                anything = true;
            }
        }
    }
    std::fclose(file);
    if (carriageReturn) line.push_back('\r');
    if (anything) lines.push_back(UpToNul(line));
    return lines;
}

bool TextFile::WriteLines(const std::vector<std::string>& lines) {
    size_t separator = path.find_last_of(L"\\/:");
    std::wstring folder = separator == std::wstring::npos ? L"." : path.substr(0, separator + 1);

    wchar_t temporary[MAX_PATH] = {};
    if (GetTempFileNameW(folder.c_str(), L"sco", 0, temporary) == 0) {
        failed = 1;
        notOpened = 1;
        return false;
    }
    std::FILE* file = _wfopen(temporary, L"wb");
    if (!file) {
        DeleteFileW(temporary);
        failed = 1;
        notOpened = 1;
        return false;
    }
    for (const std::string& line : lines) {
        std::string bytes = DiskBytesOf(line);
        if (streamWriter(bytes.data(), bytes.size(), file) != bytes.size() || std::fflush(file) != 0 ||
            std::ferror(file)) {
            failed = 1;
            break;
        }
    }
    // The data must be on the disk before the new file takes the old one's
    // name, or a power cut could still leave an empty table behind.
    if (!failed && _commit(_fileno(file)) != 0) failed = 1;
    if (std::fclose(file) != 0) failed = 1;
    if (!failed && !MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failed = 1;
    if (failed) DeleteFileW(temporary);
    return !failed;
}

ScoreTable::ScoreTable(const std::string& gameName) : gameName(gameName) {}

std::wstring ScoreTable::ScoreFolder(const std::string& gameName) {
    // Without an application-data folder the path would turn relative and the
    // table would land in whatever the working folder happens to be.
    std::wstring base = Orditex::GetLocalAppDataFolder();
    if (base.empty()) return std::wstring();
    std::wstring dir = EnsureTrailingBackslash(base) + Orditex::ToWide(gameName);
    if (!MakeFolder(dir)) return std::wstring();
    dir = EnsureTrailingBackslash(dir) + L"Score";
    if (!MakeFolder(dir)) return std::wstring();
    return EnsureTrailingBackslash(dir);
}

std::vector<std::string> ScoreTable::Load() {
    failed = false;
    unreadable = false;
    std::wstring folder = ScoreFolder(gameName);
    if (folder.empty()) {
        failed = true;
        return {};
    }
    std::wstring path = folder + kFileName;
    if (!Orditex::FileExists(path)) return {};
    TextFile file(path);
    std::vector<std::string> lines = file.ReadLines();
    unreadable = file.notOpened != 0;
    return lines;
}

bool ScoreTable::Save(std::vector<std::string> lines) {
    failed = false;
    // std::string compares its bytes as unsigned values, the shorter first
    // when one is the start of the other: highest score first, and at equal
    // scores the rest of the line decides, also descending.
    std::sort(lines.begin(), lines.end(), std::greater<std::string>());
    if (lines.size() > kMaxLines) lines.resize(kMaxLines);
    std::wstring folder = ScoreFolder(gameName);
    if (folder.empty()) {
        failed = true;
        return false;
    }
    TextFile file(folder + kFileName);
    if (!file.WriteLines(lines)) failed = true;
    return !failed;
}

bool ScoreTable::Add(int64_t score, const std::string& text) {
    std::vector<std::string> lines = Load();
    if (failed) return false;
    // A table that is there but cannot be read (locked by another program,
    // no rights) would be replaced by this one result: keep it instead.
    if (unreadable) {
        failed = true;
        return false;
    }
    std::string line = ZeroPad(score, static_cast<int32_t>(kScoreDigits));
    if (line.size() > kScoreDigits) line = line.substr(line.size() - kScoreDigits);
    line += " " + text;
    // The text must stay one whole line: a NUL would cut it short when the
    // table is read again, and a line break would split it in two.
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\0' || c == '\n'; }, '?');
    lines.push_back(line);
    Save(lines);
    return !failed;
}

}  // namespace Meteorni
