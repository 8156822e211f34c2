// Files and folders for tests, through wide names so that folders with any
// name and at any depth work: whole-file reads and writes, private temporary
// folders, and removing a tree.
#pragma once

#include "framework/shell.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

inline std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return bytes;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

inline std::string ReadBytes(const std::string& path) {
    return ReadBytes(Orditex::ToWide(path));
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    WriteBytes(Orditex::ToWide(path), bytes);
}

namespace TestSupport {

// The system's temporary folder, without a trailing separator.
inline std::wstring SystemTemporaryFolder() {
    wchar_t temp[MAX_PATH + 1];
    std::wstring folder(temp, GetTempPathW(MAX_PATH + 1, temp));
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

// Names in a folder (no "." or ".."), found through the long form so that a
// folder past MAX_PATH lists too.
inline std::vector<std::wstring> WideFolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Orditex::LongPathForm(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}
inline std::vector<std::string> FolderEntries(const std::wstring& folder) {
    std::vector<std::string> names;
    for (const std::wstring& name : WideFolderEntries(folder)) names.push_back(Orditex::ToNarrow(name));
    return names;
}

// Deletes a file, or a folder and everything in it, at any path length.
inline void RemoveTree(const std::wstring& path) {
    std::wstring full = Orditex::LongPathForm(path);
    DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::wstring& name : WideFolderEntries(path)) RemoveTree(path + L"\\" + name);
        RemoveDirectoryW(full.c_str());
    } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
    }
}

// A fresh, empty folder of its own in the system's temporary folder, named
// meteorni_<name>_<process>_<number> (the name may hold any characters), and
// removed with everything in it when it goes.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::wstring& name) {
        // A number of this process not taken yet: a folder left by an
        // earlier process with the same id is passed over, never reused.
        static unsigned next = 0;
        std::wstring stem =
            SystemTemporaryFolder() + L"\\meteorni_" + name + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_";
        do {
            path = stem + std::to_wstring(next++);
        } while (!CreateDirectoryW(Orditex::LongPathForm(path).c_str(), nullptr) &&
                 GetLastError() == ERROR_ALREADY_EXISTS);
    }
    ~TemporaryFolder() { RemoveTree(path); }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::wstring& Path() const { return path; }
    // For code that takes narrow paths; exact only for a folder named in ASCII.
    std::string NarrowPath() const { return Orditex::ToNarrow(path); }

private:
    std::wstring path;
};

}  // namespace TestSupport
