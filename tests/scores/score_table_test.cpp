#include "file_support.h"
#include "framework/shell.h"
#include "scores/score_table.h"
#include "scores/text_format.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace Meteorni;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> FolderEntries(const std::wstring& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(folder)))
        names.push_back(Orditex::ToNarrow(entry.path().filename().wstring()));
    return names;
}

// Plain appends: GCC 12 warns falsely about "literal" + std::string&&.
std::string Numbered(const char* prefix, int number) {
    std::string text(prefix);
    text += std::to_string(number);
    return text;
}

int errorBoxes = 0;
void CountErrorBox(const std::string&, const std::string&) {
    ++errorBoxes;
}

// Writes whole lines until `linesBeforeFailure` have gone through, then half
// of the next one and reports the short count, as a full disk would.
int linesBeforeFailure = 0;
size_t FailingWriter(const void* data, size_t size, std::FILE* stream) {
    if (linesBeforeFailure-- > 0) return std::fwrite(data, 1, size, stream);
    return std::fwrite(data, 1, size / 2, stream);
}

// A private local-application-data folder per test, named as players outside
// Western Europe name theirs: no narrow code page holds all of it.
class ScoreTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        appData = std::wstring(temp) + L"meteorni_scores_Łukasz_Дмитрий_王伟_" + std::to_wstring(GetCurrentProcessId());
        fs::remove_all(fs::path(appData));
        ASSERT_TRUE(MakeFolder(appData));
        Orditex::SetLocalAppDataOverride(appData);
        errorBoxes = 0;
        Orditex::SetErrorReporter(CountErrorBox);
    }
    void TearDown() override {
        SetStreamWriter(nullptr);
        Orditex::SetErrorReporter(nullptr);
        Orditex::SetLocalAppDataOverride(L"");
        fs::remove_all(fs::path(appData));
    }

    std::wstring GameFolder() const { return appData + L"\\Meteorni"; }
    std::wstring ScoreFolderPath() const { return GameFolder() + L"\\Score"; }
    std::wstring TablePath() const { return ScoreFolderPath() + L"\\Classifica.txt"; }
    std::string Table() const { return ReadBytes(TablePath()); }

    static std::string GameText(const std::string& name, int level) {
        return PadRight(name, ' ', 12) + " Level " + std::to_string(level);
    }

    void SeedTable(const std::string& bytes) {
        ASSERT_TRUE(MakeFolder(GameFolder()));
        ASSERT_TRUE(MakeFolder(ScoreFolderPath()));
        WriteBytes(TablePath(), bytes);
    }

    std::wstring appData;
};

}  // namespace

TEST_F(ScoreTableTest, FirstAddMakesBothFoldersAndAOneLineFile) {
    EXPECT_FALSE(Orditex::FileExists(GameFolder()));
    ScoreTable table("Meteorni");
    EXPECT_TRUE(table.Load().empty());
    EXPECT_FALSE(table.failed) << "no table yet is not an error";

    ASSERT_TRUE(table.Add(1250, GameText("Anna", 3)));
    EXPECT_FALSE(table.failed);
    EXPECT_EQ(ScoreTable::ScoreFolder("Meteorni"), ScoreFolderPath() + L"\\");
    EXPECT_EQ(Table(), "00001250 Anna         Level 3\r\n");
    EXPECT_EQ(ScoreTable("Meteorni").Load(), std::vector<std::string>{"00001250 Anna         Level 3"});
    // The temporary file took the table's place; nothing else is left behind.
    EXPECT_EQ(FolderEntries(ScoreFolderPath()), std::vector<std::string>{"Classifica.txt"});
}

TEST_F(ScoreTableTest, KeepsTheBestTenAndIgnoresAResultBelowThem) {
    for (int i = 1; i <= 10; ++i) ASSERT_TRUE(ScoreTable("Meteorni").Add(i * 100, GameText(Numbered("P", i), i)));
    ASSERT_TRUE(ScoreTable("Meteorni").Add(5000, GameText("Best", 9)));

    std::vector<std::string> lines = ScoreTable("Meteorni").Load();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.front(), "00005000 " + GameText("Best", 9));
    EXPECT_EQ(lines[1], "00001000 " + GameText("P10", 10));
    EXPECT_EQ(lines.back(), "00000200 " + GameText("P2", 2)) << "the old lowest result is dropped";

    std::string before = Table();
    ASSERT_TRUE(ScoreTable("Meteorni").Add(50, GameText("Last", 1)));
    EXPECT_EQ(Table(), before);
}

TEST_F(ScoreTableTest, ScorePrefixHasEightDigitsAndKeepsTheLastEight) {
    ASSERT_TRUE(ScoreTable("Meteorni").Add(0, "zero"));
    ASSERT_TRUE(ScoreTable("Meteorni").Add(123456789, "long"));
    ASSERT_TRUE(ScoreTable("Meteorni").Add(99999999, "max"));
    // 123456789 keeps "23456789", so it sorts below 99999999.
    EXPECT_EQ(Table(), "99999999 max\r\n23456789 long\r\n00000000 zero\r\n");
}

