#include "framework/shell.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>
#include <ctime>
#include <io.h>

namespace Orditex {

namespace {

LocalClock localClock = nullptr;
ErrorReporter errorReporter = nullptr;
std::wstring localAppDataOverride;
bool randomSeeded = false;

SYSTEMTIME ReadLocalClock() {
    if (localClock) return localClock();
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

bool ToFileTime(const SYSTEMTIME& moment, ULARGE_INTEGER& value) {
    FILETIME file;
    if (!SystemTimeToFileTime(&moment, &file)) return false;
    value.LowPart = file.dwLowDateTime;
    value.HighPart = file.dwHighDateTime;
    return true;
}

}  // namespace

std::wstring ToWide(const std::string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (char c : text) {
        if (c == '\0') break;
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

std::string ToNarrow(const std::wstring& text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text) narrow.push_back(static_cast<char>(c & 0xFF));
    return narrow;
}

namespace {

// count code units in the ANSI code page; replaced, when given, tells whether
// any had to become the replacement character. A UTF-8 code page (a Windows
// option) takes neither the no-best-fit flag nor a replacement of our choice,
// and holds every whole character anyway.
std::string NarrowToCodePage(const wchar_t* text, int count, BOOL* replaced) {
    if (count <= 0) return std::string();
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* fallback = utf8 ? nullptr : "?";
    if (utf8) replaced = nullptr;
    int size = WideCharToMultiByte(CP_ACP, flags, text, count, nullptr, 0, fallback, replaced);
    if (size <= 0) return std::string();
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, text, count, narrow.data(), size, fallback, replaced);
    return narrow;
}

}  // namespace

std::string ToCodePage(const std::wstring& text) {
    size_t end = text.find(L'\0');
    return NarrowToCodePage(text.data(), static_cast<int>(end == std::wstring::npos ? text.size() : end), nullptr);
}

std::wstring FromCodePage(const std::string& text) {
    size_t end = text.find('\0');
    int count = static_cast<int>(end == std::string::npos ? text.size() : end);
    if (count == 0) return std::wstring();
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), count, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), count, wide.data(), size);
    return wide;
}

bool CodePageHolds(wchar_t character) {
    // Half of a surrogate pair is no character of any code page.
    if (character >= 0xD800 && character <= 0xDFFF) return false;
    BOOL replaced = FALSE;
    return !NarrowToCodePage(&character, 1, &replaced).empty() && !replaced;
}

std::string ReplaceChar(const std::string& text, char from, char to) {
    std::string copy = text;
    for (char& c : copy)
        if (c == from) c = to;
    return copy;
}

std::string FolderOf(const std::string& path) {
    std::string p = ReplaceChar(path, '/', '\\');
    size_t slash = p.rfind('\\');
    if (slash != std::string::npos) return p.substr(0, slash + 1);
    size_t colon = p.rfind(':');
    if (colon != std::string::npos) return p.substr(0, colon + 1);
    return std::string();
}

std::string FileNameOf(const std::string& path) {
    std::string folder = FolderOf(path);
    if (folder.empty()) return path;
    return path.substr(folder.size());
}

bool FileExists(const std::string& path) {
    return FileExists(ToWide(path));
}

bool FileExists(const std::wstring& path) {
    return _waccess(path.c_str(), 0) == 0;
}

std::wstring LongPathForm(const std::wstring& path) {
    if (path.empty() || path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) return path;
    // The first call tells the size the full path needs, terminator included.
    // A relative path whose working folder changes in between may need more
    // the second time; then the path is left alone.
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    return path;
}

bool OpenUrl(const std::wstring& text) {
    HINSTANCE result = ShellExecuteW(nullptr, L"open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void ShowError(const std::string& text, const std::string& caption) {
    if (errorReporter) {
        errorReporter(text, caption);
        return;
    }
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_ICONERROR | MB_TASKMODAL);
}

std::wstring GetLocalAppDataFolder() {
    if (!localAppDataOverride.empty()) return localAppDataOverride;
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return std::wstring();
    std::wstring folder = buffer;
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

TimeStamp::TimeStamp() : time{}, invalid(false) {
    time.wYear = 1900;
    time.wMonth = 1;
    time.wDay = 1;
    FILETIME file;
    if (!SystemTimeToFileTime(&time, &file))
        invalid = true;
    else
        FileTimeToSystemTime(&file, &time);  // fills in the day of the week
}

TimeStamp::TimeStamp(const SYSTEMTIME& moment) : time(moment), invalid(false) {
    ULARGE_INTEGER unused;
    invalid = !ToFileTime(time, unused);
}

TimeStamp TimeStamp::Now() {
    return TimeStamp(ReadLocalClock());
}

int64_t TimeStamp::MillisecondsUntil(const TimeStamp& other) const {
    ULARGE_INTEGER from, to;
    if (invalid || !ToFileTime(time, from) || !ToFileTime(other.time, to)) return 0;
    return (static_cast<int64_t>(to.QuadPart) - static_cast<int64_t>(from.QuadPart)) / 10000;
}

int32_t TimeStamp::CompareTo(const TimeStamp& other) const {
    FILETIME self, them;
    if (invalid || !SystemTimeToFileTime(&time, &self) || !SystemTimeToFileTime(&other.time, &them)) return 0;
    return CompareFileTime(&self, &them);
}

TimeStamp TimeStamp::PlusInterlude() const {
    return PlusMilliseconds(1500);
}

TimeStamp TimeStamp::PlusMilliseconds(int64_t milliseconds) const {
    ULARGE_INTEGER value;
    if (invalid || !ToFileTime(time, value)) return *this;
    value.QuadPart += static_cast<ULONGLONG>(milliseconds * 10000);
    FILETIME file;
    file.dwLowDateTime = value.LowPart;
    file.dwHighDateTime = value.HighPart;
    TimeStamp moved = *this;
    if (!FileTimeToSystemTime(&file, &moved.time)) moved.invalid = true;
    return moved;
}

int32_t RandomInt(int32_t low, int32_t high) {
    // An empty range has no value to draw from; answering low keeps callers
    // away from a division by zero.
    if (high < low) return low;
    if (!randomSeeded) {
        std::srand(static_cast<unsigned int>(std::time(nullptr)));
        randomSeeded = true;
    }
    if (low == 1) return std::rand() % high + 1;
    return RandomInt(1, high - low + 1) + low - 1;
}

void SetLocalClock(LocalClock clock) {
    localClock = clock;
}

void SeedRandom(unsigned int seed) {
    std::srand(seed);
    randomSeeded = true;
}

void SetErrorReporter(ErrorReporter reporter) {
    errorReporter = reporter;
}

void SetLocalAppDataOverride(const std::wstring& folder) {
    localAppDataOverride = folder;
}

}  // namespace Orditex
