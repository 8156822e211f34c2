#include "support/window_support.h"
#include "framework/form.h"
#include "support/gdi_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace Orditex;
using namespace TestSupport;

namespace {

std::vector<std::string> events;

std::string NameOf(GUIElement* element) {
    return element->GetText();  // each test form is captioned with its name
}

void RecordActivate(GUIElement* element) {
    events.push_back(NameOf(element) + "+");
}
void RecordDeactivate(GUIElement* element) {
    events.push_back(NameOf(element) + "-");
}

int closingAsked = 0;
bool RefuseToClose(GUIElement*) {
    ++closingAsked;
    return false;
}

const UINT kModifiers = MOD_CONTROL | MOD_ALT;
const UINT kKey = VK_F11;

// True when no window holds the test's hot-key combination.
bool HotKeyIsFree() {
    HWND probe = CreateWindowExW(0, L"static", L"", 0, 0, 0, 1, 1, nullptr, nullptr, Instance(), nullptr);
    bool free = RegisterHotKey(probe, 77, kModifiers, kKey) != FALSE;
    if (free) UnregisterHotKey(probe, 77);
    DestroyWindow(probe);
    return free;
}

void RecordActivateWithHotKey(GUIElement* element) {
    events.push_back(NameOf(element) + (HotKeyIsFree() ? "+ free" : "+ taken"));
}

std::vector<std::string> hotKeyCalls;
void RecordHotKey(Form* form, int32_t modifiers, int32_t key) {
    hotKeyCalls.push_back(NameOf(form) + " " + std::to_string(modifiers) + " " + std::to_string(key));
}

size_t IndexOf(const std::string& event) {
    return static_cast<size_t>(std::find(events.begin(), events.end(), event) - events.begin());
}

}  // namespace

TEST(Form, StyleBitsForNormalDialogAndPopUpForms) {
    Form normal(Instance());
    EXPECT_EQ(normal.kind, "form");
    EXPECT_FALSE(normal.dialogStyle);
    EXPECT_EQ(normal.ComputeStyle(), 0x10CF0000u);
    EXPECT_EQ(normal.ComputeExtendedStyle(), 0u);

    Form dialog(Instance(), dialogForm);
    EXPECT_TRUE(dialog.dialogStyle);
    EXPECT_EQ(dialog.ComputeStyle(), 0x10C90000u);
    EXPECT_EQ(dialog.ComputeExtendedStyle(), 0x89u);
    dialog.topmost = false;
    dialog.modalFrame = true;
    dialog.captioned = false;  // ignored by a dialog
    EXPECT_EQ(dialog.ComputeExtendedStyle(), 0x81u);
    EXPECT_EQ(dialog.ComputeStyle(), 0x10C90080u);

    Form popup(Instance());
    popup.captioned = false;
    EXPECT_EQ(popup.ComputeStyle(), 0x80000000u);
    popup.enabled = false;
    EXPECT_EQ(popup.ComputeStyle(), 0x88000000u);

    // The real windows carry those bits.
    Open(normal);
    const DWORD ours = 0x98CF0000u;  // the bits a form decides; the system adds others
    EXPECT_EQ(StyleOf(normal.hwnd) & ours, 0x10CF0000u);
    Open(dialog);
    EXPECT_EQ(StyleOf(dialog.hwnd) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(ExStyleOf(dialog.hwnd) & 0x89u, 0x81u);
    popup.enabled = true;
    Open(popup);
    EXPECT_EQ(StyleOf(popup.hwnd) & (WS_POPUP | WS_CAPTION), static_cast<DWORD>(WS_POPUP));
    EXPECT_TRUE(IsWindowVisible(popup.hwnd));  // shown although its style has no visible bit

    // The boxes go whatever the template says; no maximize box, no sizing border.
    normal.minimizeBox = false;
    normal.maximizeBox = false;
    EXPECT_EQ(normal.ComputeStyle(), 0x10C80000u);
    dialog.maximizeBox = false;
    dialog.minimizeBox = false;
    EXPECT_EQ(dialog.ComputeStyle(), 0x10C80080u);  // with the modal frame set above
    normal.minimizeBox = true;
    EXPECT_EQ(normal.ComputeStyle(), 0x10CA0000u);
}

TEST(Form, DisabledFormIsCreatedDisabled) {
    Form form(Instance(), dialogForm);
    form.SetEnabled(false);
    Open(form);
    EXPECT_FALSE(IsWindowEnabled(form.hwnd));
    EXPECT_TRUE(StyleOf(form.hwnd) & WS_DISABLED);
}

TEST(Form, ClassWithButtonFaceArrowAndApplicationIcon) {
    Form form(Instance());
    form.SetSize(200, 150);
    Open(form);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrW(form.hwnd, GCLP_HBRBACKGROUND)),
              GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(form.hwnd, GCLP_HCURSOR)), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(form.hwnd, GCLP_HICON)), LoadIconW(nullptr, IDI_APPLICATION));
    EXPECT_EQ(GetClassLongPtrW(form.hwnd, GCL_STYLE), static_cast<ULONG_PTR>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
    InvalidateRect(form.hwnd, nullptr, TRUE);
    UpdateWindow(form.hwnd);
    EXPECT_EQ(WindowPixel(form.hwnd, 10, 10), GetSysColor(COLOR_BTNFACE));
}

