// Text typed by the user reaches narrow text through the system code page.
#include "framework/controls.h"
#include "framework/shell.h"

#include <gtest/gtest.h>

using namespace Orditex;

namespace {

class CodePage : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of code page 1252";
    }
};

}  // namespace

TEST_F(CodePage, CharactersItHoldsKeepTheirBytesOthersBecomeAQuestionMark) {
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

TEST_F(CodePage, TextTypedIntoABoxIsReadInTheCodePage) {
    Form form(GetModuleHandleW(nullptr));
    form.Create();
    TextBox box(&form, "");
    box.Create();
    for (wchar_t c : std::wstring(L"Z\u20AC\u0100X")) SendMessageW(box.hwnd, WM_CHAR, c, 0);
    EXPECT_EQ(box.GetText(), "Z\x80?X");
}
