#include "framework/shell.h"
#include "support/fakes.h"
#include "support/file_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <set>

using namespace Orditex;
using namespace TestSupport;

namespace {

// A path and the two parts FolderOf and FileNameOf cut it into.
struct Split {
    const char* path;
    const char* folder;
    const char* fileName;
};

void ExpectSplits(std::initializer_list<Split> splits) {
    for (const Split& split : splits) {
        EXPECT_EQ(FolderOf(split.path), split.folder) << split.path;
        EXPECT_EQ(FileNameOf(split.path), split.fileName) << split.path;
    }
}

}  // namespace

TEST(Paths, FolderAndFileNameWithEitherSeparator) {
    ExpectSplits({{"a/b/c.txt", "a\\b\\", "c.txt"},
                  {"..\\images_games\\logo.bmp", "..\\images_games\\", "logo.bmp"},
                  {"a\\b/c.bmp", "a\\b\\", "c.bmp"}});
}

TEST(Paths, DriveLettersAndBareNames) {
    ExpectSplits({{"C:x.bmp", "C:", "x.bmp"},
                  {"C:\\games\\x.bmp", "C:\\games\\", "x.bmp"},
                  {"C:/x.bmp", "C:\\", "x.bmp"},
                  {"logo.bmp", "", "logo.bmp"},
                  {"", "", ""},
                  {"folder\\", "folder\\", ""}});
}

TEST(Paths, ReplaceCharReplacesEveryOccurrenceOnly) {
    EXPECT_EQ(ReplaceChar("a/b//c", '/', '\\'), "a\\b\\\\c");
    EXPECT_EQ(ReplaceChar("abc", 'x', 'y'), "abc");
}

TEST(Paths, LongPathFormIsTheResolvedPathWithItsPrefix) {
    // Taken literally by the file calls: separators, "." and ".." resolved first.
    EXPECT_EQ(LongPathForm(L"C:/games/./x/../Meteorni\\Score"), L"\\\\?\\C:\\games\\Meteorni\\Score");
    EXPECT_EQ(LongPathForm(L"\\\\server\\share\\a\\..\\Classifica.txt"), L"\\\\?\\UNC\\server\\share\\Classifica.txt");
    // Already in that form (or a device path): left as it is, dots and all.
    EXPECT_EQ(LongPathForm(L"\\\\?\\C:\\a\\..\\b"), L"\\\\?\\C:\\a\\..\\b");
    EXPECT_EQ(LongPathForm(L"\\\\.\\pipe\\x"), L"\\\\.\\pipe\\x");
    EXPECT_EQ(LongPathForm(L""), L"");
    // Past MAX_PATH the path stays whole.
    std::wstring deep = L"C:\\" + std::wstring(150, L'a') + L"\\" + std::wstring(150, L'b') + L"\\Classifica.txt";
    EXPECT_EQ(LongPathForm(deep), L"\\\\?\\" + deep);
    // A relative path is resolved against the working folder.
    wchar_t working[MAX_PATH];
    DWORD length = GetCurrentDirectoryW(MAX_PATH, working);
    ASSERT_GT(length, 2u);
    std::wstring expected = L"\\\\?\\" + std::wstring(working, length);
    if (expected.back() != L'\\') expected += L'\\';
    EXPECT_EQ(LongPathForm(L"Classifica.txt"), expected + L"Classifica.txt");
}

TEST(Files, ExistsForFilesAndFoldersOnly) {
    TemporaryFolder temporary(L"exists");
    std::string folder = temporary.NarrowPath();
    std::string file = folder + "\\exists.tmp";
    ASSERT_NO_FATAL_FAILURE(WriteBytes(file, ""));
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(folder));
    std::remove(file.c_str());
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(FileExists(""));
}

TEST(Text, WideAndNarrowRoundTripEveryNonNulByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    std::wstring wide = ToWide(all);
    ASSERT_EQ(wide.size(), 255u);
    for (int b = 1; b < 256; ++b) EXPECT_EQ(static_cast<int>(wide[b - 1]), b);
    EXPECT_EQ(ToNarrow(wide), all);
}

TEST(Text, WideStopsAtNulAndNarrowKeepsTheLowByte) {
    EXPECT_EQ(ToWide(std::string("ab\0cd", 5)), L"ab");
    EXPECT_EQ(ToNarrow(std::wstring(1, static_cast<wchar_t>(0x1241))), "\x41");
    EXPECT_EQ(ToWide("\xB0"), std::wstring(1, static_cast<wchar_t>(0xB0)));
}

TEST(TimeStamps, FreshValueIsTheSentinel) {
    TimeStamp fresh;
    EXPECT_EQ(fresh.Time().wYear, 1900);
    EXPECT_EQ(fresh.Time().wMonth, 1);
    EXPECT_EQ(fresh.Time().wDay, 1);
    EXPECT_EQ(fresh.Time().wDayOfWeek, 1);  // 1 January 1900 was a Monday
    EXPECT_FALSE(fresh.IsInvalid());
    EXPECT_EQ(fresh.CompareTo(TimeStamp()), 0);
}

