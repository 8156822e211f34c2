// Menu bar, pull-down menus and their entries as a tree of elements whose
// hwnd holds a menu handle. Entries take their command id in the constructor.
#pragma once

#include "framework/form.h"

namespace Orditex {

class MenuBar : public Child {
public:
    explicit MenuBar(Form* owner);

    std::vector<GUIElement*> children;
    HMENU menuHandle = nullptr;

    void Create() override;
};

class Menu : public Child {
public:
    Menu(const std::string& menuText, MenuBar* bar);

    std::vector<GUIElement*> children;
    HMENU menuHandle = nullptr;

    void Create() override;
};

class SubMenu : public Child, public CommandElement {
public:
    SubMenu(GUIElement* owner, const std::string& entryText);

    std::vector<GUIElement*> children;
    HMENU popupHandle = nullptr;
    UINT appendFlags = 0;  // a plain text entry
    bool checkable = false;
    bool checkState = false;

    void Create() override;
    void SetEnabled(bool enable) override;

    // The native menu this entry sits in, or none.
    HMENU ParentMenu() const;
    bool ReadCheck();
    void ApplyCheck();
    // A menu command for this entry: flip a checkable entry, then onClick.
    void Command();
};

}  // namespace Orditex