TEST(Form, AFormLetsItsClassGoSoThatManyFormsLeakNothing) {
    // A long session opens a name dialog after every game; each form has a
    // class of its own, and what the system keeps with a class (the small
    // icon derived from the class icon, a background brush) must go with it.
    auto openAndClose = [] {
        Form form(Instance());
        form.SetBackColor(RGB(10, 20, 30));
        Open(form);
        std::wstring name = form.className;
        WNDCLASSEXW info{};
        info.cbSize = sizeof info;
        EXPECT_TRUE(GetClassInfoExW(Instance(), name.c_str(), &info));
        return name;
    };
    openAndClose();  // the first form may allocate once for good
    size_t headroom = TestSupport::GdiHeadroom();
    std::wstring last;
    for (int i = 0; i < 30; ++i) last = openAndClose();
    EXPECT_EQ(TestSupport::GdiHeadroom(), headroom);
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExW(Instance(), last.c_str(), &info));
}

TEST(Form, ActivatingAThenBDeactivatesAFirst) {
    Form a(Instance());
    a.SetText("A");
    a.x = 100;
    a.hotKeys.push_back(HotKey{static_cast<int32_t>(kModifiers), static_cast<int32_t>(kKey), RecordHotKey});
    Form b(Instance());
    b.SetText("B");
    b.x = 400;
    for (Form* form : {&a, &b}) {
        form->onActivate = RecordActivateWithHotKey;
        form->onDeactivate = RecordDeactivate;
        Open(*form);
    }
    ASSERT_TRUE(BringToFront(a.hwnd));
    Pump(100);
    EXPECT_EQ(activeForm, &a);
    EXPECT_FALSE(HotKeyIsFree());  // the active form holds its hot key

    events.clear();
    ASSERT_TRUE(BringToFront(b.hwnd));
    Pump(100);
    EXPECT_EQ(activeForm, &b);
    ASSERT_FALSE(events.empty());
    // The window manager may bounce the focus on its way; what counts is how
    // it ends: A deactivated, its hot key released, then B activated.
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[events.size() - 2], "A-");
    EXPECT_EQ(events.back(), "B+ free");

    // Activated again while already active: deactivated, then activated.
    events.clear();
    SendMessageW(b.hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"B-", "B+ free"}));
    EXPECT_EQ(activeForm, &b);
}

