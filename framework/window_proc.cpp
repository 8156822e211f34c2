#include "framework/window_proc.h"

#include "framework/controls.h"
#include "framework/drawing.h"
#include "framework/form.h"
#include "framework/menu.h"
#include "framework/timer.h"

#include <algorithm>
#include <cstdlib>

namespace Orditex {

namespace {

// The previous procedure of a subclassed control, kept on the control itself:
// a control whose element has already been deleted still reaches it.
const wchar_t* const kBaseProcProperty = L"Orditex.BaseWndProc";

HCURSOR waitCursorHandle = nullptr;
HCURSOR handCursorHandle = nullptr;
bool mouseTracking = false;

// One message on its way through the framework.
struct Call {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    GUIElement* element;  // none when no element owns the window
    WNDPROC baseProc;     // the control's own procedure, or none for the system default

    // Default handling with unchanged parameters. A window that a callback
    // destroyed gets none.
    LRESULT Default() const {
        if (!IsWindow(window)) return 0;
        if (baseProc) return CallWindowProcW(baseProc, window, message, wParam, lParam);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    int32_t X() const { return static_cast<int16_t>(LOWORD(lParam)); }
    int32_t Y() const { return static_cast<int16_t>(HIWORD(lParam)); }
};

// True while the element is still alive: a callback may delete the element
// (or its parent) it was called for, and nothing may read it afterwards.
bool IsLiving(const GUIElement* element) {
    if (!element) return false;
    const auto& elements = ElementRegistry::Elements();
    return std::find(elements.begin(), elements.end(), element) != elements.end();
}

// The element that really owns the window: the newest-element rule applies
// only to a window that is being created, never to a control we subclassed.
GUIElement* OwnerOf(HWND window, WNDPROC& orphanProc) {
    GUIElement* element = ElementRegistry::FindElementByWindow(window);
    orphanProc = nullptr;
    if (element && element->hwnd == window) return element;
    orphanProc = reinterpret_cast<WNDPROC>(GetPropW(window, kBaseProcProperty));
    return orphanProc ? nullptr : element;
}

Form* AsForm(GUIElement* element) {
    return dynamic_cast<Form*>(element);
}

// Loads the two system cursors once, on the first message.
void LoadCursorsOnce() {
    if (!waitCursorHandle) waitCursorHandle = LoadCursorW(nullptr, IDC_WAIT);
    if (!handCursorHandle) handCursorHandle = LoadCursorW(nullptr, IDC_HAND);
}

// A form's window exists: the form adopts it and runs its created hook.
LRESULT OnCreate(const Call& call) {
    if (Form* form = AsForm(call.element)) form->NotifyCreated(call.window);
    return call.Default();
}

// A window goes away; the first form's window ends the message loop.
LRESULT OnDestroy(const Call& call) {
    if (Form* form = AsForm(call.element)) form->UnregisterHotKeys();
    if (IsLiving(call.element)) call.element->NotifyDestroy();
    if (call.window == mainWindow) PostQuitMessage(0);
    return call.Default();
}

// The last message of a window: forget the subclassing record.
LRESULT OnNcDestroy(const Call& call) {
    RemovePropW(call.window, kBaseProcProperty);
    return call.Default();
}

// The window moved: the element refreshes its position.
LRESULT OnMove(const Call& call) {
    if (call.element) call.element->NotifyMove();
    return call.Default();
}

// The window was resized.
LRESULT OnSize(const Call& call) {
    if (call.element) call.element->NotifyResize();
    return call.Default();
}

// A form was activated or deactivated.
LRESULT OnActivate(const Call& call) {
    if (Form* form = AsForm(call.element)) form->HandleActivation(LOWORD(call.wParam) != WA_INACTIVE);
    return call.Default();
}

// The window gained the keyboard focus.
LRESULT OnSetFocus(const Call& call) {
    if (call.element) call.element->NotifyFocus();
    return call.Default();
}

// The window lost the keyboard focus.
LRESULT OnKillFocus(const Call& call) {
    if (call.element) call.element->NotifyLostFocus();
    return call.Default();
}

// A paint request.
LRESULT OnPaint(const Call& call) {
    if (call.element) call.element->NotifyPaint();
    return call.Default();
}

// A close request: the element may keep its window.
LRESULT OnClose(const Call& call) {
    if (call.element && !call.element->NotifyClosing()) return 1;
    return call.Default();
}

// The window is about to be shown or hidden.
LRESULT OnShowWindow(const Call& call) {
    if (call.element) call.element->NotifyShow();
    return call.Default();
}

// Over the client area, an element may ask for the hand or the wait cursor.
LRESULT OnSetCursor(const Call& call) {
    if (LOWORD(call.lParam) == HTCLIENT && call.element) {
        if (call.element->IsHandCursor()) {
            SetCursor(handCursorHandle);
            return 1;
        }
        if (call.element->IsWaitCursor()) {
            SetCursor(waitCursorHandle);
            return 1;
        }
    }
    return call.Default();
}

// Paints an owner-drawn button: background, frame, image and caption.
void PaintOwnerDrawnButton(Button& button, const DRAWITEMSTRUCT& item) {
    const RECT& r = item.rcItem;
    int32_t itemWidth = r.right - r.left;
    int32_t itemHeight = r.bottom - r.top;
    HDC dc = item.hDC;
    // The DC belongs to the system: the surface only borrows it.
    Drawing surface(&button);
    surface.BorrowDc(dc);

    COLORREF textColour = GetTextColor(dc);
    // The caption is centred vertically on the height of the DC's own font.
    TEXTMETRICW metrics{};
    int32_t fontHeight = GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    int32_t captionTop = std::max<int32_t>(0, (itemHeight - fontHeight) / 2);

    surface.FillRectangle(r.left, r.top, itemWidth, itemHeight, GetBkColor(dc), 0, 0);

    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    COLORREF frameColour = textColour;
    if (item.itemState & ODS_DISABLED) {
        textColour = 0x969696;
        frameColour = 0x696969;
    } else if (pressed) {
        frameColour = 0xFFFFFF - textColour;
    }
    surface.DrawRectangle(r.left, r.top, itemWidth, itemHeight, frameColour);

    int32_t captionX = button.DrawButtonImage(surface, r, pressed);
    surface.DrawWideString(r.left + captionX, r.top + captionTop, itemWidth - captionX, itemHeight,
                           button.GetTextWide(), textColour, nullptr, captionX > 0 ? AlignLeft : AlignCenter);

    if (item.itemState & ODS_FOCUS) {
        RECT focus{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
        DrawFocusRect(dc, &focus);
    }
}

// An owner-drawn button of ours asks to be painted.
LRESULT OnDrawItem(const Call& call) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(call.lParam);
    if (item && item->CtlType == ODT_BUTTON) {
        auto* button = dynamic_cast<Button*>(ElementRegistry::FindElementById(static_cast<int32_t>(call.wParam)));
        if (button) {
            PaintOwnerDrawnButton(*button, *item);
            return 1;
        }
    }
    return call.Default();
}

// Tab moves the focus to the next tab stop of the dialog, Shift+Tab back.
void MoveToNextTabStop(const Call& call) {
    HWND dialog = call.window;
    if (auto* child = dynamic_cast<Child*>(call.element); child && child->parent) dialog = child->parent->hwnd;
    bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    HWND next = GetNextDlgTabItem(dialog, call.window, backwards ? TRUE : FALSE);
    if (!next) return;
    GUIElement* target = ElementRegistry::FindElementByWindow(next);
    if (target && target->hwnd == next) target->Focus();
}

// A key went down; Tab also navigates, and every key reaches the element.
LRESULT OnKeyDown(const Call& call) {
    if (call.wParam == VK_TAB) MoveToNextTabStop(call);
    if (IsLiving(call.element)) call.element->NotifyKeyDown(static_cast<int32_t>(call.wParam));
    return call.Default();
}

// A key went up.
LRESULT OnKeyUp(const Call& call) {
    if (call.element) call.element->NotifyKeyUp(static_cast<int32_t>(call.wParam));
    return call.Default();
}

// A typed character: the element may swallow it, and a previewing parent sees it too.
LRESULT OnChar(const Call& call) {
    if (!call.element) return call.Default();
    GUIElement* previewer = dynamic_cast<Child*>(call.element) ? call.element->parent : nullptr;
    int32_t code = static_cast<int32_t>(call.wParam);
    bool passOn = call.element->NotifyChar(code);
    if (IsLiving(previewer) && previewer->charPreview) previewer->NotifyChar(code);
    if (!passOn) return 1;
    return call.Default();
}

// A menu entry was chosen or a control reported something.
LRESULT OnCommand(const Call& call) {
    int32_t code = HIWORD(call.wParam);
    int32_t commandId = LOWORD(call.wParam);
    HWND source = reinterpret_cast<HWND>(call.lParam);
    if (!source) {
        if (code == 0) {
            if (SubMenu* entry = ElementRegistry::FindSubMenuById(commandId)) entry->Command();
        }
        // code 1 is an accelerator: nothing of ours uses one.
    } else {
        GUIElement* control = ElementRegistry::FindElementByWindow(source);
        auto* command = control && control->hwnd == source ? dynamic_cast<CommandElement*>(control) : nullptr;
        if (command && command->onClick) command->onClick(command);
    }
    return call.Default();
}

// A system timer fired: it is keyed by the id of a Timer element.
LRESULT OnTimer(const Call& call) {
    auto* timer = dynamic_cast<Timer*>(ElementRegistry::FindElementById(static_cast<int32_t>(call.wParam)));
    if (timer && timer->onTick) timer->onTick(timer);
    return call.Default();
}

// A child control asks its form for the brush to paint its background with.
LRESULT OnControlColour(const Call& call) {
    if (call.element) {
        if (HBRUSH brush = call.element->GetControlBrush(reinterpret_cast<HDC>(call.wParam))) {
            return reinterpret_cast<LRESULT>(brush);
        }
    }
    return call.Default();
}

// The mouse moved; the first move starts hover and leave tracking.
LRESULT OnMouseMove(const Call& call) {
    if (call.element) {
        call.element->NotifyMouseMove(call.X(), call.Y());
        if (!mouseTracking && IsLiving(call.element)) {
            TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, call.element->hwnd, HOVER_DEFAULT};
            mouseTracking = TrackMouseEvent(&request) != FALSE;
        }
    }
    return call.Default();
}

// Left button pressed.
LRESULT OnLeftButtonDown(const Call& call) {
    if (call.element) call.element->NotifyLeftButtonDown(call.X(), call.Y());
    return call.Default();
}

// Left button released.
LRESULT OnLeftButtonUp(const Call& call) {
    if (call.element) call.element->NotifyLeftButtonUp(call.X(), call.Y());
    return call.Default();
}

// Left button double-clicked.
LRESULT OnLeftDoubleClick(const Call& call) {
    if (call.element) call.element->NotifyLeftDoubleClick(call.X(), call.Y());
    return call.Default();
}

// Right button pressed.
LRESULT OnRightButtonDown(const Call& call) {
    if (call.element) call.element->NotifyRightButtonDown(call.X(), call.Y());
    return call.Default();
}

// Right button released.
LRESULT OnRightButtonUp(const Call& call) {
    if (call.element) call.element->NotifyRightButtonUp(call.X(), call.Y());
    return call.Default();
}

// Right button double-clicked.
LRESULT OnRightDoubleClick(const Call& call) {
    if (call.element) call.element->NotifyRightDoubleClick(call.X(), call.Y());
    return call.Default();
}

// The mouse rested over the window.
LRESULT OnMouseHover(const Call& call) {
    if (call.element) call.element->NotifyMouseHover();
    return call.Default();
}

// The mouse left the window: tracking is over until the next move.
LRESULT OnMouseLeave(const Call& call) {
    mouseTracking = false;
    if (call.element) call.element->NotifyMouseLeave();
    return call.Default();
}

// A system hot key of a form was pressed.
LRESULT OnHotKey(const Call& call) {
    if (Form* form = AsForm(call.element)) form->HandleHotKey(static_cast<int32_t>(call.wParam));
    return call.Default();
}

}  // namespace

WNDPROC SubclassToFramework(HWND control) {
    if (!control) return nullptr;
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameworkWindowProc)));
    if (previous) SetPropW(control, kBaseProcProperty, reinterpret_cast<HANDLE>(previous));
    return previous;
}

