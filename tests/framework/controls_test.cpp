#include "support/gdi_support.h"
#include "support/window_support.h"
#include "framework/controls.h"
#include "framework/drawing.h"
#include "framework/form.h"
#include "framework/gdi_guards.h"

#include <gtest/gtest.h>

#include <string>

using namespace Orditex;
using namespace TestSupport;

namespace {

// A 16 x 16 picture of one colour with a pure black (transparent) top-left pixel.
HBITMAP MakePicture(COLORREF colour) {
    std::vector<COLORREF> pixels(16 * 16, colour);
    pixels[0] = kBlack;
    return NewPicture(16, 16, pixels);
}

// An owner-drawn button that counts the images it is asked to draw.
class CountingButton : public Button {
public:
    CountingButton(GUIElement* owner, const std::string& caption) : Button(owner, caption) {}
    int32_t DrawButtonImage(Drawing& surface, const RECT& item, bool pressed) override {
        ++imageCalls;
        return Button::DrawButtonImage(surface, item, pressed);
    }
    int imageCalls = 0;
};

const COLORREF kFace = RGB(200, 200, 200);
const COLORREF kInk = RGB(0, 0, 0);

// Asks the form to paint the button into a fresh 120 x 40 memory picture.
class ItemPicture {
public:
    ItemPicture() {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 120, 40);
        ReleaseDC(nullptr, screen);
        previous = SelectObject(dc, bitmap);
        SetBkColor(dc, kFace);
        SetTextColor(dc, kInk);
    }
    ~ItemPicture() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    LRESULT Paint(Form& form, GUIElement& control, UINT state) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(control.id);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = control.hwnd;
        item.hDC = dc;
        item.rcItem = RECT{0, 0, 120, 40};
        return SendMessageW(form.hwnd, WM_DRAWITEM, static_cast<WPARAM>(control.id), reinterpret_cast<LPARAM>(&item));
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    // Pixels of the given colour inside a rectangle.
    int CountOf(COLORREF colour, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += At(x, y) == colour;
        return n;
    }
    HDC dc;

private:
    HBITMAP bitmap;
    HGDIOBJ previous;
};

}  // namespace

TEST(Controls, UpperCaseWinsOverLowerCase) {
    Form form(Instance());
    Open(form);
    TextBox upper(&form, "");
    upper.upperCase = true;
    upper.lowerCase = true;
    upper.Create();
    TextBox lower(&form, "");
    lower.lowerCase = true;
    lower.y = 150;
    lower.Create();
    EXPECT_TRUE(StyleOf(upper.hwnd) & ES_UPPERCASE);
    EXPECT_FALSE(StyleOf(upper.hwnd) & ES_LOWERCASE);
    TypeInto(upper.hwnd, "Mario");
    TypeInto(lower.hwnd, "Mario");
    EXPECT_EQ(upper.GetText(), "MARIO");
    EXPECT_EQ(lower.GetText(), "mario");
}