TEST_F(ScoreTableTest, EqualScoresSortByTheRestOfTheLineDescending) {
    ASSERT_TRUE(ScoreTable("Meteorni").Add(700, GameText("Anna", 2)));
    ASSERT_TRUE(ScoreTable("Meteorni").Add(700, GameText("Zeno", 2)));
    ASSERT_TRUE(ScoreTable("Meteorni").Add(700, GameText("Anna", 2)));  // no duplicate check
    EXPECT_EQ(ScoreTable("Meteorni").Load(),
              (std::vector<std::string>{"00000700 " + GameText("Zeno", 2), "00000700 " + GameText("Anna", 2),
                                        "00000700 " + GameText("Anna", 2)}));
}

TEST_F(ScoreTableTest, SortIsByUnsignedBytes) {
    // An accented name (byte 0xC8) sorts above plain ASCII at an equal score.
    ASSERT_TRUE(ScoreTable("Meteorni").Add(10, "Zeno"));
    ASSERT_TRUE(ScoreTable("Meteorni").Add(10, "\xC8rica"));
    EXPECT_EQ(Table(), "00000010 \xC8rica\r\n00000010 Zeno\r\n");
}

TEST_F(ScoreTableTest, ANulOrALineBreakInTheTextCannotCutOrSplitTheLine) {
    ASSERT_TRUE(ScoreTable("Meteorni").Add(50, std::string("ZOE\0X Level 3", 13)));
    ASSERT_TRUE(ScoreTable("Meteorni").Add(40, "two\nlines"));
    EXPECT_EQ(Table(), "00000050 ZOE?X Level 3\r\n00000040 two?lines\r\n");
}

TEST_F(ScoreTableTest, LongNameStaysWhole) {
    ASSERT_TRUE(ScoreTable("Meteorni").Add(300, GameText("Massimiliano Rossi", 4)));
    EXPECT_EQ(Table(), "00000300 Massimiliano Rossi Level 4\r\n");
}

TEST_F(ScoreTableTest, EmptyLineSortsLastAndSurvives) {
    SeedTable("00000100 a\r\n\r\n00000200 b\r\n");
    EXPECT_EQ(ScoreTable("Meteorni").Load(), (std::vector<std::string>{"00000100 a", "", "00000200 b"}));
    ASSERT_TRUE(ScoreTable("Meteorni").Add(300, "c"));
    EXPECT_EQ(Table(), "00000300 c\r\n00000200 b\r\n00000100 a\r\n\r\n");
}

TEST_F(ScoreTableTest, HandEditedJunkLoadsAndTheNextAddKeepsTheBestTen) {
    std::string junk;
    for (int i = 1; i <= 20; ++i) junk += ZeroPad(i * 10, 8) + " line " + std::to_string(i) + "\r\n";
    junk += std::string("00000999 before nul\0after nul\r\n", 31);
    junk += "00000500 old mac\r00000400 style\r\n";  // a lone CR stays inside the line
    junk += "\xFF\xFE\x01\x1A\x80 binary\r\n";       // Ctrl+Z must not end the file
    junk += "00000600 unix break\n";
    junk += "00000050 no final break";
    SeedTable(junk);

    std::vector<std::string> lines = ScoreTable("Meteorni").Load();
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[20], "00000999 before nul");
    EXPECT_EQ(lines[21], "00000500 old mac\r00000400 style");
    EXPECT_EQ(lines[22], "\xFF\xFE\x01\x1A\x80 binary");
    EXPECT_EQ(lines[23], "00000600 unix break");
    EXPECT_EQ(lines[24], "00000050 no final break");

    ASSERT_TRUE(ScoreTable("Meteorni").Add(550, "new"));
    lines.push_back("00000550 new");
    std::sort(lines.begin(), lines.end(), std::greater<std::string>());
    lines.resize(10);
    EXPECT_EQ(ScoreTable("Meteorni").Load(), lines);
    EXPECT_EQ(ScoreTable("Meteorni").Load().front(), "\xFF\xFE\x01\x1A\x80 binary");
}

TEST_F(ScoreTableTest, UnwritablePlaceFailsQuietly) {
    WriteBytes(GameFolder(), "a plain file where the game's folder belongs");
    ScoreTable table("Meteorni");
    EXPECT_TRUE(table.Load().empty());
    EXPECT_TRUE(table.failed);
    EXPECT_FALSE(table.Add(100, "x"));
    EXPECT_TRUE(table.failed);
    EXPECT_FALSE(table.Save({"00000100 x"}));
    EXPECT_TRUE(table.failed);
    EXPECT_EQ(ScoreTable::ScoreFolder("Meteorni"), L"");

    Orditex::SetLocalAppDataOverride(appData + L"\\missing\\deeper");
    EXPECT_FALSE(table.Add(100, "x"));
    EXPECT_TRUE(table.failed);
    EXPECT_EQ(errorBoxes, 0);
}

