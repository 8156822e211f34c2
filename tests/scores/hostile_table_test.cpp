// Whatever lies where the table belongs (junk, a file from another program, a
// table saved again by an editor, a folder), one game's result goes in and the
// table that comes out is a sound one: at most ten lines, each ending in
// CR LF, no NUL, best first, and no result lost that outranks the new one.
// Thousands are checked in memory, a few hundred of every kind on disk too.
#include "score_test_support.h"
#include "scores/line_codec.h"

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace Meteorni;

namespace {

enum class Kind {
    RandomBytes,
    LongLines,
    Nuls,
    LoneCr,
    CrCrLf,
    CtrlZ,
    NoScorePrefix,
    Utf8Marked,
    Utf16Little,
    Utf16Big,
    Mixed,
    Empty,
    TenThousandLines,
    Huge,
    Folder
};

const char* NameOf(Kind kind) {
    static const char* const names[] = {
        "random bytes", "long lines",      "NULs",         "lone CR", "CR CR LF",
        "Ctrl+Z",       "no score prefix", "UTF-8 mark",   "UTF-16",  "UTF-16 big-endian",
        "mixed",        "empty",           "10,000 lines", "huge",    "folder"};
    return names[static_cast<int>(kind)];
}

class Maker {
public:
    explicit Maker(unsigned seed) : random(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    bool OneIn(int n) { return Below(n) == 0; }

    std::string Score() { return ZeroPad(Below(100000000), 8); }

    std::string Bytes(size_t count) {
        std::string bytes(count, '\0');
        for (char& c : bytes) c = static_cast<char>(Below(256));
        return bytes;
    }

    // A plausible result, now and then with a byte from the upper half.
    std::string Result() {
        std::string name;
        for (int i = Below(14); i > 0; --i) name += static_cast<char>(OneIn(8) ? 0xC0 + Below(64) : 'a' + Below(26));
        return Score() + " " + GameText(name, 1 + Below(60));
    }

    std::string Lines(int count, const std::function<std::string()>& line) {
        std::string text;
        for (int i = 0; i < count; ++i) text += line() + (OneIn(4) ? "\n" : "\r\n");
        if (OneIn(3)) text += line();  // no break after the last one
        return text;
    }

    std::string Utf16(bool bigEndian) {
        std::wstring text;
        for (int i = Below(15); i > 0; --i) {
            text += Orditex::ToWide(Score() + " ");
            for (int j = Below(12); j > 0; --j) {
                // Any character of the basic plane but the halves of pairs.
                wchar_t c = OneIn(2) ? static_cast<wchar_t>('A' + Below(26)) : static_cast<wchar_t>(1 + Below(0xD7FF));
                if (c != L'\r' && c != L'\n') text += c;
            }
            text += L"\r\n";
        }
        std::string bytes = Utf16File(text, bigEndian);
        if (OneIn(5)) bytes += Bytes(1);  // an odd byte at the end
        return bytes;
    }

    std::string File(Kind kind) {
        switch (kind) {
            case Kind::RandomBytes:
                return Bytes(static_cast<size_t>(Below(3000)));
            case Kind::LongLines:
                return Lines(1 + Below(4), [&] { return Score() + " " + std::string(1 + Below(100000), 'L'); });
            case Kind::Nuls:
                return Lines(Below(15), [&] {
                    std::string line = Result();
                    line[static_cast<size_t>(Below(static_cast<int>(line.size())))] = '\0';
                    return line;
                });
            case Kind::LoneCr:
                return Lines(Below(15), [&] { return Result() + "\r" + Result(); });
            case Kind::CrCrLf:
                return Lines(Below(15), [&] { return Result() + "\r"; });
            case Kind::CtrlZ:
                return Lines(Below(15), [&] { return OneIn(3) ? std::string("\x1A") : Result() + "\x1A"; });
            case Kind::NoScorePrefix:
                return Lines(Below(15), [&] { return OneIn(2) ? Result().substr(9) : "  " + Result(); });
            case Kind::Utf8Marked:
                return "\xEF\xBB\xBF" + Lines(Below(15), [&] { return Result() + (OneIn(2) ? "\xC3\xA8" : ""); });
            case Kind::Utf16Little:
                return Utf16(false);
            case Kind::Utf16Big:
                return Utf16(true);
            case Kind::Mixed: {
                std::string file;
                for (int i = Below(20); i > 0; --i)
                    file += File(static_cast<Kind>(Below(static_cast<int>(Kind::Mixed))));
                return file;
            }
            case Kind::Empty:
            case Kind::Folder:
                return "";
            case Kind::TenThousandLines:
                return Lines(10000, [&] { return Result(); });
            case Kind::Huge:
                return Lines(120000, [&] { return Result() + std::string(static_cast<size_t>(Below(40)), 'x'); });
        }
        return "";
    }

private:
    std::mt19937 random;
};

size_t Count(const std::string& bytes, char c) {
    return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), c));
}

