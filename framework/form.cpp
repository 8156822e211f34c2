#include "framework/form.h"

#include "framework/window_proc.h"

namespace Orditex {

HWND mainWindow = nullptr;
Form* activeForm = nullptr;

namespace {

constexpr DWORD kCaptionedStyle = 0x10C90000;  // visible, caption, system menu, maximize box
constexpr DWORD kModalFrame = 0x80;
constexpr DWORD kMinimizeBox = 0x20000;
constexpr DWORD kMaximizeBox = 0x10000;
constexpr DWORD kSizingBorder = 0x40000;
constexpr DWORD kPopup = 0x80000000;
constexpr DWORD kDisabled = 0x08000000;
constexpr DWORD kDialogTopmost = 0x89;  // dialog modal frame, topmost, tool window
constexpr DWORD kDialog = 0x81;         // dialog modal frame, tool window

}  // namespace

// ---------------------------------------------------------------- form

Form::Form(HINSTANCE moduleInstance) : GUIElement(moduleInstance) {
    kind = "form";
}

Form::Form(HINSTANCE moduleInstance, DialogFormTag) : GUIElement(moduleInstance) {
    kind = "form";
    dialogStyle = true;
}

namespace {

// Nothing may reach a deleted form through the active-form global or a
// companion link.
void ForgetForm(Form* form) {
    if (activeForm == form) activeForm = nullptr;
    for (GUIElement* element : ElementRegistry::Elements()) {
        if (auto* other = dynamic_cast<Form*>(element); other && other->companion == form) other->companion = nullptr;
    }
}

}  // namespace

Form::~Form() {
    CloseAndDestroy();
    // The icon goes only once no window shows it any more.
    if (icon) DestroyIcon(icon);
    icon = nullptr;
    // Every form registers a class of its own. Letting it go with the form
    // frees what the system keeps with a class (the small icon it derives
    // from the class icon, a background brush), which would otherwise pile up
    // with every name dialog of a long session.
    if (!className.empty()) UnregisterClassW(className.c_str(), instance);
    hotKeys.clear();
    // Only now: the activation messages that destroying the window sends may
    // have made this form the active one again.
    ForgetForm(this);
}

DWORD Form::ComputeExtendedStyle() const {
    if (dialogStyle) return topmost ? kDialogTopmost : kDialog;
    return 0;
}

DWORD Form::ComputeStyle() const {
    DWORD style;
    if (dialogStyle) {
        style = kCaptionedStyle;
        if (modalFrame) style |= kModalFrame;
    } else if (captioned) {
        style = kCaptionedStyle;
        if (minimizeBox) style |= kMinimizeBox;
        if (maximizeBox) style |= kSizingBorder | kMaximizeBox;
    } else {
        style = kPopup;
    }
    if (!maximizeBox) style &= ~kMaximizeBox;
    if (!minimizeBox) style &= ~kMinimizeBox;
    if (!enabled) style |= kDisabled;
    return style;
}

void Form::Create() {
    if (created) return;
    std::wstring title = text;

    // Every form window gets a class of its own, named after the counter.
    className = L"Window" + std::to_wstring(nextElementNumber);
    id = ++nextElementNumber;

    windowClass = WNDCLASSEXW{};
    windowClass.cbSize = sizeof(WNDCLASSEXW);
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className.c_str();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground =
        backColor == static_cast<COLORREF>(-1) ? GetSysColorBrush(COLOR_BTNFACE) : CreateSolidBrush(backColor);
    windowClass.hIcon =
        iconResource != 0 ? LoadIconW(instance, MAKEINTRESOURCEW(iconResource)) : LoadIconW(nullptr, IDI_APPLICATION);
    RegisterClassExW(&windowClass);

    hwnd = CreateWindowExW(ComputeExtendedStyle(), className.c_str(), title.c_str(), ComputeStyle(), x, y, width,
                           height, ownerWindow, nullptr, instance, nullptr);
    if (!mainWindow) mainWindow = hwnd;

    NotifyCreated(hwnd);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    created = true;
    CreateTooltip(hwnd);
    if (font && hwnd) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font->GetHandle()), TRUE);
}

void Form::RequestClose() {
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    created = false;
}

