#include "framework/menu.h"

#include "framework/shell.h"

namespace Orditex {

namespace {

// The font of a menu element goes where a control's would, when there is a
// real window to take it.
void ApplyFont(GUIElement& element) {
    if (element.font && element.hwnd && IsWindow(element.hwnd)) {
        SendMessageW(element.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(element.font->GetHandle()), TRUE);
    }
}

// An entry with its own pop-up is known to its parent menu by the pop-up's
// handle; a plain entry by its command id.
UINT ItemId(const SubMenu& entry) {
    if (entry.popupHandle) return static_cast<UINT>(reinterpret_cast<UINT_PTR>(entry.popupHandle));
    return static_cast<UINT>(entry.id);
}

// The window a menu bar hangs on, or none.
HWND BarWindow(GUIElement* bar) {
    return bar && bar->parent ? bar->parent->hwnd : nullptr;
}

}  // namespace

// ---------------------------------------------------------------- menu bar

MenuBar::MenuBar(Form* owner) : Child(owner) {
    kind = "menubar";
}

void MenuBar::Create() {
    if (created) return;
    HWND ownerWindow = BarWindow(this);
    if (!ownerWindow) return;
    menuHandle = CreateMenu();
    for (GUIElement* child : children) child->Create();
    SetMenu(ownerWindow, menuHandle);
    created = true;
    hwnd = reinterpret_cast<HWND>(menuHandle);
    CreateTooltip(hwnd);
    ApplyFont(*this);
}

// ---------------------------------------------------------------- pull-down menu

Menu::Menu(const std::string& menuText, MenuBar* bar) : Child(bar) {
    text = ToWide(menuText);
    kind = "menu";
    if (!bar) return;
    bar->children.push_back(this);
    // Called from the constructor: this class's own Create, named as such.
    if (bar->created) Menu::Create();
}

void Menu::Create() {
    if (created) return;
    auto* bar = dynamic_cast<MenuBar*>(parent);
    if (!bar || !bar->menuHandle) return;
    menuHandle = CreatePopupMenu();
    for (GUIElement* entry : children) entry->Create();
    AppendMenuW(bar->menuHandle, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menuHandle), text.c_str());
    // A title added to a bar already on screen shows at once.
    if (bar->created) DrawMenuBar(BarWindow(bar));
    created = true;
    hwnd = reinterpret_cast<HWND>(menuHandle);
    CreateTooltip(hwnd);
    ApplyFont(*this);
}

// ---------------------------------------------------------------- entry

SubMenu::SubMenu(GUIElement* owner, const std::string& entryText) : Child(owner) {
    text = ToWide(entryText);
    kind = "submenu";
    // The command id is fixed from the start, created or not.
    id = ++nextElementNumber;
    // Called from the constructor: this class's own Create, named as such.
    if (auto* menu = dynamic_cast<Menu*>(owner)) {
        menu->children.push_back(this);
        if (menu->created) SubMenu::Create();
    } else if (auto* entry = dynamic_cast<SubMenu*>(owner)) {
        entry->children.push_back(this);
        if (entry->created) SubMenu::Create();
    }
}

HMENU SubMenu::ParentMenu() const {
    if (auto* menu = dynamic_cast<Menu*>(parent)) return menu->menuHandle;
    if (auto* entry = dynamic_cast<SubMenu*>(parent)) return entry->popupHandle;
    return nullptr;
}

void SubMenu::Create() {
    if (created) return;
    HMENU parentMenu = ParentMenu();
    if (!parentMenu) return;
    if (children.empty()) {
        // A separator is appended without any text.
        AppendMenuW(parentMenu, appendFlags, static_cast<UINT_PTR>(id), text.empty() ? nullptr : text.c_str());
        if (checkable) {
            CheckMenuItem(parentMenu, static_cast<UINT>(id), MF_BYCOMMAND | (checkState ? MF_CHECKED : MF_UNCHECKED));
        }
    } else {
        popupHandle = CreatePopupMenu();
        for (GUIElement* entry : children) entry->Create();
        AppendMenuW(parentMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popupHandle), text.c_str());
    }
    created = true;
    hwnd = reinterpret_cast<HWND>(popupHandle);
    // Create also runs from the constructor, where this is SubMenu's own
    // SetEnabled; later it is whatever the entry's class makes of it.
    if (!enabled) SetEnabled(false);  // NOLINT(clang-analyzer-optin.cplusplus.VirtualCall): both are meant
    CreateTooltip(hwnd);
    ApplyFont(*this);
}

void SubMenu::SetEnabled(bool enable) {
    enabled = enable;
    if (!created) return;
    if (HMENU parentMenu = ParentMenu()) {
        EnableMenuItem(parentMenu, ItemId(*this), MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    }
}

bool SubMenu::ReadCheck() {
    HMENU parentMenu = ParentMenu();
    if (created && parentMenu) {
        UINT state = GetMenuState(parentMenu, static_cast<UINT>(id), MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1)) checkState = (state & MF_CHECKED) != 0;
    }
    return checkState;
}

void SubMenu::ApplyCheck() {
    if (HMENU parentMenu = ParentMenu()) {
        UINT mark = checkState && checkable ? MF_CHECKED : MF_UNCHECKED;
        CheckMenuItem(parentMenu, static_cast<UINT>(id), MF_BYCOMMAND | mark);
    }
}

void SubMenu::Command() {
    if (checkable) {
        checkState = !ReadCheck();
        if (created) ApplyCheck();
    }
    if (onClick) onClick(this);
}

}  // namespace Orditex