class HostileTableTest : public ScoreTableTest {
protected:
    // Reads file, adds result ("<8 digits> <text>") and writes the table as
    // Add does, in memory, and checks what comes out; then the same on disk,
    // where the same bytes must come out and no temporary file be left.
    void AddOver(const std::string& file, const std::string& result, bool onDisk = true) {
        const std::vector<std::string> before = LinesOf(file);
        for (const std::string& line : before) {
            ASSERT_EQ(line.find_first_of(std::string("\n\0", 2)), std::string::npos) << "a line holds a break or a NUL";
            ASSERT_NE(line.rfind("\xEF\xBB\xBF", 0), 0u) << "a line starts with a UTF-8 mark";
        }
        if (file.rfind("\xFF\xFE", 0) != 0 && file.rfind("\xFE\xFF", 0) != 0 && file.rfind("\xEF\xBB\xBF", 0) != 0) {
            EXPECT_EQ(before.size(), Count(file, '\n') + (file.empty() || file.back() == '\n' ? 0 : 1))
                << "one line per break, and one for what follows the last (no mark)";
        }

        std::vector<std::string> lines = before;
        lines.push_back(ScoreTable::ResultLine(std::stoll(result.substr(0, 8)), result.substr(9)));
        std::string written;
        for (const std::string& line : ScoreTable::BestFirst(lines)) written += DiskBytesOf(line);
        EXPECT_EQ(written.find('\0'), std::string::npos);
        EXPECT_LE(Count(written, '\n'), 10u);
        ASSERT_GE(written.size(), 2u);
        EXPECT_EQ(written.substr(written.size() - 2), "\r\n");
        for (size_t at = written.find('\n'); at != std::string::npos; at = written.find('\n', at + 1))
            ASSERT_TRUE(at > 0 && written[at - 1] == '\r') << "a line ends without CR LF at byte " << at;

        // The ten best of the old lines and the new one, best first: every old
        // line that outranks the result is kept, and the result unless ten do.
        std::vector<std::string> expected = before;
        expected.push_back(result);
        std::sort(expected.begin(), expected.end(), std::greater<std::string>());
        if (expected.size() > 10) expected.resize(10);
        const std::vector<std::string> after = LinesOf(written);
        EXPECT_TRUE(std::is_sorted(after.begin(), after.end(), std::greater<std::string>()));
        EXPECT_EQ(after, expected);
        if (!onDisk || HasFailure()) return;

        RemoveTree(ScoreFolderPath());
        SeedTable(file);
        ASSERT_TRUE(ScoreTable("Meteorni").Add(std::stoll(result.substr(0, 8)), result.substr(9)));
        EXPECT_EQ(Table(), written) << "on disk";
        EXPECT_EQ(FolderEntries(ScoreFolderPath()), std::vector<std::string>{"Classifica.txt"});
    }
};

}  // namespace

// Thousands of small tables in memory; the first of each kind, and now and
// then a folder, in the table's place on disk.
TEST_F(HostileTableTest, AnyFileInTheTablesPlaceTakesOneResultAndComesOutSound) {
    constexpr int kCases = 2500, kEachKindOnDisk = 20;
    int onDisk[static_cast<int>(Kind::Folder) + 1] = {};
    Maker maker(20261207);
    for (int number = 0; number < kCases && !HasFailure(); ++number) {
        // Any of the small kinds; now and then a folder.
        Kind kind = maker.OneIn(100) ? Kind::Folder : static_cast<Kind>(maker.Below(static_cast<int>(Kind::Empty) + 1));
        std::string result = maker.Result();
        SCOPED_TRACE("case " + std::to_string(number) + ": " + NameOf(kind));
        int& count = onDisk[static_cast<int>(kind)];
        if (kind != Kind::Folder) {
            AddOver(maker.File(kind), result, count < kEachKindOnDisk);
            if (count < kEachKindOnDisk) ++count;
            continue;
        }
        // Nothing can be read or replaced there: the result is refused and
        // the folder left as it is.
        RemoveTree(ScoreFolderPath());
        ASSERT_TRUE(MakeFolder(GameFolder()) && MakeFolder(ScoreFolderPath()) && MakeFolder(TablePath()));
        ScoreTable table("Meteorni");
        EXPECT_TRUE(table.Load().empty());
        EXPECT_FALSE(table.Add(100, "x"));
        EXPECT_TRUE(table.failed);
        EXPECT_NE(GetFileAttributesW(TablePath().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
        EXPECT_EQ(FolderEntries(ScoreFolderPath()), std::vector<std::string>{"Classifica.txt"});
        ++count;
    }
    for (int kind = 0; kind <= static_cast<int>(Kind::Empty) && !HasFailure(); ++kind)
        EXPECT_EQ(onDisk[kind], kEachKindOnDisk) << NameOf(static_cast<Kind>(kind)) << " on disk";
    EXPECT_GT(onDisk[static_cast<int>(Kind::Folder)], 0) << "the folder case was never drawn";
}

// Apart from the small ones: Wine's heap checks look at the whole heap on
// every allocation, and under them these few take many minutes.
TEST_F(HostileTableTest, ABigFileInTheTablesPlaceTakesOneResultAndComesOutSound) {
    Maker maker(20261208);
    for (Kind kind : {Kind::TenThousandLines, Kind::TenThousandLines, Kind::TenThousandLines, Kind::Huge, Kind::Huge}) {
        SCOPED_TRACE(NameOf(kind));
        AddOver(maker.File(kind), maker.Result());
        if (HasFailure()) break;
    }
}