TEST(Form, HotKeyMessagesReachTheEntryOfTheFormInFront) {
    Form a(Instance());
    a.SetText("A");
    a.hotKeys.push_back(HotKey{static_cast<int32_t>(kModifiers), static_cast<int32_t>(kKey), RecordHotKey});
    Form b(Instance());
    b.SetText("B");
    b.x = 400;
    b.hotKeys.push_back(HotKey{MOD_SHIFT, VK_F2, RecordHotKey});
    b.hotKeys.push_back(HotKey{static_cast<int32_t>(kModifiers), static_cast<int32_t>(kKey), RecordHotKey});
    Open(a);
    Open(b);
    ASSERT_TRUE(BringToFront(a.hwnd));
    hotKeyCalls.clear();

    SendMessageW(a.hwnd, WM_HOTKEY, 1, 0);
    SendMessageW(a.hwnd, WM_HOTKEY, 0, 0);  // outside 1..n: ignored
    SendMessageW(a.hwnd, WM_HOTKEY, 2, 0);
    ASSERT_EQ(hotKeyCalls.size(), 1u);
    EXPECT_EQ(hotKeyCalls[0], "A " + std::to_string(kModifiers) + " " + std::to_string(kKey));

    // Another form in front answers the same combination with its own entry.
    ASSERT_TRUE(BringToFront(b.hwnd));
    hotKeyCalls.clear();
    SendMessageW(a.hwnd, WM_HOTKEY, 1, 0);
    ASSERT_EQ(hotKeyCalls.size(), 1u);
    EXPECT_EQ(hotKeyCalls[0], "B " + std::to_string(kModifiers) + " " + std::to_string(kKey));
}

TEST(Form, CompanionGoesDirectlyBehindWithoutTakingTheFocus) {
    Form game(Instance());
    game.SetText("G");
    game.onActivate = RecordActivate;
    Open(game);
    Form other(Instance());
    other.SetText("O");
    other.x = 300;
    Open(other);
    Form dialog(Instance(), dialogForm);
    dialog.SetText("D");
    dialog.topmost = false;
    dialog.x = 200;
    dialog.companion = &game;
    Open(dialog);

    ASSERT_TRUE(BringToFront(other.hwnd));
    events.clear();
    ASSERT_TRUE(BringToFront(dialog.hwnd));
    Pump(200);
    EXPECT_EQ(GetWindow(dialog.hwnd, GW_HWNDNEXT), game.hwnd);
    EXPECT_EQ(GetForegroundWindow(), dialog.hwnd);
    EXPECT_EQ(activeForm, &dialog);
    EXPECT_EQ(IndexOf("G+"), events.size());  // the companion was not activated
}

TEST(Form, RefusingFormSurvivesTheCloseBoxButNotItsDestructor) {
    auto* form = new Form(Instance());
    form->onClosing = RefuseToClose;
    Open(*form);
    HWND window = form->hwnd;
    closingAsked = 0;
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump(50);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(closingAsked, 1);
    form->RequestClose();  // asked by code, it counts as closed but keeps its window
    EXPECT_FALSE(form->created);
    EXPECT_TRUE(IsWindow(window));

    HICON icon = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
    form->icon = icon;
    delete form;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(closingAsked, 3);  // asked once more, then destroyed anyway
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(icon, &info));  // the form's icon went with it
}

TEST(Form, DeletedFormIsForgottenAsActiveFormAndCompanion) {
    Form survivor(Instance());
    survivor.x = 400;
    Open(survivor);
    auto* doomed = new Form(Instance());
    Open(*doomed);
    survivor.companion = doomed;
    ASSERT_TRUE(BringToFront(doomed->hwnd));
    EXPECT_EQ(activeForm, doomed);
    delete doomed;
    Pump(100);
    EXPECT_NE(activeForm, doomed);
    EXPECT_EQ(survivor.companion, nullptr);
    // Activating another form afterwards never touches the deleted one.
    ASSERT_TRUE(BringToFront(survivor.hwnd));
    EXPECT_EQ(activeForm, &survivor);
}
