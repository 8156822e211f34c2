#include "scores/score_table.h"

#include "framework/shell.h"
#include "scores/text_format.h"

#include <windows.h>

#include <algorithm>
#include <functional>

namespace Meteorni {

namespace {

// Ten tries in all, with a pause of 20, 40, ... 180 ms between them: 0.9 s at
// most, enough for a scanner's look at a small file, short enough that a
// table that stays locked costs the player no more than a moment.
constexpr int kTries = 10;
constexpr DWORD kPauseStep = 20;

// How long one Add waits for another copy of the game to finish its own. An
// Add takes milliseconds, or about two seconds when it has to wait out a
// locked file; a copy that holds the table for longer is stuck, and then this
// one goes ahead as it would alone.
constexpr DWORD kTableLockWait = 5000;

uint32_t WriteToFile(void* file, const void* data, uint32_t size) {
    DWORD written = 0;
    if (!WriteFile(file, data, size, &written, nullptr)) return 0;
    return written;
}

FileWriter fileWriter = WriteToFile;

bool ReadFromFile(void* file, void* data, uint32_t size, uint32_t* got) {
    DWORD read = 0;
    bool ok = ReadFile(file, data, size, &read, nullptr) != 0;
    *got = read;
    return ok;
}

FileReader fileReader = ReadFromFile;

// What CreateFileW gives for a file it could not open.
// cppcheck-suppress cstyleCast ; the cast is inside the Windows headers' macro
HANDLE const kNoFile = INVALID_HANDLE_VALUE;  // NOLINT(misc-misplaced-const): the handle itself is the constant

// The failures another program's short hold on the file gives. Access denied
// is also the lasting answer of a folder in the file's place or of a
// read-only file: those are not waited for.
bool HeldByAnotherProgram(DWORD error, const std::wstring& path) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
    if (error != ERROR_ACCESS_DENIED) return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ||
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

// Runs attempt until it succeeds, fails for good, or runs out of tries; the
// last error stays that of the last try.
template <typename Attempt>
bool WithRetries(const std::wstring& path, Attempt attempt) {
    for (int tried = 1;; ++tried) {
        if (attempt()) return true;
        DWORD error = GetLastError();
        if (tried == kTries || !HeldByAnotherProgram(error, path)) {
            SetLastError(error);
            return false;
        }
        Sleep(kPauseStep * static_cast<DWORD>(tried));
    }
}

HANDLE OpenWithRetries(const std::wstring& path, DWORD access, DWORD sharing, DWORD disposition) {
    HANDLE file = kNoFile;
    WithRetries(path, [&] {
        file = CreateFileW(path.c_str(), access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        return file != kNoFile;
    });
    return file;
}

// Closes the file handle it holds when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }
    bool Close() {
        bool closed = handle == kNoFile || CloseHandle(handle);
        handle = kNoFile;
        return closed;
    }
    HANDLE Get() const { return handle; }
    bool IsOpen() const { return handle != kNoFile; }

private:
    HANDLE handle;
};

// Splits text into lines at LF or CR LF, as a text-mode stream would, but
// without its habit of ending the file at a Ctrl+Z: junk in a hand-edited
// table must not hide the lines after it. A lone CR is just text; each line
// is cut at its first NUL; a last line without a break counts too.
template <typename Char>
std::vector<std::basic_string<Char>> SplitLines(const Char* text, size_t count) {
    std::vector<std::basic_string<Char>> lines;
    auto cutAtNul = [](std::basic_string<Char> line) {
        size_t nul = line.find(Char(0));
        if (nul != std::basic_string<Char>::npos) line.resize(nul);
        return line;
    };
    size_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        if (text[i] != Char('\n')) continue;
        size_t end = i > start && text[i - 1] == Char('\r') ? i - 1 : i;
        lines.push_back(cutAtNul(std::basic_string<Char>(text + start, end - start)));
        start = i + 1;
    }
    if (start < count) lines.push_back(cutAtNul(std::basic_string<Char>(text + start, count - start)));
    return lines;
}

constexpr const char* kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(const std::string& bytes, const char* mark) {
    return bytes.rfind(mark, 0) == 0;
}

// A UTF-16 file as wide text, without its mark; an odd last byte is no
// character and is dropped.
std::wstring Utf16Of(const std::string& bytes, bool bigEndian) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return text;
}

// A line of a file marked as UTF-8 in the code page; a line that is not
// valid UTF-8 after all (typed in by hand since) keeps its bytes.
std::string CodePageOfUtf8(const std::string& line) {
    if (line.empty()) return line;
    int size =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), static_cast<int>(line.size()), nullptr, 0);
    if (size <= 0) return line;
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), static_cast<int>(line.size()), wide.data(), size);
    return Orditex::ToCodePage(wide);
}

