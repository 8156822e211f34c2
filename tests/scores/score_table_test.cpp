#include "score_test_support.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace Meteorni;

namespace {

// Plain appends: GCC 12 warns falsely about "literal" + std::string&&.
std::string Numbered(const char* prefix, int number) {
    std::string text(prefix);
    text += std::to_string(number);
    return text;
}

// Writes whole lines until `linesBeforeFailure` have gone through, then half
// of the next one and reports the short count, as a full disk would.
int linesBeforeFailure = 0;
uint32_t FailingWriter(void* file, const void* data, uint32_t size) {
    DWORD written = 0;
    WriteFile(file, data, linesBeforeFailure-- > 0 ? size : size / 2, &written, nullptr);
    return written;
}

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
    EXPECT_EQ(ErrorBoxes(), 0);
}

TEST_F(ScoreTableTest, WriteFailingPartWayKeepsThePreviousTable) {
    for (int i = 1; i <= 5; ++i) ASSERT_TRUE(ScoreTable("Meteorni").Add(i * 100, Numbered("p", i)));
    std::string before = Table();

    linesBeforeFailure = 2;
    SetFileWriter(FailingWriter);
    ScoreTable table("Meteorni");
    EXPECT_FALSE(table.Add(9000, "lost"));
    EXPECT_TRUE(table.failed);
    EXPECT_EQ(Table(), before);
    EXPECT_EQ(FolderEntries(ScoreFolderPath()), std::vector<std::string>{"Classifica.txt"})
        << "the half-written temporary file is removed";

    SetFileWriter(nullptr);
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

TEST_F(ScoreTableTest, ResultsAreStoredUnderAProfileFolderOfAnyLength) {
    const std::wstring tableTail = L"\\Meteorni\\Score\\Classifica.txt";
    for (size_t length : {240u, 260u, 280u, 320u}) {
        SCOPED_TRACE("table path of " + std::to_string(length) + " characters");
        // Folder names of up to 60 characters, so that no single name is too
        // long for any file system; the last one is cut to fit exactly.
        const std::wstring base = TemporaryFolder() + L"\\meteorni_long_" + Pid();
        std::wstring folder = base;
        const size_t wanted = length - tableTail.size();
        while (folder.size() < wanted) {
            size_t remaining = wanted - folder.size();
            size_t part = std::min<size_t>(remaining - 1, 60);
            if (remaining - part - 1 == 1) --part;  // never leave one character for a lone separator
            if (part == 0)
                folder += L'z';
            else
                folder += L"\\" + std::wstring(part, static_cast<wchar_t>(L'a' + folder.size() % 26));
        }
        UseAppData(folder);
        ASSERT_EQ(TablePath().size(), length);

        SeedTable("00000800 " + GameText("Anna", 4) + "\r\n");
        ASSERT_EQ(Table(), "00000800 Anna         Level 4\r\n");
        EXPECT_TRUE(ScoreTable("Meteorni").Add(900, GameText("Lucia", 5)));
        EXPECT_TRUE(ScoreTable("Meteorni").Add(300, GameText("Zeno", 2)));
        EXPECT_EQ(Table(),
                  "00000900 Lucia        Level 5\r\n"
                  "00000800 Anna         Level 4\r\n"
                  "00000300 Zeno         Level 2\r\n");
        EXPECT_EQ(ScoreTable("Meteorni").Load().size(), 3u);
        EXPECT_EQ(FolderEntries(ScoreFolderPath()), std::vector<std::string>{"Classifica.txt"})
            << "no temporary file is left";
        RemoveTree(base);
    }
}

TEST_F(ScoreTableTest, ATableSavedAgainAsUnicodeOrAsUtf8KeepsEveryResult) {
    if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of code page 1252";
    // What Notepad writes for a table with an accented name, a name the code
    // page cannot hold, and no break after the last line.
    const std::wstring text =
        L"00000800 \u00C8rica        Level 4\r\n"
        L"00000500 \u738B\u4F1F         Level 3\r\n"
        L"00000300 Zeno         Level 2";
    const std::string utf8 =
        "\xEF\xBB\xBF"
        "00000800 \xC3\x88rica        Level 4\r\n"
        "00000500 \xE7\x8E\x8B\xE4\xBC\x9F         Level 3\r\n"
        "00000300 Zeno         Level 2";
    struct Saved {
        const char* as;
        std::string bytes;
    };
    for (const Saved& saved : {Saved{"UTF-16", Utf16File(text, false)},
                               Saved{"UTF-16 big-endian", Utf16File(text, true)}, Saved{"UTF-8 with its mark", utf8}}) {
        SCOPED_TRACE(saved.as);
        SeedTable(saved.bytes);
        EXPECT_EQ(ScoreTable("Meteorni").Load(),
                  (std::vector<std::string>{"00000800 \xC8rica        Level 4", "00000500 ??         Level 3",
                                            "00000300 Zeno         Level 2"}));
        // The best result is new: the first old line must not sort above it.
        ASSERT_TRUE(ScoreTable("Meteorni").Add(900, GameText("Lucia", 5)));
        EXPECT_EQ(Table(),
                  "00000900 Lucia        Level 5\r\n"
                  "00000800 \xC8rica        Level 4\r\n"
                  "00000500 ??         Level 3\r\n"
                  "00000300 Zeno         Level 2\r\n");
    }
    // Just the mark: an empty table.
    SeedTable("\xFF\xFE");
    EXPECT_TRUE(ScoreTable("Meteorni").Load().empty());
}