TEST(Controls, PasswordShowsPlainTextUntilApplyStyle) {
    Form form(Instance());
    Open(form);
    TextBox box(&form, "segreto");
    box.password = true;
    box.ApplyStyle();  // nothing to restyle before the control exists
    box.Create();
    EXPECT_EQ(SendMessageW(box.hwnd, EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_FALSE(StyleOf(box.hwnd) & ES_PASSWORD);
    EXPECT_TRUE(ExStyleOf(box.hwnd) & WS_EX_CLIENTEDGE);

    box.readOnly = true;
    box.SetEnabled(false);
    box.ApplyStyle();
    EXPECT_EQ(SendMessageW(box.hwnd, EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_TRUE(StyleOf(box.hwnd) & ES_READONLY);
    EXPECT_FALSE(IsWindowEnabled(box.hwnd));  // restyling keeps it disabled
    EXPECT_EQ(box.GetText(), "segreto");      // masked, not changed

    box.password = false;
    box.readOnly = false;
    box.ApplyStyle();
    EXPECT_EQ(SendMessageW(box.hwnd, EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_FALSE(StyleOf(box.hwnd) & ES_READONLY);
}

TEST(Controls, LabelAlignmentAndBorder) {
    Form form(Instance());
    Open(form);
    Label both(&form, "destra");
    both.alignRight = true;
    both.alignCenter = true;
    both.border = true;
    both.Create();
    Label centred(&form, "centro");
    centred.alignCenter = true;
    centred.y = 150;
    centred.Create();
    EXPECT_EQ(StyleOf(both.hwnd) & SS_TYPEMASK, static_cast<DWORD>(SS_RIGHT));
    EXPECT_EQ(StyleOf(centred.hwnd) & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));
    EXPECT_TRUE(StyleOf(both.hwnd) & SS_NOTIFY);
    EXPECT_TRUE(StyleOf(both.hwnd) & WS_BORDER);
    EXPECT_TRUE(ExStyleOf(both.hwnd) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(ExStyleOf(centred.hwnd) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(both.GetText(), "destra");
}

TEST(Controls, DisabledButtonIsCreatedGreyed) {
    Form form(Instance());
    Open(form);
    Button button(&form, "OK");
    button.SetEnabled(false);
    button.Create();
    EXPECT_FALSE(IsWindowEnabled(button.hwnd));
    EXPECT_EQ(StyleOf(button.hwnd) & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
    EXPECT_TRUE(StyleOf(button.hwnd) & WS_TABSTOP);
    EXPECT_EQ(_wcsicmp(ClassOf(button.hwnd).c_str(), L"button"), 0);
}

TEST(Controls, OwnerDrawnButtonPaintsFrameImageAndCaption) {
    Form form(Instance());
    form.SetSize(300, 200);
    Open(form);
    GdiObject<HBITMAP> green(MakePicture(RGB(0, 200, 0)));
    GdiObject<HBITMAP> blue(MakePicture(RGB(0, 0, 200)));
    CountingButton button(&form, "Vai");
    button.ownerDraw = true;
    button.x = 10;
    button.y = 10;
    button.SetSize(120, 40);
    button.bitmapEnabled = green;
    button.bitmapDisabled = blue;
    button.Create();
    EXPECT_EQ(StyleOf(button.hwnd) & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    // The real paint cycle asks the framework to draw the button.
    InvalidateRect(button.hwnd, nullptr, TRUE);
    UpdateWindow(button.hwnd);
    EXPECT_GT(button.imageCalls, 0);

    ItemPicture picture;
    EXPECT_EQ(picture.Paint(form, button, 0), 1);
    EXPECT_EQ(picture.At(0, 0), kInk);                     // frame in the text colour
    EXPECT_EQ(picture.At(2, 2), kFace);                    // background in the DC's colour
    EXPECT_EQ(picture.At(5 + 8, 12 + 8), RGB(0, 200, 0));  // image at left + 5, centred
    EXPECT_EQ(picture.At(5, 12), kFace);                   // its black pixel is transparent
    EXPECT_GT(picture.CountOf(kInk, 29, 1, 119, 39), 0);   // the caption, right of the image

    ItemPicture pressed;
    pressed.Paint(form, button, ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(pressed.At(0, 0), RGB(255, 255, 255));       // inverted frame
    EXPECT_LT(pressed.CountOf(kFace, 3, 3, 117, 4), 114);  // the focus rectangle's dots

    button.SetEnabled(false);
    ItemPicture disabled;
    disabled.Paint(form, button, ODS_DISABLED);
    EXPECT_EQ(disabled.At(0, 0), RGB(0x69, 0x69, 0x69));
    EXPECT_EQ(disabled.At(5 + 8, 12 + 8), RGB(0, 0, 200));  // the disabled picture
    EXPECT_EQ(disabled.CountOf(kInk, 29, 1, 119, 39), 0);
    EXPECT_GT(disabled.CountOf(RGB(0x96, 0x96, 0x96), 29, 1, 119, 39), 0);
}

TEST(Controls, ButtonImageOffsetsAndForeignDrawItems) {
    Form form(Instance());
    form.SetSize(300, 200);
    Open(form);
    Button button(&form, "Icona");
    button.ownerDraw = true;
    button.x = 5;
    button.y = 5;
    button.Create();
    Label label(&form, "non un bottone");
    label.y = 120;
    label.Create();

    ItemPicture picture;
    Drawing surface(&button);
    surface.BorrowDc(picture.dc);  // the picture's DC stays the picture's
    RECT item{0, 0, 120, 40};
    EXPECT_EQ(button.DrawButtonImage(surface, item, false), 0);  // nothing to show
    HICON icon = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
    button.iconEnabled = icon;
    EXPECT_EQ(button.DrawButtonImage(surface, item, false), 40);
    GdiObject<HBITMAP> green(MakePicture(RGB(0, 200, 0)));
    button.bitmapEnabled = green;
    EXPECT_EQ(button.DrawButtonImage(surface, item, false), 16 + 8);  // a bitmap wins over the icon
    DestroyIcon(icon);

    // A draw request for something that is no button of ours is left to the system.
    EXPECT_EQ(picture.Paint(form, label, 0), 0);
}