TEST(TimeStamps, DifferencesAcrossDayMonthAndYearEnds) {
    TimeStamp noon(Moment(2026, 3, 14, 12, 0, 0, 0));
    TimeStamp later(Moment(2026, 3, 14, 12, 0, 1, 500));
    EXPECT_EQ(noon.MillisecondsUntil(later), 1500);
    EXPECT_EQ(later.MillisecondsUntil(noon), -1500);

    TimeStamp beforeMidnight(Moment(2026, 3, 14, 23, 59, 59, 990));
    TimeStamp afterMidnight(Moment(2026, 3, 15, 0, 0, 0, 10));
    EXPECT_EQ(beforeMidnight.MillisecondsUntil(afterMidnight), 20);

    TimeStamp monthEnd(Moment(2028, 2, 29, 23, 59, 59, 999));  // leap day
    TimeStamp monthStart(Moment(2028, 3, 1, 0, 0, 0, 19));
    EXPECT_EQ(monthEnd.MillisecondsUntil(monthStart), 20);

    TimeStamp yearEnd(Moment(2026, 12, 31, 23, 59, 59, 980));
    TimeStamp yearStart(Moment(2027, 1, 1, 0, 0, 0, 0));
    EXPECT_EQ(yearEnd.MillisecondsUntil(yearStart), 20);
    EXPECT_EQ(yearStart.MillisecondsUntil(yearEnd), -20);
}

TEST(TimeStamps, SentinelToNowIsHuge) {
    TimeStamp sentinel;
    TimeStamp now(Moment(2026, 12, 7, 10, 0, 0, 0));
    EXPECT_GT(sentinel.MillisecondsUntil(now), 3'000'000'000'000LL);
    EXPECT_EQ(sentinel.CompareTo(now), -1);
    EXPECT_EQ(now.CompareTo(sentinel), 1);
}

TEST(TimeStamps, InvalidValuesGiveZero) {
    TimeStamp broken(Moment(2026, 13, 40, 25, 0, 0, 0));
    TimeStamp good(Moment(2026, 1, 1, 0, 0, 0, 0));
    EXPECT_TRUE(broken.IsInvalid());
    EXPECT_EQ(broken.MillisecondsUntil(good), 0);
    EXPECT_EQ(good.MillisecondsUntil(broken), 0);
    EXPECT_EQ(good.CompareTo(broken), 0);
    EXPECT_TRUE(broken.PlusInterlude().IsInvalid());
}

TEST(TimeStamps, InterludeIsOneAndAHalfSecondsAcrossAYearEnd) {
    TimeStamp start(Moment(2026, 12, 31, 23, 59, 59, 0));
    TimeStamp end = start.PlusInterlude();
    EXPECT_EQ(start.MillisecondsUntil(end), 1500);
    EXPECT_EQ(end.Time().wYear, 2027);
    EXPECT_EQ(end.Time().wMonth, 1);
    EXPECT_EQ(end.Time().wSecond, 0);
    EXPECT_EQ(end.Time().wMilliseconds, 500);
    EXPECT_EQ(end.CompareTo(start), 1);
}

TEST(TimeStamps, ShiftsBackwardsAcrossMidnight) {
    TimeStamp start(Moment(2026, 10, 25, 0, 0, 0, 200));
    TimeStamp earlier = start.PlusMilliseconds(-400);
    EXPECT_EQ(earlier.Time().wDay, 24);
    EXPECT_EQ(earlier.Time().wHour, 23);
    EXPECT_EQ(earlier.Time().wMilliseconds, 800);
    EXPECT_EQ(earlier.MillisecondsUntil(start), 400);
}

TEST(TimeStamps, NowReadsTheClockSource) {
    UseFakeClock(Moment(2026, 6, 1, 8, 30, 0, 250));
    TimeStamp now = TimeStamp::Now();
    StopFakeClock();
    EXPECT_EQ(now.Time().wHour, 8);
    EXPECT_EQ(now.Time().wMilliseconds, 250);
    TimeStamp real = TimeStamp::Now();
    EXPECT_GE(real.Time().wYear, 2024);
}

TEST(Random, StaysInsideTheRangeAndReachesEveryValue) {
    SeedRandom(12345);
    const int32_t ranges[][2] = {{50, 100}, {1, 755}, {-5, 5}};
    for (const auto& [low, high] : ranges) {
        std::set<int32_t> seen;
        for (int i = 0; i < 20000; ++i) {
            int32_t v = RandomInt(low, high);
            ASSERT_GE(v, low);
            ASSERT_LE(v, high);
            seen.insert(v);
        }
        EXPECT_EQ(seen.size(), static_cast<size_t>(high - low + 1)) << low << ".." << high;
    }
}

TEST(Random, SingleValueAndEmptyRanges) {
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(RandomInt(5, 5), 5);
        EXPECT_EQ(RandomInt(1, 1), 1);
    }
    // An empty range (as from a zero-sized play area) answers its low end
    // instead of dividing by zero.
    EXPECT_EQ(RandomInt(1, 0), 1);
    EXPECT_EQ(RandomInt(51, 10), 51);
}

TEST(Random, SameSeedSameDraws) {
    SeedRandom(7);
    int32_t a = RandomInt(1, 1000), b = RandomInt(1, 1000);
    SeedRandom(7);
    EXPECT_EQ(RandomInt(1, 1000), a);
    EXPECT_EQ(RandomInt(1, 1000), b);
}

TEST(Shell, LocalAppDataFolderHasNoTrailingSeparator) {
    std::wstring folder = GetLocalAppDataFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), L'\\');
    EXPECT_TRUE(FileExists(folder));
    SetLocalAppDataOverride(L"C:\\elsewhere");
    EXPECT_EQ(GetLocalAppDataFolder(), L"C:\\elsewhere");
    SetLocalAppDataOverride(L"");
    EXPECT_EQ(GetLocalAppDataFolder(), folder);
}

TEST(Shell, ErrorsGoToTheReporterWhenOneIsSet) {
    CaptureErrorBoxes();
    ShowError("something broke", "Errore");
    StopCapturingErrorBoxes();
    ASSERT_EQ(CapturedErrorBoxes().size(), 1u);
    EXPECT_EQ(CapturedErrorBoxes()[0].text, "something broke");
    EXPECT_EQ(CapturedErrorBoxes()[0].caption, "Errore");
}
