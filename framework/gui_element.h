// The element model: every window-backed object of the program is a
// GUIElement. Elements are plain objects first: setters store into fields and
// touch the native window only once it exists; Create builds the window from
// the stored fields. Window messages reach the element's notify operations
// (window_proc.cpp), whose base versions call the optional callback fields.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Orditex {

class GUIElement;
class SubMenu;

// A font description that creates its font handle on first use and owns it.
class FontSpec {
public:
    FontSpec();
    FontSpec(const std::string& faceName, int32_t cellHeight);
    ~FontSpec();
    FontSpec(const FontSpec&) = delete;
    FontSpec& operator=(const FontSpec&) = delete;

    // The cached handle, created on the first call; null while creation fails.
    HFONT GetHandle();

    HFONT handle = nullptr;
    std::wstring face;
    int32_t height = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool fixedPitch = false;
};

// Callback shapes; every callback receives the element first.
using CreatedCallback = void (*)(GUIElement* element, HWND window);
using MouseButtonCallback = void (*)(GUIElement* element, HWND window, int32_t x, int32_t y);
using KeyCallback = void (*)(GUIElement* element, int32_t key);
using CharCallback = bool (*)(GUIElement* element, int32_t code);
using ElementCallback = void (*)(GUIElement* element);
using ClosingCallback = bool (*)(GUIElement* element);
using MouseMoveCallback = void (*)(GUIElement* element, int32_t x, int32_t y);

class GUIElement {
public:
    explicit GUIElement(HINSTANCE instance);
    // Leaves the registry, so that no lookup ever hands out a dead element.
    // It does not destroy the window.
    virtual ~GUIElement();
    GUIElement(const GUIElement&) = delete;
    GUIElement& operator=(const GUIElement&) = delete;

    bool visible = true;
    bool charPreview = false;
    bool destroyed = false;
    bool waitCursor = false;
    bool handCursor = false;
    HWND tooltip = nullptr;
    HWND hwnd = nullptr;
    HINSTANCE instance = nullptr;
    WNDCLASSEXW windowClass{};
    FontSpec* font = nullptr;
    int32_t width = 100;
    int32_t height = 50;
    int32_t x = 100;
    int32_t y = 100;
    bool created = false;
    COLORREF backColor = static_cast<COLORREF>(-1);
    std::wstring text;
    std::wstring focusText;
    bool backPainted = false;
    bool enabled = true;
    int32_t id = 0;
    std::string kind;
    std::string tooltipText;
    GUIElement* parent = nullptr;
    WNDPROC baseWndProc = nullptr;
    CreatedCallback onCreated = nullptr;
    bool createdNotified = false;
    MouseButtonCallback onLeftButtonUp = nullptr;
    MouseButtonCallback onLeftButtonDown = nullptr;
    MouseButtonCallback onLeftDoubleClick = nullptr;
    MouseButtonCallback onRightButtonUp = nullptr;
    MouseButtonCallback onRightButtonDown = nullptr;
    MouseButtonCallback onRightDoubleClick = nullptr;
    KeyCallback onKeyUp = nullptr;
    KeyCallback onKeyDown = nullptr;
    CharCallback onChar = nullptr;
    ElementCallback onMove = nullptr;
    ElementCallback onResize = nullptr;
    ElementCallback onPaint = nullptr;
    ClosingCallback onClosing = nullptr;
    ElementCallback onDestroy = nullptr;
    ElementCallback onFocus = nullptr;
    ElementCallback onLostFocus = nullptr;
    ElementCallback onActivate = nullptr;
    ElementCallback onDeactivate = nullptr;
    ElementCallback onTextChanged = nullptr;
    MouseMoveCallback onMouseMove = nullptr;
    ElementCallback onMouseHover = nullptr;
    ElementCallback onMouseLeave = nullptr;

    virtual void SetSize(int32_t newWidth, int32_t newHeight);
    virtual void SetBackColor(COLORREF colour);
    virtual void SetEnabled(bool enable);
    virtual void SetTextWide(const std::wstring& newText);
    virtual void SetText(const std::string& newText);
    virtual void NotifyLeftButtonUp(int32_t px, int32_t py);
    virtual void NotifyLeftButtonDown(int32_t px, int32_t py);
    virtual void NotifyLeftDoubleClick(int32_t px, int32_t py);
    virtual void NotifyRightButtonUp(int32_t px, int32_t py);
    virtual void NotifyRightButtonDown(int32_t px, int32_t py);
    virtual void NotifyRightDoubleClick(int32_t px, int32_t py);
    virtual void NotifyKeyUp(int32_t key);
    virtual void NotifyKeyDown(int32_t key);
    virtual bool NotifyChar(int32_t code);
    virtual void NotifyMouseMove(int32_t px, int32_t py);
    virtual void NotifyMouseHover();
    virtual void NotifyMouseLeave();
    virtual void Focus();
    virtual void NotifyMove();
    virtual void NotifyResize();
    virtual void NotifyPaint();
    virtual HBRUSH GetControlBrush(HDC dc);
    virtual bool NotifyClosing();
    virtual void NotifyDestroy();
    virtual void NotifyFocus();
    virtual void NotifyLostFocus();
    virtual void NotifyActivate();
    virtual void NotifyDeactivate();
    virtual void NotifyCreated(HWND window);
    virtual void Redraw();
    virtual bool IsWaitCursor();
    virtual bool IsHandCursor();
    virtual void SetWaitCursor(bool on);
    virtual void SetHandCursor(bool on);
    virtual void NotifyShow();
    virtual void NotifyItems(int32_t itemKind, const std::vector<int32_t>& numbers,
                             const std::vector<std::string>& texts);
    virtual void Create() = 0;

    // Reads the window's top-left corner (in the parent's client coordinates
    // for children) into x, y.
    POINT GetPosition();
    int32_t GetClientWidth();
    std::wstring GetTextWide();
    // The window text in the system code page ("?" for what it cannot hold).
    std::string GetText();
    // Makes the client area exactly 800 x 600 pixels.
    void FitClientArea();
    void CreateTooltip(HWND owner);
    void UpdateTooltip();
};

// Second base of Button and SubMenu: the one field a click reaches.
class CommandElement {
public:
    using ClickCallback = void (*)(CommandElement* element);
    ClickCallback onClick = nullptr;
};

// Every living element, in construction order.
class ElementRegistry {
public:
    static void Add(GUIElement* element);
    static void Remove(GUIElement* element);
    // The element of the window; while a new window is being created (no
    // element owns it yet) the newest element when it has no window.
    static GUIElement* FindElementByWindow(HWND window);
    static GUIElement* FindElementById(int32_t elementId);
    static SubMenu* FindSubMenuById(int32_t elementId);
    static const std::vector<GUIElement*>& Elements();
};

// The one counter every create operation draws its id from.
extern int32_t nextElementNumber;

}  // namespace Orditex
