// The game window, its menus, the title screen and the score strip.
#include "game_fixture.h"

#include "scores/score_table.h"

#include <fstream>

using namespace GameTest;
using namespace Meteorni;

namespace {

class TitleScreen : public GameTestBase {
protected:
    void WriteScores(const std::vector<std::string>& lines) {
        std::string folder = appData + "\\Meteorni";
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA((folder + "\\Score").c_str(), nullptr);
        std::ofstream file(ScoreFilePath(appData), std::ios::binary);
        for (const std::string& line : lines) file << line << "\r\n";
    }
    void Blink() { TickAfter(501); }
    // The white ticker band with one line of the table in black.
    void ExpectTicker(const std::wstring& line) {
        ExpectedPicture band(game->backBuffer->dc);
        band.Fill(0, 0, 800, 20, RGB(255, 255, 255));
        band.Text(0, 0, line, RGB(0, 0, 0));
        ExpectShown(band, RECT{0, 0, 800, 20}, "ticker");
    }
};

}  // namespace

TEST_F(TitleScreen, TheWindowHasAnExactPlayAreaTheCaptionAndTheMenus) {
    RECT client;
    GetClientRect(game->hwnd, &client);
    EXPECT_EQ(client.right, 800);
    EXPECT_EQ(client.bottom, 600);
    EXPECT_EQ(game->GetText(), "Meteorni test");

    HMENU bar = GetMenu(game->hwnd);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    wchar_t text[64];
    const wchar_t* titles[] = {L"&File", L"&Opzioni", L"&?"};
    const wchar_t* entries[] = {L"&Esci", L"&Abilita Joystick", L"&Home"};
    for (int i = 0; i < 3; ++i) {
        GetMenuStringW(bar, i, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, titles[i]);
        HMENU popup = GetSubMenu(bar, i);
        ASSERT_EQ(GetMenuItemCount(popup), 1);
        GetMenuStringW(popup, 0, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, entries[i]);
    }
    EXPECT_EQ(GetMenuState(bar, game->itemJoystick->id, MF_BYCOMMAND) & MF_CHECKED, 0u);
    // Neither resizable nor maximizable, but it can be minimized.
    LONG style = GetWindowLongW(game->hwnd, GWL_STYLE);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
}

TEST_F(TitleScreen, ShowsTheLogoAndCopyrightThenThePromptBlinksWhiteAndRed) {
    ExpectedPicture title(game->backBuffer->dc);
    title.Picture(Picture("logo.bmp"));
    title.Text(240, 160, Orditex::ToWide(copyrightLine), RGB(255, 255, 0));
    const RECT everything{0, 0, 800, 600};
    ExpectShown(title, everything, "logo and copyright");

    game->Tick();    // starts the clock
    TickAfter(20);   // the title's first step starts its blink clock
    TickAfter(500);  // not more than 500 ms: no blink yet
    ExpectShown(title, everything, "the title before the first blink");
    for (COLORREF colour : {RGB(255, 255, 255), RGB(255, 0, 0), RGB(255, 255, 255)}) {
        TickAfter(1);  // 501 ms since the last blink
        title.Fill(480, 570, 320, 20, RGB(0, 0, 255));
        title.Text(480, 570, L"Premi il tasto [G] per giocare", colour);
        ExpectShown(title, everything, "the prompt");
        TickAfter(500);
    }
}

TEST_F(TitleScreen, TheTickerShowsTheLinesInTurnEveryFifthBlink) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 11; ++i) lines.push_back("line" + std::to_string(i));
    WriteScores(lines);
    delete game;
    game = new FormMeteorni(GetModuleHandleW(nullptr), "Meteorni test");
    game->tickerIndex = 9;
    // Blinks 1, 6, 11 and 16 show a line: the 10th, the 11th, then the 1st and 2nd.
    const std::wstring texts[] = {L"Classifica: 10\u00B0 Score line10", L"Classifica: 11\u00B0 Score line11",
                                  L"Classifica:  1\u00B0 Score line1", L"Classifica:  2\u00B0 Score line2"};
    game->Tick();
    TickAfter(20);
    for (int blink = 1; blink <= 16; ++blink) {
        Blink();
        ExpectTicker(texts[(blink - 1) / 5]);  // the band stays until the next line
    }
}

TEST_F(TitleScreen, AShorterReloadedTableRestartsTheTicker) {
    WriteScores({"00000300 A", "00000200 B", "00000100 C"});
    delete game;
    game = new FormMeteorni(GetModuleHandleW(nullptr), "Meteorni test");
    game->tickerIndex = 2;
    WriteScores({"00000300 A"});
    game->InitGame();
    game->Tick();
    TickAfter(20);
    Blink();
    EXPECT_EQ(game->tickerIndex, 0);
}

TEST_F(TitleScreen, JoystickEntryTogglesAndTwiceLeavesItOff) {
    HMENU bar = GetMenu(game->hwnd);
    SendMessageW(game->hwnd, WM_COMMAND, MAKEWPARAM(game->itemJoystick->id, 0), 0);
    EXPECT_TRUE(game->joystickEnabled);
    EXPECT_NE(GetMenuState(bar, game->itemJoystick->id, MF_BYCOMMAND) & MF_CHECKED, 0u);
    SendMessageW(game->hwnd, WM_COMMAND, MAKEWPARAM(game->itemJoystick->id, 0), 0);
    EXPECT_FALSE(game->joystickEnabled);
    EXPECT_EQ(GetMenuState(bar, game->itemJoystick->id, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_F(TitleScreen, TheScoreStripReadsScoreLivesAndLevel) {
    StartGame();
    struct Counters {
        int32_t score, lives, level;
        const wchar_t *scoreText, *livesText, *levelText;
    };
    const Counters cases[] = {{0, 3, 1, L"Score: 000000", L"Lives: 3", L"Level: 1"},
                              {150, 2, 3, L"Score: 000150", L"Lives: 2", L"Level: 3"},
                              {1234567, 1, 12, L"Score: 1234567", L"Lives: 1", L"Level: 12"}};
    for (const Counters& shown : cases) {
        if (shown.score != 0) {
            game->score = shown.score;
            game->lives = shown.lives;
            game->level = shown.level;
            game->BeginFrame(false);
            game->DrawHud();
            game->EndFrame();
        }
        ExpectedPicture strip(game->backBuffer->dc);
        int32_t height = strip.LineHeight() + 4;
        strip.Fill(0, 0, 800, height, RGB(0, 0, 0));
        strip.Text(2, 2, shown.scoreText, RGB(255, 255, 255));
        strip.Text(RECT{2, 2, 798, 2 + height}, shown.livesText, RGB(255, 255, 255), DT_CENTER);
        strip.Text(RECT{2, 2, 798, 2 + height}, shown.levelText, RGB(255, 255, 255), DT_RIGHT);
        ExpectShown(strip, RECT{0, 0, 300, height}, Orditex::ToNarrow(shown.scoreText));
        ExpectShown(strip, RECT{300, 0, 500, height}, Orditex::ToNarrow(shown.livesText));
        ExpectShown(strip, RECT{500, 0, 800, height}, Orditex::ToNarrow(shown.levelText));
    }
}

TEST_F(TitleScreen, HomePageIsTheShippedPageBesideBin) {
    std::wstring page = HomePagePath();
    EXPECT_EQ(page.substr(page.size() - 10), L"\\home.html");
    EXPECT_TRUE(Orditex::FileExists(page)) << page;
    EXPECT_EQ(page.find(L".."), std::wstring::npos);
}
