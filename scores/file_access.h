// The file operations the table is read and replaced with, patient with other
// programs: antivirus scanners, backup, indexing and cloud-sync programs open
// files for short moments. An open, a read or a replace that fails because
// another program holds the file (a sharing or lock violation, or access
// denied on a plain file) is tried again a few times with a growing pause,
// for less than a second in all, before it counts as failed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace Meteorni {

// Test seam: how TextFile puts bytes into its open file (a Win32 file handle),
// returning the count written. The production writer is WriteFile; nullptr
// restores it.
using FileWriter = uint32_t (*)(void* file, const void* data, uint32_t size);
void SetFileWriter(FileWriter writer);

// Test seam: how TextFile takes the next bytes from its open file, as
// ReadFile does: false (with the last error set) when the read fails, else
// true and the count read, 0 at the end. nullptr restores ReadFile.
using FileReader = bool (*)(void* file, void* data, uint32_t size, uint32_t* got);
void SetFileReader(FileReader reader);

// What CreateFileW gives for a file it could not open.
// cppcheck-suppress cstyleCast ; the cast is inside the Windows headers' macro
inline HANDLE const kNoFile = INVALID_HANDLE_VALUE;  // NOLINT(misc-misplaced-const): the handle itself is the constant

// CreateFileW, tried again while another program holds the file; kNoFile
// (with the last error of the last try) when it cannot be opened.
HANDLE OpenWithRetries(const std::wstring& path, DWORD access, DWORD sharing, DWORD disposition);

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

// Every byte of the open file at path into bytes, read from its start through
// the reader SetFileReader installed; false when a read fails for good.
bool ReadWholeFile(const FileHandle& file, const std::wstring& path, std::string& bytes);

// Puts size bytes into the open file through the writer SetFileWriter
// installed; the count written.
uint32_t WriteToOpenFile(const FileHandle& file, const void* data, uint32_t size);

// A name for the temporary file beside path that no other copy of the game
// and no earlier write of this one uses: the process id and a count.
std::wstring TemporaryNameFor(const std::wstring& path);

// Moves the file temporary to target, replacing the file there, and returns
// only once the move is on the disk.
bool MoveOver(const std::wstring& temporary, const std::wstring& target);

}  // namespace Meteorni
