#include "scores/score_table.h"

#include "framework/shell.h"
#include "scores/file_access.h"
#include "scores/line_codec.h"
#include "scores/table_lock.h"
#include "scores/text_format.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <utility>

namespace Meteorni {

TextFile::TextFile(const std::wstring& path) : path(path) {}

std::vector<std::string> TextFile::ReadLines() {
    std::wstring name = Orditex::LongPathForm(path);
    // Others may read it meanwhile, and may replace it: this read then still
    // sees the whole old table.
    FileHandle file(OpenWithRetries(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING));
    if (!file.IsOpen()) {
        failed = 1;
        notOpened = 1;
        return {};
    }
    // A read that a locked range keeps stopping half-way makes the table
    // unreadable: the part read so far is never taken for all of it.
    std::string bytes;
    bool read = ReadWholeFile(file, name, bytes);
    if (!read) {
        failed = 1;
        notOpened = 1;
        return {};
    }
    return LinesOf(bytes);
}

bool TextFile::WriteLines(const std::vector<std::string>& lines) {
    const std::wstring target = Orditex::LongPathForm(path);

    // A new file of our own beside the table; a name that happens to be taken
    // (left behind by a copy of the game that died) is skipped.
    std::wstring temporary;
    HANDLE handle = kNoFile;
    for (int tried = 0; handle == kNoFile && tried < 100; ++tried) {
        temporary = TemporaryNameFor(target);
        handle = OpenWithRetries(temporary, GENERIC_WRITE, 0, CREATE_NEW);
        if (handle == kNoFile && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    FileHandle file(handle);
    if (!file.IsOpen()) {
        failed = 1;
        notOpened = 1;
        return false;
    }
    for (const std::string& line : lines) {
        std::string bytes = DiskBytesOf(line);
        auto size = static_cast<uint32_t>(bytes.size());
        if (WriteToOpenFile(file, bytes.data(), size) != size) {
            failed = 1;
            break;
        }
    }
    // The data must be on the disk before the new file takes the old one's
    // name, or a power cut could still leave an empty table behind.
    if (!failed && !FlushFileBuffers(file.Get())) failed = 1;
    if (!file.Close()) failed = 1;
    if (!failed && !MoveOver(temporary, target)) failed = 1;
    if (failed) DeleteFileW(temporary.c_str());
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
    if (!Orditex::FileExists(Orditex::LongPathForm(path))) return {};
    TextFile file(path);
    std::vector<std::string> lines = file.ReadLines();
    unreadable = file.notOpened != 0;
    return lines;
}

std::vector<std::string> ScoreTable::BestFirst(std::vector<std::string> lines) {
    // std::string compares its bytes as unsigned values, the shorter first
    // when one is the start of the other: highest score first, and at equal
    // scores the rest of the line decides, also descending.
    std::sort(lines.begin(), lines.end(), std::greater<std::string>());
    if (lines.size() > kMaxLines) lines.resize(kMaxLines);
    return lines;
}

bool ScoreTable::Save(std::vector<std::string> lines) {
    failed = false;
    lines = BestFirst(std::move(lines));
    std::wstring folder = ScoreFolder(gameName);
    if (folder.empty()) {
        failed = true;
        return false;
    }
    TextFile file(folder + kFileName);
    if (!file.WriteLines(lines)) failed = true;
    return !failed;
}

std::string ScoreTable::ResultLine(int64_t score, const std::string& text) {
    std::string line = ZeroPad(score, static_cast<int32_t>(kScoreDigits));
    if (line.size() > kScoreDigits) line = line.substr(line.size() - kScoreDigits);
    line += " " + text;
    // The text must stay one whole line: a NUL would cut it short when the
    // table is read again, and a line break would split it in two.
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\0' || c == '\n'; }, '?');
    return line;
}

bool ScoreTable::Add(int64_t score, const std::string& text) {
    std::wstring folder = ScoreFolder(gameName);
    TableLock lock(folder + kFileName);
    std::vector<std::string> lines = Load();
    if (failed) return false;
    // A table that is there but cannot be read (locked by another program,
    // no rights) would be replaced by this one result: keep it instead.
    if (unreadable) {
        failed = true;
        return false;
    }
    lines.push_back(ResultLine(score, text));
    Save(lines);
    return !failed;
}

}  // namespace Meteorni
