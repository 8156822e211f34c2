#include "framework/name_dialog.h"
#include "support/window_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cwctype>
#include <memory>
#include <string>

using namespace Orditex;
using namespace TestSupport;

namespace {

// An owner form and a name dialog over it, as the game opens it.
class NameDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = std::make_unique<Form>(GetModuleHandleW(nullptr));
        owner->SetSize(400, 300);
        owner->Create();
        ASSERT_TRUE(IsWindowEnabled(owner->hwnd));
        playerName = "PRIMA";
        dialog = std::make_unique<FormNamePlayer>(owner.get(), GetModuleHandleW(nullptr), "Classifica");
        dialog->SetPrompt("Inserisci il tuo nome:");
        ASSERT_NE(dialog->nameBox, nullptr);
        ASSERT_NE(dialog->okButton, nullptr);
        ASSERT_NE(dialog->promptLabel, nullptr);
    }
    void TearDown() override {
        dialog.reset();
        owner.reset();
        Pump(10);
    }

    void Type(const std::string& characters) { TypeInto(dialog->nameBox->hwnd, characters); }
    std::wstring BoxText() { return WindowText(dialog->nameBox->hwnd); }
    bool DialogOpen() { return IsWindow(dialog->hwnd) != FALSE; }
    bool OwnerReleased() { return IsWindowEnabled(owner->hwnd) && owner->enabled && owner->companion == nullptr; }

    std::unique_ptr<Form> owner;
    std::unique_ptr<FormNamePlayer> dialog;
};

