#include "framework/controls.h"

#include "framework/drawing.h"
#include "framework/shell.h"

namespace Orditex {

namespace {

// Every simple control starts 80 x 30 with its text.
void SetUpControl(GUIElement& control, const std::string& controlText, const char* controlKind) {
    control.text = ToWide(controlText);
    control.width = 80;
    control.height = 30;
    control.kind = controlKind;
}

}  // namespace

// ---------------------------------------------------------------- label

Label::Label(GUIElement* owner, const std::string& labelText) : Child(owner) {
    SetUpControl(*this, labelText, "label");
}

DWORD Label::ComputeStyle() const {
    DWORD style = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
    if (border) style |= WS_BORDER;
    if (alignRight) {
        style |= SS_RIGHT;
    } else if (alignCenter) {
        style |= SS_CENTER;
    }
    return style;
}

void Label::Create() {
    CreateControl(L"static", ComputeStyle(), border ? WS_EX_CLIENTEDGE : 0);
}

// ---------------------------------------------------------------- button

Button::Button(GUIElement* owner, const std::string& caption) : Child(owner) {
    SetUpControl(*this, caption, "button");
}

void Button::Create() {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (ownerDraw ? BS_OWNERDRAW : BS_PUSHBUTTON);
    CreateControl(L"Button", style, 0);
}

int32_t Button::DrawButtonImage(Drawing& surface, const RECT& item, bool) {
    int32_t itemHeight = item.bottom - item.top;
    if (HBITMAP bitmap = enabled ? bitmapEnabled : bitmapDisabled) {
        BITMAP info{};
        if (GetObjectW(bitmap, sizeof info, &info) != 0) {
            surface.DrawImageTransparent(bitmap, item.left + 5, (itemHeight - info.bmHeight) / 2, info.bmWidth,
                                         info.bmHeight);
            return item.left + info.bmWidth + 8;
        }
    }
    if (HICON image = enabled ? iconEnabled : iconDisabled) {
        DrawIconEx(surface.dc, item.left + 5, (itemHeight - 32) / 2, image, 32, 32, 0, nullptr, DI_NORMAL | DI_COMPAT);
        return item.left + 40;
    }
    return 0;
}

// ---------------------------------------------------------------- text box

TextBox::TextBox(GUIElement* owner, const std::string& boxText) : Child(owner) {
    SetUpControl(*this, boxText, "textbox");
}

DWORD TextBox::ComputeStyle() const {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    if (horizontalScrollBar) style |= WS_HSCROLL;
    if (verticalScrollBar) style |= WS_VSCROLL;
    if (numbersOnly) style |= ES_NUMBER;
    if (border) style |= WS_BORDER;
    if (multiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (!noAutoHorizontalScroll) style |= ES_AUTOHSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    if (readOnly) style |= ES_READONLY;
    if (upperCase) {
        style |= ES_UPPERCASE;
    } else if (lowerCase) {
        style |= ES_LOWERCASE;
    }
    if (alignRight) {
        style |= ES_RIGHT;
    } else if (alignCenter) {
        style |= ES_CENTER;
    }
    // Masking comes only from ApplyStyle's password character, never from ES_PASSWORD.
    return style;
}

void TextBox::Create() {
    if (created) return;
    CreateControl(L"edit", ComputeStyle(), border ? WS_EX_CLIENTEDGE : 0);
    if (maxLength != -1 && hwnd) SendMessageW(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength), 0);
}

void TextBox::ApplyStyle() {
    if (!created || !hwnd) return;
    // A disabled box stays disabled: the style word carries that state too.
    DWORD style = ComputeStyle() | (enabled ? 0 : WS_DISABLED);
    SetLastError(ERROR_SUCCESS);
    if (SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style)) == 0 && GetLastError() != ERROR_SUCCESS) {
        SetLastError(ERROR_SUCCESS);
        return;
    }
    SendMessageW(hwnd, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
    SendMessageW(hwnd, EM_SETPASSWORDCHAR, password ? L'*' : 0, 0);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

}  // namespace Orditex
