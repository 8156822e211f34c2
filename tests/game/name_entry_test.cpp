// The result of a game reaches the table whatever the player's name and user
// folder are, and the name dialog cannot be lost behind the game.
#include "game_fixture.h"

using namespace GameTest;
using namespace Meteorni;

namespace {

class ResultFiling : public GameTestBase {
protected:
    void ReachNameEntry() {
        StartGame();
        LoseAllLives();
        ASSERT_EQ(game->state, NameEntry);
    }
    HWND Box() { return game->nameDialog->nameBox->hwnd; }
    void TypeInBox(const std::wstring& text) {
        for (wchar_t c : text) SendMessageW(Box(), WM_CHAR, c, 0);
    }
    std::wstring BoxText() { return game->nameDialog->nameBox->GetTextWide(); }
    void Confirm() {
        SendMessageW(Box(), WM_CHAR, VK_RETURN, 0);
        Pump();
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
    // The band as the ticker must show it: the same text, font and kind of DC.
    const int bandWidth = 800, bandHeight = 20;
    HDC expected = CreateCompatibleDC(game->backBuffer->dc);
    HBITMAP bitmap = CreateCompatibleBitmap(game->backBuffer->dc, bandWidth, bandHeight);
    HGDIOBJ previous = SelectObject(expected, bitmap);
    RECT band{0, 0, bandWidth, bandHeight};
    FillRect(expected, &band, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    {
        Orditex::Drawing surface(game);
        surface.dc = expected;
        surface.DrawWideString(0, 0, 0, 0, L"Classifica:  1° Score 00000000 ZOÉ€ß        Level 1", RGB(0, 0, 0),
                               game->font, Orditex::AlignLeft);
        surface.dc = nullptr;
    }
    int differing = 0;
    for (int y = 0; y < bandHeight; ++y)
        for (int x = y == 0 ? 3 : 0; x < bandWidth; ++x)  // the corner marks stay
            if (GetPixel(expected, x, y) != BackPixel(x, y)) ++differing;
    SelectObject(expected, previous);
    DeleteObject(bitmap);
    DeleteDC(expected);
    EXPECT_EQ(differing, 0);
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
