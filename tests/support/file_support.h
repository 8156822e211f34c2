// Files and folders for tests, through wide names so that folders with any
// name and at any depth work: whole-file reads and writes, private temporary
// folders, and removing a tree.
#pragma once

#include "framework/shell.h"

#include <gtest/gtest.h>

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
std::wstring SystemTemporaryFolder();

// Names in a folder (no "." or ".."), found through the long form so that a
// folder past MAX_PATH lists too.
std::vector<std::string> FolderEntries(const std::wstring& folder);

// Deletes a file, or a folder and everything in it, at any path length.
void RemoveTree(const std::wstring& path);

// A fresh, empty folder of its own in the system's temporary folder, named
// meteorni_<name>_<process>_<number> (the name may hold any characters), and
// removed with everything in it when it goes.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::wstring& name);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::wstring& Path() const { return path; }
    // For code that takes narrow paths; exact only for a folder named in ASCII.
    std::string NarrowPath() const { return Orditex::ToNarrow(path); }

private:
    std::wstring path;
};

}  // namespace TestSupport
