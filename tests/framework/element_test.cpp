#include "support/window_support.h"
#include "framework/controls.h"
#include "framework/form.h"
#include "framework/menu.h"
#include "framework/timer.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <string>

using namespace Orditex;
using namespace TestSupport;

namespace {

// An element with no window of its own, to look at the base class alone.
class BareElement : public GUIElement {
public:
    BareElement() : GUIElement(nullptr) {}
    void Create() override {}
};

int createdCalls = 0;
HWND createdWindow = nullptr;
void CountCreated(GUIElement*, HWND window) {
    ++createdCalls;
    createdWindow = window;
}

int textChangedCalls = 0;
void CountTextChanged(GUIElement*) {
    ++textChangedCalls;
}

int clicks = 0;
void CountClick(CommandElement*) {
    ++clicks;
}

int ticks = 0;
void CountTick(Timer*) {
    ++ticks;
}

COLORREF BrushColour(HBRUSH brush) {
    LOGBRUSH info{};
    GetObjectW(brush, sizeof info, &info);
    return info.lbColor;
}

}  // namespace

TEST(Element, NewElementDefaults) {
    BareElement element;
    EXPECT_EQ(element.width, 100);
    EXPECT_EQ(element.height, 50);
    EXPECT_EQ(element.x, 100);
    EXPECT_EQ(element.y, 100);
    EXPECT_TRUE(element.enabled);
    EXPECT_TRUE(element.visible);
    EXPECT_FALSE(element.created);
    EXPECT_FALSE(element.destroyed);
    EXPECT_EQ(element.hwnd, nullptr);
    EXPECT_EQ(element.backColor, static_cast<COLORREF>(-1));
    EXPECT_TRUE(element.text.empty());
    EXPECT_TRUE(element.kind.empty());
    EXPECT_EQ(element.id, 0);
    // Without callbacks a character and a close request pass on.
    EXPECT_TRUE(element.NotifyChar('a'));
    EXPECT_TRUE(element.NotifyClosing());
    // Reading a window that does not exist gives back the stored values.
    element.text = L"stored";
    EXPECT_EQ(element.GetText(), "stored");
    EXPECT_EQ(element.GetPosition().x, 100);
    EXPECT_EQ(element.GetClientWidth(), 100);
    element.FitClientArea();
    EXPECT_EQ(element.width, 100);
    EXPECT_EQ(element.x, 100);
}

TEST(Element, NotifyCreatedCallsBackOnceAndKeepsTheFirstWindow) {
    BareElement element;
    element.onCreated = CountCreated;
    createdCalls = 0;
    HWND first = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1230));
    HWND second = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4560));
    element.NotifyCreated(first);
    element.NotifyCreated(second);
    EXPECT_EQ(createdCalls, 1);
    EXPECT_EQ(createdWindow, first);
    EXPECT_EQ(element.hwnd, first);
    element.hwnd = nullptr;  // not a real window: keep it out of later lookups
}

TEST(Element, SettersBeforeCreationOnlyStoreAndCreateUsesThem) {
    Form form(Instance());
    form.x = 150;
    form.y = 160;
    form.SetSize(320, 240);
    form.SetText("Prova \xE8");
    form.SetEnabled(false);
    form.SetBackColor(RGB(10, 200, 30));
    EXPECT_EQ(form.hwnd, nullptr);
    EXPECT_FALSE(form.created);
    EXPECT_FALSE(form.backPainted);
    EXPECT_EQ(form.text, L"Prova \u00E8");

    Open(form);
    ASSERT_NE(form.hwnd, nullptr);
    RECT frame;
    GetWindowRect(form.hwnd, &frame);
    EXPECT_EQ(frame.right - frame.left, 320);
    EXPECT_EQ(frame.bottom - frame.top, 240);
    EXPECT_EQ(WindowText(form.hwnd), L"Prova \u00E8");
    EXPECT_FALSE(IsWindowEnabled(form.hwnd));
    // A colour set before the window exists is the class brush's colour.
    auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(form.hwnd, GCLP_HBRBACKGROUND));
    EXPECT_EQ(BrushColour(brush), RGB(10, 200, 30));
    EXPECT_FALSE(form.backPainted);

    // Once the window exists, the setters reach it.
    form.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(form.hwnd));
    form.SetText("Altro");
    EXPECT_EQ(WindowText(form.hwnd), L"Altro");
    form.SetSize(300, 220);
    GetWindowRect(form.hwnd, &frame);
    EXPECT_EQ(frame.right - frame.left, 300);
    EXPECT_EQ(frame.bottom - frame.top, 220);
}

