// Small helpers shared by the whole program: text conversion, paths, files,
// the shell, error boxes, calendar time stamps and random draws.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace Orditex {

// The program's own narrow texts (its literals, the picture names) map byte
// for byte: each byte becomes the 16-bit code unit of the same value and back.
std::wstring ToWide(const std::string& text);
std::string ToNarrow(const std::wstring& text);

// Text that comes from the user (typed or pasted into a control) and the
// stored text made from it go through the system's ANSI code page: a typed
// euro sign is stored as the code page's euro byte (0x80 in 1252) and shown
// as a euro sign again. A character the code page cannot hold becomes "?"
// (never a look-alike); both conversions end at the first NUL.
std::string ToCodePage(const std::wstring& text);
std::wstring FromCodePage(const std::string& text);
// True when the code page holds the character exactly.
bool CodePageHolds(wchar_t character);

std::string ReplaceChar(const std::string& text, char from, char to);

// Folder part of a path with its final separator ("\\" after normalising "/"),
// or up to a drive colon, or empty.
std::string FolderOf(const std::string& path);
// What follows FolderOf; the whole path when it has no folder part.
std::string FileNameOf(const std::string& path);
// True for an existing file or folder.
bool FileExists(const std::string& path);
bool FileExists(const std::wstring& path);

// The form of a path that the file calls take at any length, also past
// MAX_PATH: the full path with "/" turned into "\", "." and ".." resolved
// (that form is taken literally), then "\\?\" in front of a drive path or
// "\\?\UNC\" in place of the "\\" of a network path. A path already in that
// form, or one that cannot be resolved, comes back as it is.
std::wstring LongPathForm(const std::wstring& path);

// Asks the shell to open a web address or a document (a wide path, so that
// any folder name works); false when it refuses.
bool OpenUrl(const std::wstring& text);

// Task-modal error box with no owner window; returns when it is closed.
void ShowError(const std::string& text, const std::string& caption);

// The per-user, non-roaming application-data folder without a trailing
// separator, or empty. Wide, as the shell gives it: a user folder may have
// any name (Cyrillic, Chinese), which no narrow code page can hold.
std::wstring GetLocalAppDataFolder();

// Local calendar date and time with millisecond resolution. A fresh value is
// 1 January 1900 00:00:00.000, which the game reads as "not set".
class TimeStamp {
public:
    TimeStamp();
    explicit TimeStamp(const SYSTEMTIME& moment);

    // The current local time (through the clock source below).
    static TimeStamp Now();

    // Milliseconds from this moment to other, negative when other is earlier;
    // 0 when either value cannot be converted.
    int64_t MillisecondsUntil(const TimeStamp& other) const;
    // -1, 0 or 1 as this moment is earlier than, equal to or later than other.
    int32_t CompareTo(const TimeStamp& other) const;
    // The same moment 1.5 seconds later.
    TimeStamp PlusInterlude() const;
    // The same moment shifted by a number of milliseconds (negative: earlier).
    TimeStamp PlusMilliseconds(int64_t milliseconds) const;

    const SYSTEMTIME& Time() const { return time; }
    bool IsInvalid() const { return invalid; }

private:
    SYSTEMTIME time;
    bool invalid;
};

// A pseudo-random integer from low to high inclusive. The generator is seeded
// from the clock on the first draw of the run.
int32_t RandomInt(int32_t low, int32_t high);

// Test seams. The production paths are GetLocalTime, the time-seeded
// generator, the task-modal message box and the shell's folder lookup.
using LocalClock = SYSTEMTIME (*)();
void SetLocalClock(LocalClock clock);  // nullptr restores GetLocalTime
void SeedRandom(unsigned int seed);    // seeds now and counts as seeded
using ErrorReporter = void (*)(const std::string& text, const std::string& caption);
void SetErrorReporter(ErrorReporter reporter);             // nullptr restores the box
void SetLocalAppDataOverride(const std::wstring& folder);  // empty restores the shell

}  // namespace Orditex