bool IsMouseTracking() {
    return mouseTracking;
}

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC orphanProc = nullptr;
    GUIElement* element = OwnerOf(window, orphanProc);
    LoadCursorsOnce();
    // Taken now: a callback may delete the element before default handling runs.
    WNDPROC baseProc = element && element->baseWndProc ? element->baseWndProc : orphanProc;
    const Call call{window, message, wParam, lParam, element, baseProc};

    switch (message) {
        case WM_CREATE:
            return OnCreate(call);
        case WM_DESTROY:
            return OnDestroy(call);
        case WM_NCDESTROY:
            return OnNcDestroy(call);
        case WM_MOVE:
            return OnMove(call);
        case WM_SIZE:
            return OnSize(call);
        case WM_ACTIVATE:
            return OnActivate(call);
        case WM_SETFOCUS:
            return OnSetFocus(call);
        case WM_KILLFOCUS:
            return OnKillFocus(call);
        case WM_PAINT:
            return OnPaint(call);
        case WM_CLOSE:
            return OnClose(call);
        case WM_SHOWWINDOW:
            return OnShowWindow(call);
        case WM_SETCURSOR:
            return OnSetCursor(call);
        case WM_DRAWITEM:
            return OnDrawItem(call);
        case WM_KEYDOWN:
            return OnKeyDown(call);
        case WM_KEYUP:
            return OnKeyUp(call);
        case WM_CHAR:
            return OnChar(call);
        case WM_COMMAND:
            return OnCommand(call);
        case WM_TIMER:
            return OnTimer(call);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return OnControlColour(call);
        case WM_MOUSEMOVE:
            return OnMouseMove(call);
        case WM_LBUTTONDOWN:
            return OnLeftButtonDown(call);
        case WM_LBUTTONUP:
            return OnLeftButtonUp(call);
        case WM_LBUTTONDBLCLK:
            return OnLeftDoubleClick(call);
        case WM_RBUTTONDOWN:
            return OnRightButtonDown(call);
        case WM_RBUTTONUP:
            return OnRightButtonUp(call);
        case WM_RBUTTONDBLCLK:
            return OnRightDoubleClick(call);
        case WM_MOUSEHOVER:
            return OnMouseHover(call);
        case WM_MOUSELEAVE:
            return OnMouseLeave(call);
        case WM_HOTKEY:
            return OnHotKey(call);
        default:
            return call.Default();
    }
}

}  // namespace Orditex
