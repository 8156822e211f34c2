#include "scores/text_format.h"

#include "framework/shell.h"

#include <windows.h>

namespace Meteorni {

namespace {

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::string ZeroPad(int64_t value, int32_t width) {
    // Built from the magnitude so that the smallest 64-bit value has digits too.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (value >= 0) return PadLeft(digits, '0', width);
    std::string negative(1, '-');
    negative += PadLeft(digits, '0', width - 1);
    return negative;
}

std::string PadRight(const std::string& text, char fill, int32_t width) {
    std::string padded = text;
    if (width > 0 && padded.size() < static_cast<size_t>(width)) padded.append(width - padded.size(), fill);
    return padded;
}

std::string PadLeft(const std::string& text, char fill, int32_t width) {
    if (width <= 0 || text.size() >= static_cast<size_t>(width)) return text;
    return std::string(width - text.size(), fill) + text;
}

std::wstring EnsureTrailingBackslash(const std::wstring& path) {
    if (path.empty() || path.back() == L'\\' || path.back() == L'/') return path;
    return path + L"\\";
}

bool MakeFolder(const std::wstring& path) {
    if (path.empty()) return false;
    // The long form, so that a folder deep in a long profile path is made too.
    std::wstring folder = Orditex::LongPathForm(path);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
    // Already there (perhaps made a moment ago by another copy of the game).
    return IsFolder(folder);
}

}  // namespace Meteorni
