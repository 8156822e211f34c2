#include "scores/file_access.h"

namespace Meteorni {

namespace {

// Ten tries in all, with a pause of 20, 40, ... 180 ms between them: 0.9 s at
// most, enough for a scanner's look at a small file, short enough that a
// table that stays locked costs the player no more than a moment.
constexpr int kTries = 10;
constexpr DWORD kPauseStep = 20;

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

}  // namespace

void SetFileWriter(FileWriter writer) {
    fileWriter = writer ? writer : WriteToFile;
}

void SetFileReader(FileReader reader) {
    fileReader = reader ? reader : ReadFromFile;
}

HANDLE OpenWithRetries(const std::wstring& path, DWORD access, DWORD sharing, DWORD disposition) {
    HANDLE file = kNoFile;
    WithRetries(path, [&] {
        file = CreateFileW(path.c_str(), access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        return file != kNoFile;
    });
    return file;
}

// A program that locks a range of the file (a backup, a sync client) makes a
// read fail half-way: read it again from the start, and if it stays locked
// fail rather than take the part read so far for all of it.
bool ReadWholeFile(const FileHandle& file, const std::wstring& path, std::string& bytes) {
    return WithRetries(path, [&] {
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
}

uint32_t WriteToOpenFile(const FileHandle& file, const void* data, uint32_t size) {
    return fileWriter(file.Get(), data, size);
}

std::wstring TemporaryNameFor(const std::wstring& path) {
    static unsigned count = 0;
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(count++) + L".tmp";
}

bool MoveOver(const std::wstring& temporary, const std::wstring& target) {
    return WithRetries(target, [&] {
        return MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
}

}  // namespace Meteorni
