#include "framework/gui_element.h"

#include "framework/menu.h"
#include "framework/shell.h"

#include <commctrl.h>

#include <algorithm>

namespace Orditex {

int32_t nextElementNumber = 0;

namespace {

std::vector<GUIElement*>& Registry() {
    static std::vector<GUIElement*> elements;
    return elements;
}

// Menu elements keep a menu handle in hwnd; only a real window may be asked
// for its text, rectangle or tooltip.
bool IsRealWindow(HWND window) {
    return window && IsWindow(window);
}

// The tool description of a tooltip: one tool covering the owner's client area.
TOOLINFOW ToolFor(HWND owner, wchar_t* textBuffer) {
    TOOLINFOW tool{};
    // The size every comctl32 version accepts (without the reserved field).
    // cppcheck-suppress cstyleCast ; the cast is inside commctrl.h's macro
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(owner);
    tool.lpszText = textBuffer;
    GetClientRect(owner, &tool.rect);
    return tool;
}

// The tooltip text as the control takes it: wide, at most 2024 characters.
std::vector<wchar_t> TooltipBuffer(const std::string& tooltipText) {
    std::wstring wide = ToWide(tooltipText);
    if (wide.size() > 2024) wide.resize(2024);
    std::vector<wchar_t> buffer(wide.begin(), wide.end());
    buffer.push_back(L'\0');
    return buffer;
}

}  // namespace

// ---------------------------------------------------------------- registry

void ElementRegistry::Add(GUIElement* element) {
    if (element) Registry().push_back(element);
}

void ElementRegistry::Remove(GUIElement* element) {
    auto& elements = Registry();
    elements.erase(std::remove(elements.begin(), elements.end(), element), elements.end());
}

GUIElement* ElementRegistry::FindElementByWindow(HWND window) {
    const auto& elements = Registry();
    for (GUIElement* element : elements) {
        if (element && element->hwnd == window) return element;
    }
    // The window procedure sees the first messages of a new window before its
    // create operation has stored the handle: they belong to the newest element.
    if (!elements.empty() && elements.back() && !elements.back()->hwnd) return elements.back();
    return nullptr;
}

GUIElement* ElementRegistry::FindElementById(int32_t elementId) {
    for (GUIElement* element : Registry()) {
        if (element && element->id == elementId) return element;
    }
    return nullptr;
}

SubMenu* ElementRegistry::FindSubMenuById(int32_t elementId) {
    for (GUIElement* element : Registry()) {
        if (!element || element->id != elementId) continue;
        if (auto* entry = dynamic_cast<SubMenu*>(element)) return entry;
    }
    return nullptr;
}

const std::vector<GUIElement*>& ElementRegistry::Elements() {
    return Registry();
}

// ---------------------------------------------------------------- element

GUIElement::GUIElement(HINSTANCE moduleInstance) : instance(moduleInstance) {
    ElementRegistry::Add(this);
}

GUIElement::~GUIElement() {
    ElementRegistry::Remove(this);
}

void GUIElement::SetSize(int32_t newWidth, int32_t newHeight) {
    width = newWidth;
    height = newHeight;
    if (!created) return;
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    UpdateTooltip();
    Redraw();
}

void GUIElement::SetBackColor(COLORREF colour) {
    backColor = colour;
    if (!created || !IsRealWindow(hwnd)) return;
    // -1 stands for the system's button face, as it does for a form's class brush.
    COLORREF fill = colour == static_cast<COLORREF>(-1) ? GetSysColor(COLOR_BTNFACE) : colour;
    InvalidateRect(hwnd, nullptr, FALSE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    if (dc) {
        RECT client;
        GetClientRect(hwnd, &client);
        COLORREF previous = SetBkColor(dc, fill);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, L"", 0, nullptr);
        SetBkColor(dc, previous);
    }
    EndPaint(hwnd, &paint);
    backPainted = true;
}

void GUIElement::SetEnabled(bool enable) {
    enabled = enable;
    if (created) EnableWindow(hwnd, enable ? TRUE : FALSE);
}

void GUIElement::SetTextWide(const std::wstring& newText) {
    text = newText;
    if (created) SetWindowTextW(hwnd, text.c_str());
}

void GUIElement::SetText(const std::string& newText) {
    SetTextWide(ToWide(newText));
}

void GUIElement::NotifyLeftButtonUp(int32_t px, int32_t py) {
    if (onLeftButtonUp) onLeftButtonUp(this, hwnd, px, py);
}

void GUIElement::NotifyLeftButtonDown(int32_t px, int32_t py) {
    if (onLeftButtonDown) onLeftButtonDown(this, hwnd, px, py);
}

void GUIElement::NotifyLeftDoubleClick(int32_t px, int32_t py) {
    if (onLeftDoubleClick) onLeftDoubleClick(this, hwnd, px, py);
}

void GUIElement::NotifyRightButtonUp(int32_t px, int32_t py) {
    if (onRightButtonUp) onRightButtonUp(this, hwnd, px, py);
}

void GUIElement::NotifyRightButtonDown(int32_t px, int32_t py) {
    if (onRightButtonDown) onRightButtonDown(this, hwnd, px, py);
}

void GUIElement::NotifyRightDoubleClick(int32_t px, int32_t py) {
    if (onRightDoubleClick) onRightDoubleClick(this, hwnd, px, py);
}

void GUIElement::NotifyKeyUp(int32_t key) {
    if (onKeyUp) onKeyUp(this, key);
}

void GUIElement::NotifyKeyDown(int32_t key) {
    if (onKeyDown) onKeyDown(this, key);
}

bool GUIElement::NotifyChar(int32_t code) {
    return onChar ? onChar(this, code) : true;
}

void GUIElement::NotifyMouseMove(int32_t px, int32_t py) {
    if (onMouseMove) onMouseMove(this, px, py);
}

void GUIElement::NotifyMouseHover() {
    if (onMouseHover) onMouseHover(this);
}

void GUIElement::NotifyMouseLeave() {
    if (onMouseLeave) onMouseLeave(this);
}

void GUIElement::Focus() {
    if (created) SetFocus(hwnd);
}

void GUIElement::NotifyMove() {
    GetPosition();
    if (onMove) onMove(this);
}

void GUIElement::NotifyResize() {
    if (onResize) onResize(this);
}

void GUIElement::NotifyPaint() {
    if (backPainted) SetBackColor(backColor);
    if (onPaint) onPaint(this);
}

HBRUSH GUIElement::GetControlBrush(HDC) {
    return nullptr;
}

bool GUIElement::NotifyClosing() {
    return onClosing ? onClosing(this) : true;
}

void GUIElement::NotifyDestroy() {
    if (onDestroy) onDestroy(this);
    destroyed = true;
}

void GUIElement::NotifyFocus() {
    focusText = GetTextWide();
    if (onFocus) onFocus(this);
}

void GUIElement::NotifyLostFocus() {
    // The callback runs first, so a text it changes takes part in the comparison.
    if (onLostFocus) onLostFocus(this);
    if (GetTextWide() != focusText && onTextChanged) onTextChanged(this);
}

void GUIElement::NotifyActivate() {
    if (onActivate) onActivate(this);
}

void GUIElement::NotifyDeactivate() {
    if (onDeactivate) onDeactivate(this);
}

void GUIElement::NotifyCreated(HWND window) {
    if (!hwnd) hwnd = window;
    if (createdNotified) return;
    createdNotified = true;  // before the callback, so a nested message cannot call it twice
    if (onCreated) onCreated(this, hwnd);
}

void GUIElement::Redraw() {
    if (created && IsRealWindow(hwnd)) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

bool GUIElement::IsWaitCursor() {
    return waitCursor;
}

bool GUIElement::IsHandCursor() {
    return handCursor;
}

void GUIElement::SetWaitCursor(bool on) {
    waitCursor = on;
}

void GUIElement::SetHandCursor(bool on) {
    handCursor = on;
}

void GUIElement::NotifyShow() {}

void GUIElement::NotifyItems(int32_t, const std::vector<int32_t>&, const std::vector<std::string>&) {}

POINT GUIElement::GetPosition() {
    RECT frame;
    if (created && IsRealWindow(hwnd) && GetWindowRect(hwnd, &frame)) {
        POINT corner{frame.left, frame.top};
        if (parent && IsRealWindow(parent->hwnd)) ScreenToClient(parent->hwnd, &corner);
        x = corner.x;
        y = corner.y;
    }
    return POINT{x, y};
}

int32_t GUIElement::GetClientWidth() {
    RECT client;
    if (created && IsRealWindow(hwnd) && GetClientRect(hwnd, &client)) width = client.right - client.left;
    return width;
}

std::wstring GUIElement::GetTextWide() {
    // A menu element has no window text: its stored text is the only one.
    if (created && IsRealWindow(hwnd)) {
        int length = GetWindowTextLengthW(hwnd);
        if (length <= 0) {
            text.clear();
        } else {
            std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
            int read = GetWindowTextW(hwnd, buffer.data(), length + 1);
            if (read > 0) text.assign(buffer.data(), static_cast<size_t>(read));
        }
    }
    return text;
}

std::string GUIElement::GetText() {
    // What a window holds may have been typed or pasted by the user: it
    // reaches narrow text through the code page, never by dropping high bytes.
    return ToCodePage(GetTextWide());
}

void GUIElement::FitClientArea() {
    if (!created || !IsRealWindow(hwnd)) return;
    RECT frame;
    RECT client;
    if (!GetWindowRect(hwnd, &frame) || !GetClientRect(hwnd, &client)) return;
    width = client.right - client.left;
    height = client.bottom - client.top;
    int32_t borderWidth = std::max<int32_t>(0, (frame.right - frame.left) - width);
    int32_t borderHeight = std::max<int32_t>(0, (frame.bottom - frame.top) - height);

    GetPosition();
    // Moved up and left by the frame, but never so far that the caption
    // leaves the top or left edge of the screen and cannot be grabbed.
    x = std::max<int32_t>(0, x - borderWidth);
    y = std::max<int32_t>(0, y - 2 * borderHeight);
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Redraw();
    SetSize(800 + borderWidth, 600 + borderHeight);
}

void GUIElement::CreateTooltip(HWND owner) {
    if (tooltipText.empty() || !IsRealWindow(owner)) return;
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&classes);
    tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                              0, owner, nullptr, instance, nullptr);
    if (!tooltip) return;
    SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<wchar_t> buffer = TooltipBuffer(tooltipText);
    TOOLINFOW tool = ToolFor(owner, buffer.data());
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void GUIElement::UpdateTooltip() {
    if (!tooltip) {
        CreateTooltip(hwnd);
        return;
    }
    if (!IsRealWindow(hwnd)) return;
    std::vector<wchar_t> buffer = TooltipBuffer(tooltipText);
    TOOLINFOW tool = ToolFor(hwnd, buffer.data());
    SendMessageW(tooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace Orditex