RECT ChildRect(GUIElement& child) {
    RECT r{};
    GetWindowRect(child.hwnd, &r);
    MapWindowPoints(nullptr, GetParent(child.hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST_F(NameDialogTest, TheOwnerTakesNoInputWhileTheDialogIsOpen) {
    EXPECT_TRUE(DialogOpen());
    EXPECT_FALSE(IsWindowEnabled(owner->hwnd));
    EXPECT_FALSE(owner->enabled);
    EXPECT_EQ(owner->companion, dialog.get());
    EXPECT_EQ(dialog->GetText(), "Classifica");
    EXPECT_FALSE(StyleOf(dialog->hwnd) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT outer{};
    GetWindowRect(dialog->hwnd, &outer);
    EXPECT_EQ(outer.right - outer.left, 250);
    EXPECT_EQ(outer.bottom - outer.top, 150);
    EXPECT_EQ(dialog->promptLabel->GetText(), "Inserisci il tuo nome:");
    EXPECT_EQ(dialog->okButton->GetText(), "OK");
    EXPECT_EQ(GetFocus(), dialog->nameBox->hwnd);
}

TEST_F(NameDialogTest, TypedLettersBecomeCapitalsAndOkStoresTheName) {
    Type("abc");
    EXPECT_EQ(BoxText(), L"ABC");
    SendMessageW(dialog->okButton->hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(playerName, "ABC");
    EXPECT_FALSE(DialogOpen());
    EXPECT_FALSE(dialog->created);
    EXPECT_TRUE(OwnerReleased());
}

TEST_F(NameDialogTest, TheEleventhCharacterIsRefused) {
    Type("abcdefghijk");
    EXPECT_EQ(BoxText(), L"ABCDEFGHIJ");
    SendMessageW(dialog->okButton->hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(playerName, "ABCDEFGHIJ");
}

TEST_F(NameDialogTest, EnterWithANameClosesLikeOk) {
    Type("zoe");
    EXPECT_EQ(SendMessageW(dialog->nameBox->hwnd, WM_CHAR, VK_RETURN, 0), 1);  // swallowed: no beep
    EXPECT_EQ(playerName, "ZOE");
    EXPECT_FALSE(DialogOpen());
    EXPECT_TRUE(OwnerReleased());
}

TEST_F(NameDialogTest, EnterOrOkWithAnEmptyBoxDoNothing) {
    SendMessageW(dialog->nameBox->hwnd, WM_CHAR, VK_RETURN, 0);
    SendMessageW(dialog->hwnd, WM_CHAR, VK_RETURN, 0);
    SendMessageW(dialog->okButton->hwnd, BM_CLICK, 0, 0);
    Pump(20);
    EXPECT_TRUE(DialogOpen());
    EXPECT_EQ(playerName, "PRIMA");
    EXPECT_FALSE(IsWindowEnabled(owner->hwnd));
    EXPECT_EQ(BoxText(), L"");

    // Enter typed into the dialog itself works the same once there is a name.
    Type("ugo");
    SendMessageW(dialog->hwnd, WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(playerName, "UGO");
    EXPECT_FALSE(DialogOpen());
}

TEST_F(NameDialogTest, OnlyTheOkButtonAcceptsTheName) {
    Type("eva");
    Button other(dialog.get(), "Altro");
    other.Create();
    dialog->OnButtonClick(&other);
    dialog->OnButtonClick(nullptr);
    EXPECT_TRUE(DialogOpen());
    EXPECT_EQ(playerName, "PRIMA");
}

TEST_F(NameDialogTest, TheCloseBoxReleasesTheOwnerAndKeepsTheName) {
    Type("abc");
    SendMessageW(dialog->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump(20);
    EXPECT_FALSE(DialogOpen());
    EXPECT_EQ(playerName, "PRIMA");
    EXPECT_TRUE(OwnerReleased());
}

TEST_F(NameDialogTest, DeletingAnOpenDialogReleasesTheOwner) {
    HWND window = dialog->hwnd;
    HWND box = dialog->nameBox->hwnd;
    dialog.reset();
    Pump(20);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(box));
    EXPECT_TRUE(OwnerReleased());
    EXPECT_EQ(playerName, "PRIMA");
}

TEST_F(NameDialogTest, ADialogDestroyedWithoutACloseRequestStillReleasesTheOwner) {
    DestroyWindow(dialog->hwnd);
    EXPECT_FALSE(IsWindowEnabled(owner->hwnd));
    dialog.reset();
    EXPECT_TRUE(OwnerReleased());
}

TEST_F(NameDialogTest, ControlsAreLaidOutFromTheClientWidth) {
    RECT client{};
    GetClientRect(dialog->hwnd, &client);
    int32_t cw = client.right - client.left;
    RECT label = ChildRect(*dialog->promptLabel);
    RECT box = ChildRect(*dialog->nameBox);
    RECT ok = ChildRect(*dialog->okButton);
    EXPECT_EQ(label.left, 5);
    EXPECT_EQ(label.top, 5);
    EXPECT_EQ(label.right - label.left, cw - 10);
    EXPECT_EQ(label.bottom - label.top, 25);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 35);
    EXPECT_EQ(box.right - box.left, cw / 2 - 10);
    EXPECT_EQ(ok.left, cw / 2 + 5);
    EXPECT_EQ(ok.top, 35);
    EXPECT_EQ(ok.right - ok.left, 80);
    EXPECT_EQ(ok.bottom - ok.top, 25);
}

TEST_F(NameDialogTest, A244WideClientAreaGivesTheKnownLayout) {
    // Make the client area exactly 244 wide whatever the frame metrics, then
    // lay the controls out again.
    RECT outer{};
    RECT client{};
    GetWindowRect(dialog->hwnd, &outer);
    GetClientRect(dialog->hwnd, &client);
    int32_t frame = (outer.right - outer.left) - (client.right - client.left);
    SetWindowPos(dialog->hwnd, nullptr, 0, 0, 244 + frame, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(dialog->hwnd, &client);
    ASSERT_EQ(client.right - client.left, 244);
    DestroyWindow(dialog->promptLabel->hwnd);
    DestroyWindow(dialog->nameBox->hwnd);
    DestroyWindow(dialog->okButton->hwnd);
    dialog->promptLabel.reset();
    dialog->nameBox.reset();
    dialog->okButton.reset();
    dialog->BuildControls();

    EXPECT_EQ(ChildRect(*dialog->promptLabel).right - ChildRect(*dialog->promptLabel).left, 234);
    EXPECT_EQ(ChildRect(*dialog->nameBox).right - ChildRect(*dialog->nameBox).left, 112);
    EXPECT_EQ(ChildRect(*dialog->okButton).left, 127);
    EXPECT_EQ(dialog->nameBox->maxLength, 10);
    EXPECT_TRUE(dialog->nameBox->upperCase);
    EXPECT_FALSE(dialog->nameBox->lowerCase);
}

TEST_F(NameDialogTest, ThePromptCanChangeWhileOpen) {
    dialog->SetPrompt("Nuovo record!");
    EXPECT_EQ(dialog->prompt, "Nuovo record!");
    EXPECT_EQ(dialog->promptLabel->GetText(), "Nuovo record!");
}

namespace {

// The file name of the module whose code runs a window's class, empty when
// the class procedure is no code of any module.
std::wstring ClassModuleName(HWND window) {
    auto classProcedure = reinterpret_cast<LPCWSTR>(GetClassLongPtrW(window, GCLP_WNDPROC));
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            classProcedure, &module)) {
        return L"";
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L'\\') + 1);
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
    return name;
}

}  // namespace

TEST_F(NameDialogTest, TheControlsAreTheCurrentCommonControls) {
    // The application manifest asks for version 6 of the common controls;
    // only their button reports an ideal size, and only with them does the
    // edit box's class belong to comctl32 (version 5 keeps it in user32).
    // The edit box is not asked for a cue banner: Wine frees a cue text with
    // the wrong heap when the box is destroyed, which its heap check reports.
    SIZE ideal{};
    EXPECT_TRUE(SendMessageW(dialog->okButton->hwnd, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 0);
    EXPECT_EQ(ClassModuleName(dialog->nameBox->hwnd), L"comctl32.dll");
}