TEST_F(ScoreTableTest, WriteFailingPartWayKeepsThePreviousTable) {
    for (int i = 1; i <= 5; ++i) ASSERT_TRUE(ScoreTable("Meteorni").Add(i * 100, Numbered("p", i)));
    std::string before = Table();

    linesBeforeFailure = 2;
    SetStreamWriter(FailingWriter);
    ScoreTable table("Meteorni");
    EXPECT_FALSE(table.Add(9000, "lost"));
    EXPECT_TRUE(table.failed);
    EXPECT_EQ(Table(), before);
    EXPECT_EQ(FolderEntries(ScoreFolderPath()), std::vector<std::string>{"Classifica.txt"})
        << "the half-written temporary file is removed";

    SetStreamWriter(nullptr);
    EXPECT_TRUE(table.Add(9000, "kept"));
    EXPECT_FALSE(table.failed);
    EXPECT_EQ(ScoreTable("Meteorni").Load().front(), "00009000 kept");
    EXPECT_EQ(ScoreTable("Meteorni").Load().size(), 6u);
}

TEST_F(ScoreTableTest, TableThatCannotBeOpenedIsNeitherReadNorOverwritten) {
    SeedTable("00000800 kept\r\n00000700 too\r\n");
    HANDLE lock =
        CreateFileW(TablePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ScoreTable table("Meteorni");
    EXPECT_TRUE(table.Load().empty());
    EXPECT_FALSE(table.failed);
    EXPECT_FALSE(table.Add(900, "would wipe the table"));
    CloseHandle(lock);
    EXPECT_EQ(Table(), "00000800 kept\r\n00000700 too\r\n");
}

TEST_F(ScoreTableTest, TextFileReportsWhatItCouldNotOpen) {
    TextFile missing(appData + L"\\no such file.txt");
    EXPECT_TRUE(missing.ReadLines().empty());
    EXPECT_TRUE(missing.failed);
    EXPECT_TRUE(missing.notOpened);

    TextFile nowhere(appData + L"\\no such folder\\file.txt");
    EXPECT_FALSE(nowhere.WriteLines({"x"}));
    EXPECT_TRUE(nowhere.failed);
    EXPECT_TRUE(nowhere.notOpened);

    TextFile empty(appData + L"\\empty.txt");
    EXPECT_TRUE(empty.WriteLines({}));
    EXPECT_EQ(ReadBytes(empty.path), "");
    EXPECT_TRUE(empty.ReadLines().empty());
    EXPECT_FALSE(empty.failed);
}

TEST(TextFormat, PaddingNeverCuts) {
    EXPECT_EQ(ZeroPad(1250, 8), "00001250");
    EXPECT_EQ(ZeroPad(0, 8), "00000000");
    EXPECT_EQ(ZeroPad(123456789, 8), "123456789");
    EXPECT_EQ(ZeroPad(7, 0), "7");
    EXPECT_EQ(ZeroPad(-42, 5), "-0042");
    EXPECT_EQ(ZeroPad(INT64_MIN, 1), "-9223372036854775808");

    EXPECT_EQ(PadRight("Anna", ' ', 12), "Anna        ");
    EXPECT_EQ(PadRight("Massimiliano Rossi", ' ', 12), "Massimiliano Rossi");
    EXPECT_EQ(PadRight("", '.', 3), "...");
    EXPECT_EQ(PadRight("abc", '.', -1), "abc");
    EXPECT_EQ(PadLeft("7", ' ', 3), "  7");
    EXPECT_EQ(PadLeft("12345", ' ', 3), "12345");
    EXPECT_EQ(PadLeft("abc", '.', -1), "abc");
}

TEST(TextFormat, EnsureTrailingBackslash) {
    EXPECT_EQ(EnsureTrailingBackslash(L""), L"");
    EXPECT_EQ(EnsureTrailingBackslash(L"C:/games/"), L"C:/games/");
    EXPECT_EQ(EnsureTrailingBackslash(L"C:\\games\\"), L"C:\\games\\");
    EXPECT_EQ(EnsureTrailingBackslash(L"C:\\games"), L"C:\\games\\");
}

TEST_F(ScoreTableTest, MakeFolderOnlyAnswersTrueForAFolder) {
    EXPECT_TRUE(MakeFolder(appData));  // already there
    EXPECT_TRUE(MakeFolder(appData + L"\\new"));
    EXPECT_TRUE(Orditex::FileExists(appData + L"\\new"));
    EXPECT_FALSE(MakeFolder(appData + L"\\a\\b")) << "one level only";
    WriteBytes(appData + L"\\file", "x");
    EXPECT_FALSE(MakeFolder(appData + L"\\file"));
    EXPECT_FALSE(MakeFolder(L""));
}
