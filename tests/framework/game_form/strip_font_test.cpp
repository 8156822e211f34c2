// The game form's text font as the system really gives it. The score strip
// redraws changing numbers in place, which only looks steady in a fixed-pitch
// font: "Lucida Console" on Windows, and under Wine the fixed-pitch font the
// prefix maps that name to.
#include "framework/game_form.h"
#include "framework/gdi_guards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Orditex;

namespace {

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace

TEST(StripFont, TheFormsFontIsFixedPitch) {
    FormGames game(GetModuleHandleW(nullptr), "Prova");
    ASSERT_NE(game.font, nullptr);
    HDC window = GetDC(game.hwnd);
    MemoryDc dc(window);
    ReleaseDC(game.hwnd, window);
    Selection font(dc, game.font->GetHandle());

    // The face the font mapper settled on, not the name that was asked for.
    std::vector<char> buffer(GetOutlineTextMetricsW(dc, 0, nullptr));
    ASSERT_FALSE(buffer.empty()) << "no outline font chosen";
    auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    GetOutlineTextMetricsW(dc, static_cast<UINT>(buffer.size()), outline);
    std::wstring face(
        reinterpret_cast<const wchar_t*>(buffer.data() + reinterpret_cast<size_t>(outline->otmpFaceName)));
    EXPECT_TRUE(face == L"Lucida Console" || face == L"DejaVu Sans Mono")
        << "the form's font is " << std::string(face.begin(), face.end());

    // The flag's name reads backwards: set means a variable pitch.
    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsW(dc, &metrics));
    EXPECT_FALSE(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH);

    // What the player sees: the strip and the high-score ticker pad names
    // and numbers with blanks into columns, which line up only when every
    // character takes the same room.
    int width = TextWidth(dc, L"Score: 000150");
    for (const wchar_t* text : {L"ANNA     0001", L"iiiiiiiiiiiii", L"WWWWWWWWWWWWW", L"             "})
        EXPECT_EQ(TextWidth(dc, text), width) << std::string(text, text + wcslen(text));
}
