#include "support/window_support.h"
#include "framework/form.h"
#include "framework/menu.h"

#include <gtest/gtest.h>

#include <string>

using namespace Orditex;
using namespace TestSupport;

namespace {

std::wstring ItemText(HMENU menu, UINT position) {
    wchar_t buffer[64] = {};
    GetMenuStringW(menu, position, buffer, 64, MF_BYPOSITION);
    return buffer;
}

UINT State(const SubMenu& entry) {
    return GetMenuState(entry.ParentMenu(), static_cast<UINT>(entry.id), MF_BYCOMMAND);
}

// A form with a menu bar, both left to the test to create.
class Menus : public ::testing::Test {
protected:
    Form form{Instance()};
    MenuBar bar{&form};
};

}  // namespace

TEST_F(Menus, TheTreeIsBuiltTopDownInTheOrderItWasAdded) {
    Open(form);
    Menu file("&File", &bar);
    SubMenu quit(&file, "&Esci");
    Menu options("&Opzioni", &bar);
    SubMenu nested(&options, "&Altro");
    SubMenu inner(&nested, "&Dentro");
    EXPECT_EQ(bar.kind, "menubar");
    EXPECT_EQ(file.kind, "menu");
    EXPECT_EQ(quit.kind, "submenu");
    EXPECT_EQ(bar.children.size(), 2u);
    EXPECT_FALSE(quit.created);  // nothing exists before the bar is created
    EXPECT_EQ(inner.id, nested.id + 1);

    bar.Create();
    ASSERT_TRUE(bar.created);
    EXPECT_EQ(GetMenu(form.hwnd), bar.menuHandle);
    ASSERT_EQ(GetMenuItemCount(bar.menuHandle), 2);
    EXPECT_EQ(ItemText(bar.menuHandle, 0), L"&File");
    EXPECT_EQ(ItemText(bar.menuHandle, 1), L"&Opzioni");
    EXPECT_EQ(GetSubMenu(bar.menuHandle, 0), file.menuHandle);
    EXPECT_EQ(GetMenuItemID(file.menuHandle, 0), static_cast<UINT>(quit.id));
    EXPECT_EQ(GetSubMenu(options.menuHandle, 0), nested.popupHandle);
    EXPECT_EQ(GetMenuItemID(nested.popupHandle, 0), static_cast<UINT>(inner.id));
    EXPECT_TRUE(inner.created);
    // A menu element has no window text: reading it keeps the entry's own.
    EXPECT_EQ(quit.GetText(), "&Esci");
    EXPECT_EQ(file.GetText(), "&File");
}

TEST_F(Menus, ACheckedEntryShowsTheMarkAndAChangeShowsOnceApplied) {
    Open(form);
    Menu options("&Opzioni", &bar);
    SubMenu joystick(&options, "&Abilita Joystick");
    joystick.checkable = true;
    joystick.checkState = true;
    bar.Create();
    EXPECT_TRUE(State(joystick) & MF_CHECKED);

    // A change made by the program shows only once applied.
    joystick.checkState = false;
    EXPECT_TRUE(State(joystick) & MF_CHECKED);
    joystick.ApplyCheck();
    EXPECT_FALSE(State(joystick) & MF_CHECKED);
    EXPECT_FALSE(joystick.ReadCheck());
}

TEST_F(Menus, SeparatorEntryHasNoText) {
    Open(form);
    Menu file("&File", &bar);
    SubMenu first(&file, "&Nuovo");
    SubMenu separator(&file, "");
    separator.appendFlags = MF_SEPARATOR;
    SubMenu last(&file, "&Esci");
    bar.Create();
    ASSERT_EQ(GetMenuItemCount(file.menuHandle), 3);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    ASSERT_TRUE(GetMenuItemInfoW(file.menuHandle, 1, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
    EXPECT_EQ(info.cch, 0u);
    EXPECT_EQ(ItemText(file.menuHandle, 2), L"&Esci");
}

TEST_F(Menus, MenusAndEntriesAddedLaterShowAtTheEnd) {
    Open(form);
    Menu file("&File", &bar);
    SubMenu quit(&file, "&Esci");
    bar.Create();

    Menu help("&?", &bar);
    EXPECT_TRUE(help.created);
    ASSERT_EQ(GetMenuItemCount(bar.menuHandle), 2);
    EXPECT_EQ(ItemText(bar.menuHandle, 1), L"&?");
    SubMenu home(&help, "&Home");
    EXPECT_TRUE(home.created);
    EXPECT_EQ(GetMenuItemID(help.menuHandle, 0), static_cast<UINT>(home.id));
    SubMenu again(&file, "&Ancora");
    EXPECT_EQ(GetMenuItemID(file.menuHandle, 1), static_cast<UINT>(again.id));
}

TEST_F(Menus, DisabledEntryIsGreyedAndCanBeEnabledAgain) {
    Open(form);
    Menu file("&File", &bar);
    SubMenu entry(&file, "&Salva");
    entry.SetEnabled(false);
    SubMenu nested(&file, "&Recenti");
    SubMenu inner(&nested, "uno");
    nested.SetEnabled(false);
    bar.Create();
    EXPECT_TRUE(State(entry) & MF_GRAYED);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoW(file.menuHandle, 1, TRUE, &info));
    EXPECT_TRUE(info.fState & MFS_GRAYED);  // a pop-up entry greys as well

    entry.SetEnabled(true);
    EXPECT_FALSE(State(entry) & MF_GRAYED);
}

TEST_F(Menus, NothingIsCreatedWithoutANativeParent) {
    // The form has no window.
    Menu file("&File", &bar);
    SubMenu loose(nullptr, "sola");
    bar.Create();
    loose.Create();
    EXPECT_FALSE(bar.created);
    EXPECT_FALSE(file.created);
    EXPECT_FALSE(loose.created);
    EXPECT_EQ(ElementRegistry::FindSubMenuById(loose.id), &loose);
    // Choosing an entry without a menu only toggles what it stores.
    loose.checkable = true;
    loose.Command();
    EXPECT_TRUE(loose.checkState);
}
