// Top-level windows (Form) and the abstract base of controls that live inside
// one (Child).
#pragma once

#include "framework/gui_element.h"

namespace Orditex {

class Form;

struct HotKey {
    int32_t modifiers = 0;
    int32_t key = 0;
    void (*handler)(Form* form, int32_t modifiers, int32_t key) = nullptr;
};

struct DialogFormTag {};
inline constexpr DialogFormTag dialogForm{};

// NOLINTNEXTLINE(cppcoreguidelines-special-member-functions): GUIElement deletes the copies
class Form : public GUIElement {
public:
    explicit Form(HINSTANCE instance);        // normal form
    Form(HINSTANCE instance, DialogFormTag);  // dialog-style form
    // Deletes the icon, closes and destroys the window if it still exists.
    ~Form() override;

    Form* companion = nullptr;
    // The window that owns this one, if any: the system keeps an owned window
    // in front of its owner, and the window manager raises it with its owner.
    HWND ownerWindow = nullptr;
    bool topmost = true;
    bool minimizeBox = true;
    bool maximizeBox = true;
    bool captioned = true;
    bool dialogStyle = false;
    bool modalFrame = false;
    std::vector<HotKey> hotKeys;
    HICON icon = nullptr;
    int32_t iconResource = 0;
    // The registered class name; windowClass.lpszClassName points into it.
    std::wstring className;

    void Create() override;
    virtual void FormHook1() {}
    virtual void FormHook2() {}

    void RegisterHotKeys();
    void UnregisterHotKeys();

    // Sends the window the close request, which its closing hook may refuse,
    // and marks the form as no longer created.
    void RequestClose();
    // Closes and destroys the form's own window while it still exists,
    // whatever created says: the close request lets the closing hook run,
    // and a window whose hook refused is destroyed all the same.
    void CloseAndDestroy();

    // Run by the window procedure on WM_ACTIVATE (activated false for the
    // message that deactivates the window) and WM_HOTKEY.
    void HandleActivation(bool activated);
    void HandleHotKey(int32_t hotKeyId);

    // The style bits Create uses, from the stored flags.
    DWORD ComputeStyle() const;
    DWORD ComputeExtendedStyle() const;
};

// The first form whose window was created; set once.
extern HWND mainWindow;
// The form activated last.
extern Form* activeForm;

class Child : public GUIElement {
public:
    explicit Child(GUIElement* owner);

protected:
    // The create contract shared by every control: a new id, the native
    // control under the parent's window, subclassed to the framework's
    // window procedure, then tooltip and font. A hidden helper control (the
    // timer's) passes withTooltip false and gets neither.
    void CreateControl(const wchar_t* className, DWORD style, DWORD extendedStyle, bool withTooltip = true);
};

}  // namespace Orditex
