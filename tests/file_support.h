// Whole-file reads and writes for tests, through wide names so that folders
// with any name work.
#pragma once

#include "framework/shell.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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
