// The result of a game reaches the table whatever the player's name and user
// folder are, and the name dialog cannot be lost behind the game.
#include "game_fixture.h"

using namespace GameTest;
using namespace Meteorni;
using TestSupport::PumpUntil;
using TestSupport::TemporaryFolder;
using TestSupport::Ticks;

namespace {

class ResultFiling : public GameTestBase {
protected:
    HWND Box() { return game->nameDialog->nameBox->hwnd; }
    std::wstring BoxText() { return game->nameDialog->nameBox->GetTextWide(); }
    void Confirm() {
        ConfirmName();
        ASSERT_EQ(game->state, ScoreSaved);
    }
    // Back to the title and on to its first blink, which shows the first line.
    void ShowFirstTickerLine() {
        Type('x');
        ASSERT_EQ(game->state, Title);
        TickAfter(20);
        TickAfter(501);
    }
};

}  // namespace

TEST_F(ResultFiling, ANameInTheCodePageIsStoredAsItselfAndTheTickerShowsIt) {
    if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of code page 1252";
    ReachNameEntry();
    TypeInBox(L"zoé€ß");
    EXPECT_EQ(BoxText(), L"ZOÉ€ß");
    Confirm();
    EXPECT_EQ(ReadBytes(ScoreFilePath(appData)), "00000000 ZO\xC9\x80\xDF        Level 1\r\n");

    ShowFirstTickerLine();
    // The band as the ticker must show it: the same text in the same font.
    ExpectedPicture band(game->backBuffer->dc);
    band.Fill(0, 0, 800, 20, RGB(255, 255, 255));
    band.Text(0, 0, L"Classifica:  1\u00B0 Score 00000000 ZO\u00C9\u20AC\u00DF        Level 1", RGB(0, 0, 0));
    ExpectShown(band, RECT{0, 0, 800, 20}, "ticker");
}

TEST_F(ResultFiling, ACharacterOutsideTheCodePageIsRefusedOrStoredAsAQuestionMark) {
    if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of code page 1252";
    ReachNameEntry();
    TypeInBox(L"zoe\u0100x");
    EXPECT_EQ(BoxText(), L"ZOEX") << "a typed character the code page cannot hold is not taken";
    // Pasted text reaches the box without passing the keys.
    SendMessageW(Box(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\u0100\u738B"));
    Confirm();
    EXPECT_EQ(ReadBytes(ScoreFilePath(appData)), "00000000 ZOEX??       Level 1\r\n");
}

TEST_F(ResultFiling, AResultIsFiledAndReadBackUnderUserFoldersOfAnyName) {
    for (const wchar_t* user : {L"Łukasz", L"Дмитрий", L"王伟"}) {
        TemporaryFolder userFolder(user);
        const std::wstring& folder = userFolder.Path();
        Orditex::SetLocalAppDataOverride(folder);
        ReachNameEntry();
        TypeInBox(L"anna");
        Confirm();
        EXPECT_EQ(ReadBytes(folder + L"\\Meteorni\\Score\\Classifica.txt"), "00000000 ANNA         Level 1\r\n")
            << "user folder " << folder;
        ShowFirstTickerLine();
        EXPECT_EQ(game->rankingLines, std::vector<std::string>{"00000000 ANNA         Level 1"});
    }
}

TEST(HomePage, IsFoundBesideAProgramUnderAFolderOfAnyName) {
    TemporaryFolder folder(L"王伟_Дмитрий");
    const std::wstring& root = folder.Path();
    CreateDirectoryW((root + L"\\bin").c_str(), nullptr);
    WriteBytes(root + L"\\home.html", "<html></html>");
    std::wstring page = HomePageBeside(root + L"\\bin\\Meteorni.exe");
    EXPECT_EQ(page, root + L"\\home.html");
    EXPECT_TRUE(Orditex::FileExists(page));
}

TEST_F(ResultFiling, BringingTheGameForwardPutsTheDialogInFrontWithTheKeys) {
    ReachNameEntry();
    HWND dialog = game->nameDialog->hwnd;
    // Another program's window takes the front.
    HWND other = CreateWindowExW(0, L"STATIC", L"altro", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 900, 50, 200, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }, 3000, Ticks::Drop));

    SetForegroundWindow(game->hwnd);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == dialog; }, 3000, Ticks::Drop));
    EXPECT_EQ(GetFocus(), Box());
    bool dialogFirst = false;
    for (HWND window = GetTopWindow(nullptr); window && window != game->hwnd; window = GetWindow(window, GW_HWNDNEXT))
        if (window == dialog) dialogFirst = true;
    EXPECT_TRUE(dialogFirst) << "the dialog stands in front of the game";
    DestroyWindow(other);
}
