// The table on a busy desktop: another program holding the file for a moment,
// and a second copy of the game adding its results at the same time.
#include "score_test_support.h"

#include <shellapi.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace Meteorni;

namespace {

std::wstring EventName(const wchar_t* what) {
    static int count = 0;
    return L"Local\\meteorni_scores_" + std::wstring(what) + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
           std::to_wstring(count++);
}

// --hold <path> <none|read> <milliseconds> <event>: opens the file as a
// scanner or a backup program would, with no sharing or letting others only
// read, says so through the event, keeps it open that long, then lets go.
int HoldFile(const std::vector<std::wstring>& args) {
    if (args.size() != 5) return 90;
    DWORD sharing = args[2] == L"read" ? FILE_SHARE_READ : 0;
    HANDLE file = CreateFileW(Orditex::LongPathForm(args[1]).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 91;
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, args[4].c_str());
    if (!held) return 92;
    SetEvent(held);
    CloseHandle(held);
    Sleep(static_cast<DWORD>(std::stoul(args[3])));
    CloseHandle(file);
    return 0;
}

// --add <local app data> <parity> <count> <seed> <event>: a copy of the game
// that, once the event is set, ends `count` games as fast as it can, with the
// scores 2 i + parity in a shuffled order. Its exit code is the number of
// results the table refused.
int AddResults(const std::vector<std::wstring>& args) {
    if (args.size() != 6) return 90;
    Orditex::SetLocalAppDataOverride(args[1]);
    int parity = std::stoi(args[2]);
    int count = std::stoi(args[3]);
    std::vector<int> order(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(static_cast<unsigned>(std::stoul(args[4]))));
    HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, args[5].c_str());
    if (!go || WaitForSingleObject(go, 30000) != WAIT_OBJECT_0) return 92;
    CloseHandle(go);
    int refused = 0;
    for (int i : order) {
        std::string name = "copy" + std::to_string(parity) + " game" + std::to_string(i);
        if (!ScoreTable("Meteorni").Add(2 * i + parity, GameText(name, 1))) ++refused;
    }
    return std::min(refused, 89);
}

// Reads as ReadFile does, but the first bytes of the file a few at a time,
// and while `lockedReads` lasts (for good when negative) every read past them
// fails as one does on a range of the file that a backup or sync program has
// locked. Wine keeps no such locks against reads, Windows does.
int lockedReads = 0;
bool RangeLockedReader(void* file, void* data, uint32_t size, uint32_t* got) {
    *got = 0;
    LARGE_INTEGER here{};
    if (!SetFilePointerEx(file, LARGE_INTEGER{}, &here, FILE_CURRENT)) return false;
    if (here.QuadPart > 0 && lockedReads != 0) {
        if (lockedReads > 0) --lockedReads;
        SetLastError(ERROR_LOCK_VIOLATION);
        return false;
    }
    DWORD read = 0;
    bool ok = ReadFile(file, data, here.QuadPart == 0 ? std::min(size, 20u) : size, &read, nullptr) != 0;
    *got = read;
    return ok;
}

// Waits for a helper process and gives its exit code (-1 when it hangs).
int Finish(HANDLE process, DWORD milliseconds = 120000) {
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    else
        TerminateProcess(process, 99);
    CloseHandle(process);
    return static_cast<int>(code);
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

}  // namespace

HANDLE StartRole(const std::wstring& arguments) {
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return nullptr;
    std::wstring commandLine = Quoted(self) + L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

int RunRoleIfAsked() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return -1;
    std::vector<std::wstring> args(argv + 1, argv + count);
    LocalFree(argv);
    if (args.empty()) return -1;
    if (args[0] == L"--hold") return HoldFile(args);
    if (args[0] == L"--add") return AddResults(args);
    return -1;
}

namespace {

class SharedTableTest : public ScoreTableTest {
protected:
    static constexpr const char* kOldTable =
        "00000800 Anna         Level 4\r\n"
        "00000300 Zeno         Level 2\r\n";
    static constexpr const char* kNewTable =
        "00000800 Anna         Level 4\r\n"
        "00000500 Lucia        Level 3\r\n"
        "00000300 Zeno         Level 2\r\n";

    // Starts a helper that holds the table and returns once it does.
    HANDLE HoldTable(const wchar_t* sharing, int milliseconds) {
        std::wstring name = EventName(L"held");
        HANDLE held = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
        HANDLE holder = StartRole(L"--hold " + Quoted(TablePath()) + L" " + sharing + L" " +
                                  std::to_wstring(milliseconds) + L" " + name);
        EXPECT_NE(holder, nullptr);
        EXPECT_EQ(WaitForSingleObject(held, 30000), WAIT_OBJECT_0) << "the helper never held the table";
        CloseHandle(held);
        return holder;
    }
};

}  // namespace

