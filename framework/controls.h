// Wrappers over the system's static, button and edit controls.
#pragma once

#include "framework/form.h"

namespace Orditex {

class Drawing;

class Label : public Child {
public:
    Label(GUIElement* owner, const std::string& labelText);

    bool border = false;
    bool alignRight = false;
    bool alignCenter = false;

    void Create() override;
    DWORD ComputeStyle() const;
};

class Button : public Child, public CommandElement {
public:
    Button(GUIElement* owner, const std::string& caption);

    bool ownerDraw = false;
    HBITMAP bitmapEnabled = nullptr;
    HBITMAP bitmapDisabled = nullptr;
    HICON iconEnabled = nullptr;
    HICON iconDisabled = nullptr;

    void Create() override;
    // Draws the button's image into an owner-drawn item; returns the x at
    // which the caption starts, or 0 when there is no image.
    virtual int32_t DrawButtonImage(Drawing& surface, const RECT& item, bool pressed);
};

class TextBox : public Child {
public:
    TextBox(GUIElement* owner, const std::string& boxText);

    int32_t maxLength = -1;
    bool multiLine = false;
    bool horizontalScrollBar = false;
    bool verticalScrollBar = false;
    bool readOnly = false;
    bool numbersOnly = false;
    bool password = false;
    bool lowerCase = false;
    bool upperCase = false;
    bool alignRight = false;
    bool alignCenter = false;
    bool border = true;
    bool noAutoHorizontalScroll = false;

    void Create() override;
    // Re-applies the style flags to an existing control.
    void ApplyStyle();
    DWORD ComputeStyle() const;
};

}  // namespace Orditex
