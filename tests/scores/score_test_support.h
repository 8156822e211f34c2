// What the score-table tests share: a private application-data folder per
// test, whole-file access to the table at any path length, and the few
// helper processes that play "another program" or "another copy of the game".
#pragma once

#include "support/fakes.h"
#include "support/file_support.h"
#include "framework/shell.h"
#include "scores/file_access.h"
#include "scores/score_table.h"
#include "scores/text_format.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using TestSupport::FolderEntries;
using TestSupport::RemoveTree;

inline std::wstring TemporaryFolder() {
    return TestSupport::SystemTemporaryFolder();
}

// The game's own text for a result: the name padded to 12, then the level.
inline std::string GameText(const std::string& name, int level) {
    return Meteorni::PadRight(name, ' ', 12) + " Level " + std::to_string(level);
}

// text as Notepad saves it as "Unicode": a byte-order mark, then UTF-16.
inline std::string Utf16File(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
        char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// The table never shows an error box: one would also stop the test until
// someone closed it.
inline int ErrorBoxes() {
    return static_cast<int>(TestSupport::CapturedErrorBoxes().size());
}

// A private local-application-data folder per test, named as players outside
// Western Europe name theirs: no narrow code page holds all of it.
class ScoreTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::CaptureErrorBoxes();
        UseAppData(TemporaryFolder() + L"\\meteorni_scores_Łukasz_Дмитрий_王伟_" + Pid());
    }
    void TearDown() override {
        Meteorni::SetFileWriter(nullptr);
        Meteorni::SetFileReader(nullptr);
        TestSupport::StopCapturingErrorBoxes();
        Orditex::SetLocalAppDataOverride(L"");
        RemoveTree(appData);
    }

    // Points the table at a fresh folder (the parents of a deep one made too).
    void UseAppData(const std::wstring& folder) {
        if (!appData.empty()) RemoveTree(appData);
        appData = folder;
        RemoveTree(appData);
        for (size_t at = appData.find(L'\\', 3); at != std::wstring::npos; at = appData.find(L'\\', at + 1))
            Meteorni::MakeFolder(appData.substr(0, at));
        ASSERT_TRUE(Meteorni::MakeFolder(appData)) << "cannot make " << Orditex::ToNarrow(appData);
        Orditex::SetLocalAppDataOverride(appData);
    }

    static std::wstring Pid() { return std::to_wstring(GetCurrentProcessId()); }
    std::wstring GameFolder() const { return appData + L"\\Meteorni"; }
    std::wstring ScoreFolderPath() const { return GameFolder() + L"\\Score"; }
    std::wstring TablePath() const { return ScoreFolderPath() + L"\\Classifica.txt"; }
    std::string Table() const { return ReadBytes(Orditex::LongPathForm(TablePath())); }

    void SeedTable(const std::string& bytes) {
        ASSERT_TRUE(Meteorni::MakeFolder(GameFolder()));
        ASSERT_TRUE(Meteorni::MakeFolder(ScoreFolderPath()));
        WriteBytes(Orditex::LongPathForm(TablePath()), bytes);
    }

    std::wstring appData;
};

// Helper processes: this test program started again with a role. Returns the
// process handle (to wait on and read the exit code of), or nullptr.
HANDLE StartRole(const std::wstring& arguments);
// When the command line names a role, plays it and returns its exit code;
// otherwise returns -1 and the tests run.
int RunRoleIfAsked();