// The lines of a whole file's bytes. Notepad saves a file as "Unicode"
// (UTF-16) or as UTF-8 with a byte-order mark in front; anything else is the
// narrow text the game writes, taken byte for byte.
//
// A hand-edited line may also begin with the bytes of a UTF-16 mark and, as
// they sort high, head the table the game writes. The game never writes a
// NUL, while UTF-16 text has them in every character below 256 (its digits
// and line breaks): a marked file without one is the game's own.
std::vector<std::string> LinesOf(const std::string& bytes) {
    const bool littleEndian = StartsWith(bytes, "\xFF\xFE");
    const bool utf16 =
        (littleEndian || StartsWith(bytes, "\xFE\xFF")) && (bytes.size() == 2 || bytes.find('\0') != std::string::npos);
    if (utf16) {
        std::wstring text = Utf16Of(bytes, !littleEndian);
        std::vector<std::string> lines;
        for (const std::wstring& line : SplitLines(text.data(), text.size()))
            lines.push_back(Orditex::ToCodePage(line));
        return lines;
    }
    const bool utf8 = StartsWith(bytes, kUtf8Mark);
    std::vector<std::string> lines = SplitLines(bytes.data(), bytes.size());
    for (std::string& line : lines) {
        // A UTF-8 mark is no text. One that starts a later line comes from
        // files joined together; kept, it would sort first, be written at
        // the top and then be read as the mark of the whole table.
        while (StartsWith(line, kUtf8Mark)) line.erase(0, 3);
        if (utf8) line = CodePageOfUtf8(line);
    }
    return lines;
}

// The bytes that go on disk for one line and its break: every LF becomes
// CR LF, as a text-mode stream writes them.
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

// A name for the temporary file beside path that no other copy of the game
// and no earlier write of this one uses: the process id and a count.
std::wstring TemporaryNameFor(const std::wstring& path) {
    static unsigned count = 0;
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(count++) + L".tmp";
}

// Two copies of the game that end at the same moment must not both read the
// old table and each write it back with only their own result. One named
// mutex per table (named after its path, which may be too long for a name)
// lets one Add at a time read, change and replace it. Nothing else here is
// shared between processes: a copy that ends while holding it hands it on.
class TableLock {
public:
    explicit TableLock(const std::wstring& tablePath) {
        std::wstring key = tablePath;
        CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));  // one file, however it is spelled
        uint64_t hash = 14695981039346656037ull;                     // FNV-1a
        for (wchar_t c : key) {
            hash ^= static_cast<uint16_t>(c);
            hash *= 1099511628211ull;
        }
        wchar_t name[64];
        wsprintfW(name, L"Local\\Meteorni.ScoreTable.%08lX%08lX", static_cast<unsigned long>(hash >> 32),
                  static_cast<unsigned long>(hash & 0xFFFFFFFFu));
        mutex = CreateMutexW(nullptr, FALSE, name);
        if (!mutex) return;
        DWORD waited = WaitForSingleObject(mutex, kTableLockWait);
        owned = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;
    ~TableLock() {
        if (owned) ReleaseMutex(mutex);
        if (mutex) CloseHandle(mutex);
    }

private:
    HANDLE mutex = nullptr;
    bool owned = false;
};

}  // namespace

void SetFileWriter(FileWriter writer) {
    fileWriter = writer ? writer : WriteToFile;
}

void SetFileReader(FileReader reader) {
    fileReader = reader ? reader : ReadFromFile;
}

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
    // A program that locks a range of the file (a backup, a sync client)
    // makes a read fail half-way: read it again from the start, and if it
    // stays locked count the table as unreadable rather than take the part
    // read so far for all of it.
    std::string bytes;
    bool read = WithRetries(name, [&] {
        bytes.clear();
        LARGE_INTEGER start{};
        if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return false;
        char buffer[65536];
        uint32_t got = 0;
        do {
            if (!fileReader(file.Get(), buffer, sizeof buffer, &got)) return false;
            bytes.append(buffer, got);
        } while (got > 0);
        return true;
    });
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
        if (fileWriter(file.Get(), bytes.data(), size) != size) {
            failed = 1;
            break;
        }
    }
    // The data must be on the disk before the new file takes the old one's
    // name, or a power cut could still leave an empty table behind.
    if (!failed && !FlushFileBuffers(file.Get())) failed = 1;
    if (!file.Close()) failed = 1;
    if (!failed && !WithRetries(target, [&] {
            return MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
                   0;
        }))
        failed = 1;
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