TEST(Element, BackColourSetOnAWindowIsPaintedAgainOnEveryPaint) {
    Form form(Instance());
    Open(form);
    form.SetBackColor(RGB(0, 128, 255));
    EXPECT_TRUE(form.backPainted);
    EXPECT_EQ(WindowPixel(form.hwnd, 10, 10), RGB(0, 128, 255));
    // The class brush is still the button face; the next paint must not show it.
    InvalidateRect(form.hwnd, nullptr, TRUE);
    UpdateWindow(form.hwnd);
    EXPECT_EQ(WindowPixel(form.hwnd, 10, 10), RGB(0, 128, 255));
}

TEST(Element, TextChangedOnlyAfterAnEdit) {
    Form form(Instance());
    Open(form);
    TextBox box(&form, "abc");
    box.Create();
    TextBox other(&form, "");
    other.y = 150;
    other.Create();
    box.onTextChanged = CountTextChanged;
    textChangedCalls = 0;

    box.Focus();
    other.Focus();
    EXPECT_EQ(textChangedCalls, 0);

    box.Focus();
    ASSERT_EQ(GetFocus(), box.hwnd);
    SendMessageW(box.hwnd, EM_SETSEL, 3, 3);
    SendMessageW(box.hwnd, WM_CHAR, 'd', 0);
    other.Focus();
    EXPECT_EQ(textChangedCalls, 1);
    EXPECT_EQ(box.text, L"abcd");  // the text read on losing the focus is kept

    // A text changed by the lost-focus callback itself counts as an edit.
    box.onLostFocus = [](GUIElement* element) { element->SetText(element->GetText() + "!"); };
    box.Focus();
    other.Focus();
    EXPECT_EQ(textChangedCalls, 2);
    EXPECT_EQ(box.text, L"abcd!");
}

TEST(Element, IdsFollowOneAnotherAcrossKinds) {
    Form form(Instance());
    Open(form);
    int32_t n = nextElementNumber;
    Label label(&form, "a");
    label.Create();
    Button button(&form, "b");
    button.Create();
    SubMenu entry(nullptr, "c");  // an entry takes its id when it is built
    Timer timer(&form);
    timer.Start();
    Form second(Instance());
    Open(second);
    EXPECT_EQ(label.id, n + 1);
    EXPECT_EQ(button.id, n + 2);
    EXPECT_EQ(entry.id, n + 3);
    EXPECT_EQ(timer.id, n + 4);
    EXPECT_EQ(second.id, n + 5);
    EXPECT_EQ(second.className, L"Window" + std::to_wstring(n + 4));
    // The control id of a child is its element id.
    EXPECT_EQ(GetDlgCtrlID(label.hwnd), label.id);
    EXPECT_EQ(GetDlgCtrlID(button.hwnd), button.id);
}

TEST(Registry, NewestElementStandsForAWindowBeingCreated) {
    HWND foreign = GetDesktopWindow();  // a window no element owns
    Form form(Instance());
    Open(form);
    EXPECT_EQ(ElementRegistry::FindElementByWindow(foreign), nullptr);
    Label label(&form, "x");
    EXPECT_EQ(ElementRegistry::FindElementByWindow(foreign), &label);
    label.Create();
    EXPECT_EQ(ElementRegistry::FindElementByWindow(foreign), nullptr);
    EXPECT_EQ(ElementRegistry::FindElementByWindow(label.hwnd), &label);
    EXPECT_EQ(ElementRegistry::FindElementByWindow(form.hwnd), &form);
    EXPECT_EQ(ElementRegistry::FindElementById(label.id), &label);
    EXPECT_EQ(ElementRegistry::FindSubMenuById(label.id), nullptr);  // not an entry
}

