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
    int CountYellow(int left, int top, int right, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                COLORREF c = BackPixel(x, y);
                if (GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) < 60) ++count;
            }
        return count;
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

TEST_F(TitleScreen, ShowsTheLogoAndCopyrightAndThePromptOnlyAtTheFirstBlink) {
    EXPECT_EQ(game->backgroundImage, Picture("logo.bmp"));
    EXPECT_GT(game->lineHeight, 8);
    EXPECT_GT(CountYellow(240, 160, 440, 160 + game->lineHeight), 20);
    auto isBlue = [](COLORREF c) { return c == RGB(0, 0, 255); };
    EXPECT_FALSE(isBlue(BackPixel(795, 588)));

    game->Tick();    // starts the clock
    TickAfter(20);   // the title's first step starts its blink clock
    TickAfter(500);  // not more than 500 ms: no blink yet
    EXPECT_FALSE(isBlue(BackPixel(795, 588)));
    TickAfter(1);
    EXPECT_TRUE(isBlue(BackPixel(795, 588)));
    EXPECT_TRUE(isBlue(BackPixel(480, 570)));
}

TEST_F(TitleScreen, TheTickerShowsTheLinesInTurnEveryFifthBlink) {
    WriteScores({"00000300 ZENO         Level 3", "00000200 ANNA         Level 2", "00000100 LUCA         Level 1"});
    delete game;
    game = new FormMeteorni(GetModuleHandleW(nullptr), "Meteorni test");
    ASSERT_EQ(game->rankingLines.size(), 3u);
    EXPECT_EQ(game->TickerLine(0), "Classifica:  1\xB0 Score 00000300 ZENO         Level 3");

    game->Tick();
    std::vector<int32_t> shown;
    for (int blink = 0; blink < 20; ++blink) {
        int32_t before = game->tickerIndex;
        Blink();
        if (game->tickerIndex != before) shown.push_back(before);
    }
    // Blinks 1, 6, 11 and 16 show a line: 1, 2, 3, then 1 again.
    EXPECT_EQ(shown, (std::vector<int32_t>{0, 1, 2, 0}));
    EXPECT_EQ(BackPixel(700, 10), RGB(255, 255, 255));  // the white band stays
}

TEST_F(TitleScreen, TickerNumbersFromTenOnTakeTwoCharacters) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 12; ++i) lines.push_back("line" + std::to_string(i));
    WriteScores(lines);
    delete game;
    game = new FormMeteorni(GetModuleHandleW(nullptr), "Meteorni test");
    EXPECT_EQ(game->TickerLine(8), "Classifica:  9\xB0 Score line9");
    EXPECT_EQ(game->TickerLine(9), "Classifica: 10\xB0 Score line10");
    EXPECT_EQ(game->TickerLine(11), "Classifica: 12\xB0 Score line12");
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

TEST_F(TitleScreen, NoTableNoTickerBand) {
    game->Tick();
    for (int blink = 0; blink < 6; ++blink) Blink();
    EXPECT_NE(BackPixel(700, 10), RGB(255, 255, 255));
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

TEST_F(TitleScreen, EsciClosesTheWindowInAnyState) {
    StartGame();
    Type('P');
    HWND window = game->hwnd;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(game->itemExit->id, 0), 0);
    Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(game->created);
    EXPECT_FALSE(game->timer->running);
}

TEST_F(TitleScreen, TheScoreStripShowsScoreLivesAndLevel) {
    StartGame();
    int strip = game->lineHeight + 4;
    EXPECT_EQ(BackPixel(300, strip - 1), RGB(0, 0, 0));
    auto whiteIn = [&](int left, int right) {
        int count = 0;
        for (int y = 2; y < strip; ++y)
            for (int x = left; x < right; ++x)
                if (BackPixel(x, y) == RGB(255, 255, 255)) ++count;
        return count;
    };
    EXPECT_GT(whiteIn(2, 150), 30);    // Score: 000000
    EXPECT_GT(whiteIn(340, 460), 20);  // Lives: 3
    EXPECT_GT(whiteIn(690, 798), 20);  // Level: 1
    EXPECT_EQ(whiteIn(200, 320), 0);
}

TEST_F(TitleScreen, HomePageIsTheShippedPageBesideBin) {
    std::wstring page = HomePagePath();
    EXPECT_EQ(page.substr(page.size() - 10), L"\\home.html");
    EXPECT_TRUE(Orditex::FileExists(page)) << page;
    EXPECT_EQ(page.find(L".."), std::wstring::npos);
}