TEST_F(SharedTableTest, AResultAddedWhileAnotherProgramHoldsTheTableForAMomentIsKept) {
    struct Hold {
        const wchar_t* sharing;
        int milliseconds;
    };
    // No sharing: the read must wait. Read sharing: the read goes through and
    // the replace must wait.
    for (Hold hold : {Hold{L"none", 50}, Hold{L"none", 300}, Hold{L"read", 50}, Hold{L"read", 300}}) {
        SCOPED_TRACE(Orditex::ToNarrow(hold.sharing) + " for " + std::to_string(hold.milliseconds) + " ms");
        SeedTable(kOldTable);
        HANDLE holder = HoldTable(hold.sharing, hold.milliseconds);
        EXPECT_TRUE(ScoreTable("Meteorni").Add(500, GameText("Lucia", 3)));
        EXPECT_EQ(Finish(holder), 0);
        EXPECT_EQ(Table(), kNewTable);
        EXPECT_EQ(FolderEntries(ScoreFolderPath()), std::vector<std::string>{"Classifica.txt"});
    }
}

TEST_F(SharedTableTest, ATableHeldLongerThanTheRetriesStaysAsItWas) {
    for (const wchar_t* sharing : {L"none", L"read"}) {
        SCOPED_TRACE(Orditex::ToNarrow(sharing));
        SeedTable(kOldTable);
        HANDLE holder = HoldTable(sharing, 2000);
        ScoreTable table("Meteorni");
        EXPECT_FALSE(table.Add(500, GameText("Lucia", 3)));
        EXPECT_TRUE(table.failed);
        // The Add gave up while the table was held: the rest of the hold adds nothing.
        EXPECT_EQ(WaitForSingleObject(holder, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the hold ended first";
        TerminateProcess(holder, 0);
        EXPECT_EQ(Finish(holder), 0);
        EXPECT_EQ(Table(), kOldTable);
        EXPECT_EQ(FolderEntries(ScoreFolderPath()), std::vector<std::string>{"Classifica.txt"})
            << "the temporary file is removed";
    }
}

TEST_F(SharedTableTest, AReadStoppedHalfWayByALockedRangeIsNeverTakenForTheWholeTable) {
    SetFileReader(RangeLockedReader);

    // Locked for a moment: read again from the start once it is free.
    SeedTable(kOldTable);
    lockedReads = 3;
    EXPECT_TRUE(ScoreTable("Meteorni").Add(500, GameText("Lucia", 3)));
    EXPECT_EQ(Table(), kNewTable);

    // Locked for longer than the retries: the table is unreadable, and kept.
    SeedTable(kOldTable);
    lockedReads = -1;
    ScoreTable table("Meteorni");
    EXPECT_TRUE(table.Load().empty());
    EXPECT_FALSE(table.Add(500, GameText("Lucia", 3)));
    EXPECT_TRUE(table.failed);
    EXPECT_EQ(Table(), kOldTable);
    EXPECT_EQ(FolderEntries(ScoreFolderPath()), std::vector<std::string>{"Classifica.txt"});
}

TEST_F(SharedTableTest, TwoGamesAddingAtOnceLoseNoResult) {
    constexpr int kEach = 200;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        UseAppData(TemporaryFolder() + L"\\meteorni_two_games_" + Pid() + L"_" + std::to_wstring(round));
        std::wstring name = EventName(L"go");
        HANDLE go = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
        HANDLE copies[2];
        for (int parity = 0; parity < 2; ++parity) {
            copies[parity] =
                StartRole(L"--add " + Quoted(appData) + L" " + std::to_wstring(parity) + L" " + std::to_wstring(kEach) +
                          L" " + std::to_wstring(round * 2 + parity) + L" " + name);
            ASSERT_NE(copies[parity], nullptr);
        }
        SetEvent(go);
        EXPECT_EQ(Finish(copies[0]), 0) << "results the table refused";
        EXPECT_EQ(Finish(copies[1]), 0) << "results the table refused";
        CloseHandle(go);

        // The ten best of the 400 scores 0 .. 399, whoever played them.
        std::vector<std::string> expected;
        for (int score = 2 * kEach - 1; score >= 2 * kEach - 10; --score)
            expected.push_back(ZeroPad(score, 8) + " " +
                               GameText("copy" + std::to_string(score % 2) + " game" + std::to_string(score / 2), 1));
        EXPECT_EQ(ScoreTable("Meteorni").Load(), expected);
        EXPECT_EQ(FolderEntries(ScoreFolderPath()), std::vector<std::string>{"Classifica.txt"});
    }
}