void Form::CloseAndDestroy() {
    // A window already destroyed is left alone: its handle may belong to
    // another window by now.
    if (hwnd && !destroyed && IsWindow(hwnd)) {
        RequestClose();
        // The window procedure sets destroyed while the close request runs.
        // cppcheck-suppress knownConditionTrueFalse ; it can be false by now
        if (!destroyed && IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    created = false;
}

void Form::RegisterHotKeys() {
    for (size_t i = 0; i < hotKeys.size(); ++i) {
        RegisterHotKey(hwnd, static_cast<int>(i + 1), static_cast<UINT>(hotKeys[i].modifiers),
                       static_cast<UINT>(hotKeys[i].key));
    }
}

void Form::UnregisterHotKeys() {
    for (size_t i = 1; i <= hotKeys.size(); ++i) UnregisterHotKey(hwnd, static_cast<int>(i));
}

void Form::HandleActivation(bool activated) {
    // The window that loses the activation may still be the foreground
    // window while it is told so: that message is never an activation, or a
    // form handing its activation on would take it back at once.
    if (activated && hwnd && GetForegroundWindow() == hwnd) {
        if (activeForm) {
            // The form last active (this one too, when it is activated again)
            // lets go of its hot keys before the new one takes them.
            Form* previous = activeForm;
            previous->UnregisterHotKeys();
            previous->NotifyDeactivate();
        }
        RegisterHotKeys();
        NotifyActivate();
        activeForm = this;
        if (companion && companion->hwnd && hwnd) {
            // The companion goes directly behind this form (a window this form
            // owns stays in front of it all the same). A form that cannot take
            // input hands the activation on to its companion, so that the
            // companion (its name dialog) gets the keys; any other form keeps
            // it, or the two would hand the activation back and forth.
            UINT flags = SWP_NOMOVE | SWP_NOSIZE;
            if (IsWindowEnabled(hwnd) || !IsWindowEnabled(companion->hwnd)) flags |= SWP_NOACTIVATE;
            SetWindowPos(companion->hwnd, hwnd, 0, 0, 0, 0, flags);
        }
    } else {
        UnregisterHotKeys();
        NotifyDeactivate();
    }
}

void Form::HandleHotKey(int32_t hotKeyId) {
    if (hotKeyId < 1 || static_cast<size_t>(hotKeyId) > hotKeys.size()) return;
    const HotKey entry = hotKeys[static_cast<size_t>(hotKeyId) - 1];
    HWND foreground = GetForegroundWindow();
    if (foreground && foreground == hwnd) {
        if (entry.handler) entry.handler(this, entry.modifiers, entry.key);
        return;
    }
    // Another form is in front: it answers the same key combination with its own entry.
    GUIElement* element = ElementRegistry::FindElementByWindow(foreground);
    auto* front = element && element->hwnd == foreground ? dynamic_cast<Form*>(element) : nullptr;
    if (!front) return;
    for (const HotKey& own : front->hotKeys) {
        if (own.modifiers == entry.modifiers && own.key == entry.key) {
            if (own.handler) own.handler(front, own.modifiers, own.key);
            return;
        }
    }
}

// ---------------------------------------------------------------- child

Child::Child(GUIElement* owner) : GUIElement(nullptr) {
    parent = owner;
}

void Child::CreateControl(const wchar_t* controlClass, DWORD style, DWORD extendedStyle, bool withTooltip) {
    if (created) return;
    id = ++nextElementNumber;
    style |= WS_CHILD;
    if (!enabled) style |= WS_DISABLED;

    HWND parentWindow = parent ? parent->hwnd : nullptr;
    HWND control = nullptr;
    if (parentWindow && IsWindow(parentWindow)) {
        HINSTANCE module = instance ? instance : GetModuleHandleW(nullptr);
        control = CreateWindowExW(extendedStyle, controlClass, text.c_str(), style, x, y, width, height, parentWindow,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
    }
    if (control) {
        hwnd = control;
        baseWndProc = SubclassToFramework(control);
    } else {
        SetLastError(ERROR_SUCCESS);  // a control that cannot be made is not reported
    }
    created = true;
    if (!withTooltip) return;
    CreateTooltip(hwnd);
    if (font && hwnd) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font->GetHandle()), TRUE);
}

}  // namespace Orditex