TEST(Registry, DeletedElementsAreNeverFoundAndTheirControlsStillWork) {
    Form form(Instance());
    Open(form);
    size_t before = ElementRegistry::Elements().size();

    auto* box = new TextBox(&form, "abc");
    box->Create();
    auto* button = new Button(&form, "ok");
    button->y = 150;
    button->onClick = CountClick;
    button->Create();
    auto* timer = new Timer(&form);
    timer->onTick = CountTick;
    timer->Start();
    auto* entry = new SubMenu(nullptr, "voce");
    entry->onClick = CountClick;
    HWND boxWindow = box->hwnd;
    HWND buttonWindow = button->hwnd;
    int32_t boxId = box->id;
    int32_t timerId = timer->id;
    int32_t entryId = entry->id;

    delete box;
    delete button;
    delete timer;
    delete entry;
    EXPECT_EQ(ElementRegistry::Elements().size(), before);
    EXPECT_EQ(ElementRegistry::FindElementByWindow(boxWindow), nullptr);
    EXPECT_EQ(ElementRegistry::FindElementByWindow(buttonWindow), nullptr);
    EXPECT_EQ(ElementRegistry::FindElementById(boxId), nullptr);
    EXPECT_EQ(ElementRegistry::FindElementById(timerId), nullptr);
    EXPECT_EQ(ElementRegistry::FindSubMenuById(entryId), nullptr);

    // Messages for what the deleted elements left behind reach nobody...
    clicks = 0;
    ticks = 0;
    SendMessageW(buttonWindow, BM_CLICK, 0, 0);
    SendMessageW(form.hwnd, WM_COMMAND, MAKEWPARAM(entryId, 0), 0);
    SendMessageW(form.hwnd, WM_TIMER, static_cast<WPARAM>(timerId), 0);
    Pump(100);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ticks, 0);
    // ...while the orphaned edit control still edits as before.
    SendMessageW(boxWindow, EM_SETSEL, 3, 3);
    SendMessageW(boxWindow, WM_CHAR, 'd', 0);
    EXPECT_EQ(WindowText(boxWindow), L"abcd");

    // Elements made afterwards are found as usual.
    Label later(&form, "dopo");
    EXPECT_EQ(ElementRegistry::FindElementByWindow(boxWindow), &later);  // it has no window yet
    later.Create();
    EXPECT_EQ(ElementRegistry::FindElementByWindow(later.hwnd), &later);
    EXPECT_EQ(ElementRegistry::FindElementByWindow(boxWindow), nullptr);
    EXPECT_EQ(ElementRegistry::FindElementById(later.id), &later);
}

