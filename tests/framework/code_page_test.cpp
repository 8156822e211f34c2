// Text typed by the user reaches narrow text through the system code page
// (the name box and the stored names are tested with the game).
#include "framework/shell.h"

#include <gtest/gtest.h>

using namespace Orditex;

TEST(CodePage, CharactersItHoldsKeepTheirBytesOthersBecomeAQuestionMark) {
    if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of code page 1252";
    EXPECT_EQ(ToCodePage(L"\u20AC\u00E0\u00E9\u00DF"), "\x80\xE0\xE9\xDF");
    EXPECT_EQ(FromCodePage("\x80\xE0\xE9\xDF"), L"\u20AC\u00E0\u00E9\u00DF");
    // No look-alike: a best fit would turn the A with macron into a plain A.
    EXPECT_EQ(ToCodePage(L"ZOE\u0100X\u738B"), "ZOE?X?");
    EXPECT_EQ(ToCodePage(std::wstring(L"ab\0cd", 5)), "ab");
    EXPECT_EQ(FromCodePage(std::string("ab\0cd", 5)), L"ab");

    EXPECT_TRUE(CodePageHolds(L'\u20AC'));
    EXPECT_TRUE(CodePageHolds(L'\b'));
    EXPECT_FALSE(CodePageHolds(L'\u0100'));
    EXPECT_FALSE(CodePageHolds(static_cast<wchar_t>(0xD83D)));  // half of a pair
}