TEST(Element, PositionAndClientSizeOfAChild) {
    Form form(Instance());
    Open(form);
    Label label(&form, "etichetta");
    label.x = 30;
    label.y = 40;
    label.Create();
    SetWindowPos(label.hwnd, nullptr, 55, 65, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    POINT corner = label.GetPosition();
    EXPECT_EQ(corner.x, 55);  // in the form's client coordinates
    EXPECT_EQ(corner.y, 65);
    EXPECT_EQ(label.x, 55);
    EXPECT_EQ(label.GetClientWidth(), 80);
    SetWindowTextW(label.hwnd, L"nuovo");
    EXPECT_EQ(label.GetText(), "nuovo");
    SetWindowTextW(label.hwnd, L"");
    EXPECT_EQ(label.GetText(), "");
}

TEST(Element, FitClientAreaMovesByTheFrameAndMakesTheClient800By600) {
    // (x, y) far enough from the screen's corner for the move, then near it.
    for (POINT place : {POINT{300, 250}, POINT{3, 5}}) {
        Form form(Instance());
        form.x = place.x;
        form.y = place.y;
        form.SetSize(300, 200);
        Open(form);
        RECT before;
        RECT client;
        GetWindowRect(form.hwnd, &before);
        GetClientRect(form.hwnd, &client);
        int32_t borderWidth = (before.right - before.left) - client.right;
        int32_t borderHeight = (before.bottom - before.top) - client.bottom;
        ASSERT_NE(borderWidth, borderHeight);

        form.FitClientArea();
        RECT after;
        GetWindowRect(form.hwnd, &after);
        GetClientRect(form.hwnd, &client);
        EXPECT_EQ(client.right, 800);
        EXPECT_EQ(client.bottom, 600);
        // Up by twice the frame's height, left by its width; near the corner
        // no further than the screen's edge.
        bool nearCorner = place.x < 10;
        EXPECT_EQ(after.left, nearCorner ? 0 : before.left - borderWidth);
        EXPECT_EQ(after.top, nearCorner ? 0 : before.top - 2 * borderHeight);
        EXPECT_EQ(form.x, after.left);
        EXPECT_EQ(form.y, after.top);
    }
}

TEST(Element, TooltipCoversTheClientAreaAndFollowsItsSize) {
    Form form(Instance());
    Open(form);
    Label plain(&form, "senza");
    plain.Create();
    EXPECT_EQ(plain.tooltip, nullptr);  // no text, no tooltip

    Label label(&form, "con");
    label.tooltipText = "Suggerimento";
    label.y = 150;
    label.Create();
    ASSERT_NE(label.tooltip, nullptr);
    EXPECT_EQ(ClassOf(label.tooltip), L"tooltips_class32");
    EXPECT_EQ(SendMessageW(label.tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);

    label.SetSize(120, 40);
    wchar_t text[64] = {};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = label.hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(label.hwnd);
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(label.tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_STREQ(text, L"Suggerimento");
    EXPECT_EQ(tool.rect.right - tool.rect.left, 120);
    EXPECT_EQ(tool.rect.bottom - tool.rect.top, 40);
}

TEST(FontSpec, TheDescriptionReachesTheCreatedFont) {
    // The default descriptor, then two with the flags set differently.
    FontSpec plain;
    FontSpec boldItalicFixed("Arial", 20);
    boldItalicFixed.bold = boldItalicFixed.italic = boldItalicFixed.fixedPitch = true;
    FontSpec underlined("Arial", 20);
    underlined.underline = true;
    for (FontSpec* described : {&plain, &boldItalicFixed, &underlined}) {
        LOGFONTW made{};
        ASSERT_EQ(GetObjectW(described->GetHandle(), sizeof made, &made), static_cast<int>(sizeof made));
        EXPECT_EQ(described->GetHandle(), described->GetHandle());  // made once, then kept
        EXPECT_STREQ(made.lfFaceName, described == &plain ? L"System" : L"Arial");
        EXPECT_EQ(made.lfHeight, described == &plain ? 0 : 20);
        EXPECT_EQ(made.lfWeight, described->bold ? 700 : 400);
        EXPECT_EQ(made.lfItalic != 0, described->italic);
        EXPECT_EQ(made.lfUnderline != 0, described->underline);
        EXPECT_EQ(made.lfStrikeOut, 0);
        EXPECT_EQ(made.lfPitchAndFamily, described->fixedPitch ? 1 : 0);
        EXPECT_EQ(made.lfCharSet, 1);
        EXPECT_EQ(made.lfOutPrecision, 8);
        EXPECT_EQ(made.lfQuality, 5);

        // The font the system gives a DC for it (the pitch bit is set for a
        // variable-pitch font).
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, described->GetHandle());
        TEXTMETRICW metrics{};
        ASSERT_TRUE(GetTextMetricsW(dc, &metrics));
        SelectObject(dc, previous);
        DeleteDC(dc);
        if (described != &plain) {
            EXPECT_EQ(metrics.tmHeight, 20);
        }
        EXPECT_EQ(metrics.tmWeight, described->bold ? 700 : 400);
        EXPECT_EQ(metrics.tmItalic != 0, described->italic);
        EXPECT_EQ(metrics.tmUnderlined != 0, described->underline);
        EXPECT_EQ((metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, described->fixedPitch);
    }
}
