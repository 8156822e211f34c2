#include "support/window_support.h"
#include "framework/controls.h"
#include "framework/form.h"
#include "framework/menu.h"
#include "framework/timer.h"
#include "framework/window_proc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Orditex;
using namespace TestSupport;

namespace {

std::vector<std::string> events;

void Record(const std::string& event) {
    events.push_back(event);
}

bool RefuseToClose(GUIElement*) {
    return false;
}

void RecordDestroy(GUIElement*) {
    Record("destroy");
}

GUIElement* keyElement = nullptr;
int32_t lastKey = 0;
void RecordKeyDown(GUIElement* element, int32_t key) {
    keyElement = element;
    lastKey = key;
}

// Swallows "x"; everything else goes into the control.
bool RefuseX(GUIElement*, int32_t code) {
    return code != 'x';
}

bool RecordFormChar(GUIElement*, int32_t code) {
    Record("form char " + std::string(1, static_cast<char>(code)));
    return false;  // ignored: only the control's answer counts
}

bool checkStateAtClick = false;
UINT markAtClick = 0;
void RecordEntryClick(CommandElement* element) {
    auto* entry = static_cast<SubMenu*>(element);
    checkStateAtClick = entry->checkState;
    markAtClick = GetMenuState(entry->ParentMenu(), static_cast<UINT>(entry->id), MF_BYCOMMAND) & MF_CHECKED;
    Record("entry click");
}

void RecordButtonClick(CommandElement*) {
    Record("button click");
}

void RecordTick(Timer*) {
    Record("tick");
}

void RecordLeave(GUIElement*) {
    Record("leave");
}

void RecordLeftDown(GUIElement* element, HWND window, int32_t x, int32_t y) {
    Record("down " + std::to_string(x) + "," + std::to_string(y) + (window == element->hwnd ? " own" : " other"));
}

void RecordPaint(GUIElement*) {
    Record("paint");
}
void RecordMove(GUIElement*) {
    Record("move");
}
void RecordResize(GUIElement*) {
    Record("resize");
}

int Count(const std::string& event) {
    int n = 0;
    for (const auto& e : events) n += e == event;
    return n;
}

// A form that reports show notifications and paints its controls red.
class WatchingForm : public Form {
public:
    WatchingForm() : Form(Instance()) {}
    void NotifyShow() override { Record("show"); }
    HBRUSH GetControlBrush(HDC) override { return redBrush; }
    HBRUSH redBrush = CreateSolidBrush(RGB(255, 0, 0));
    ~WatchingForm() override { DeleteObject(redBrush); }
};

void PressKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// A real key stroke through the system's input queue.
void TypeKey(WORD key) {
    PressKey(key, false);
    PressKey(key, true);
    Pump(80);
}

// Sets or clears the Shift key in this thread's keyboard state.
void HoldShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace

TEST(Dispatch, CloseRefusedKeepsTheWindowOtherwiseItIsDestroyed) {
    Form form(Instance());
    form.onClosing = RefuseToClose;
    form.onDestroy = RecordDestroy;
    Open(form);
    events.clear();
    EXPECT_EQ(SendMessageW(form.hwnd, WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(IsWindow(form.hwnd));
    EXPECT_FALSE(form.destroyed);

    form.onClosing = nullptr;
    SendMessageW(form.hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(form.hwnd));
    EXPECT_TRUE(form.destroyed);
    EXPECT_EQ(Count("destroy"), 1);
}

TEST(Dispatch, TabMovesTheFocusBetweenTextBoxesAndStillReachesTheBox) {
    Form form(Instance());
    form.SetSize(300, 250);
    Open(form);
    TextBox first(&form, "uno");
    first.y = 10;
    TextBox second(&form, "due");
    second.y = 60;
    TextBox third(&form, "tre");
    third.y = 110;
    first.Create();
    second.Create();
    third.Create();
    first.onKeyDown = RecordKeyDown;
    second.onKeyDown = RecordKeyDown;
    ASSERT_TRUE(BringToFront(form.hwnd));

    first.Focus();
    ASSERT_EQ(GetFocus(), first.hwnd);
    SendMessageW(first.hwnd, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), second.hwnd);
    EXPECT_EQ(keyElement, &first);
    EXPECT_EQ(lastKey, VK_TAB);

    HoldShift(true);
    SendMessageW(second.hwnd, WM_KEYDOWN, VK_TAB, 0);
    HoldShift(false);
    EXPECT_EQ(GetFocus(), first.hwnd);
    EXPECT_EQ(keyElement, &second);

    // Backwards from the first box wraps round to the last one.
    HoldShift(true);
    SendMessageW(first.hwnd, WM_KEYDOWN, VK_TAB, 0);
    HoldShift(false);
    EXPECT_EQ(GetFocus(), third.hwnd);

    // The same with a real key stroke from the keyboard queue.
    second.Focus();
    TypeKey(VK_TAB);
    EXPECT_EQ(GetFocus(), third.hwnd);
}

TEST(Dispatch, CharacterCallbackCanKeepACharacterOutOfTheEditControl) {
    Form form(Instance());
    Open(form);
    TextBox box(&form, "");
    box.Create();
    box.onChar = RefuseX;
    events.clear();

    EXPECT_EQ(SendMessageW(box.hwnd, WM_CHAR, 'x', 0), 1);
    EXPECT_EQ(box.GetText(), "");
    SendMessageW(box.hwnd, WM_CHAR, 'a', 0);
    EXPECT_EQ(box.GetText(), "a");
    EXPECT_TRUE(events.empty());  // the form does not preview by default

    // A previewing form sees the character too; its answer does not count.
    form.charPreview = true;
    form.onChar = RecordFormChar;
    SendMessageW(box.hwnd, WM_CHAR, 'b', 0);
    EXPECT_EQ(box.GetText(), "ab");
    SendMessageW(box.hwnd, WM_CHAR, 'x', 0);
    EXPECT_EQ(box.GetText(), "ab");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], "form char b");
    EXPECT_EQ(events[1], "form char x");

    // Typed for real: the key becomes a character on its way through the loop.
    form.charPreview = false;
    ASSERT_TRUE(BringToFront(form.hwnd));
    box.Focus();
    SendMessageW(box.hwnd, EM_SETSEL, 2, 2);
    TypeKey('X');
    TypeKey('C');
    EXPECT_EQ(box.GetText(), "abc");
}

TEST(Dispatch, MenuCommandFlipsACheckableEntryBeforeItsClick) {
    Form form(Instance());
    Open(form);
    MenuBar bar(&form);
    Menu menu("&Opzioni", &bar);
    SubMenu checkable(&menu, "&Abilita");
    checkable.checkable = true;
    checkable.onClick = RecordEntryClick;
    SubMenu plain(&menu, "&Altro");
    plain.onClick = RecordEntryClick;
    bar.Create();
    events.clear();

    SendMessageW(form.hwnd, WM_COMMAND, MAKEWPARAM(checkable.id, 0), 0);
    EXPECT_EQ(Count("entry click"), 1);
    EXPECT_TRUE(checkStateAtClick);
    EXPECT_EQ(markAtClick, static_cast<UINT>(MF_CHECKED));
    SendMessageW(form.hwnd, WM_COMMAND, MAKEWPARAM(checkable.id, 0), 0);
    EXPECT_FALSE(checkStateAtClick);
    EXPECT_EQ(markAtClick, 0u);

    SendMessageW(form.hwnd, WM_COMMAND, MAKEWPARAM(plain.id, 0), 0);
    EXPECT_EQ(Count("entry click"), 3);
    EXPECT_FALSE(plain.checkState);
    EXPECT_EQ(markAtClick, 0u);

    // An accelerator and an id that is no entry's are ignored.
    SendMessageW(form.hwnd, WM_COMMAND, MAKEWPARAM(checkable.id, 1), 0);
    SendMessageW(form.hwnd, WM_COMMAND, MAKEWPARAM(form.id, 0), 0);
    EXPECT_EQ(Count("entry click"), 3);
    EXPECT_FALSE(checkable.checkState);
}

TEST(Dispatch, ButtonPressCallsOnClickOncePerNotification) {
    Form form(Instance());
    Open(form);
    Button button(&form, "OK");
    button.onClick = RecordButtonClick;
    button.Create();
    TextBox box(&form, "");
    box.y = 150;
    box.Create();
    events.clear();

    SendMessageW(button.hwnd, BM_CLICK, 0, 0);
    Pump(50);
    EXPECT_EQ(Count("button click"), 1);
    SendMessageW(form.hwnd, WM_COMMAND, MAKEWPARAM(button.id, BN_CLICKED), reinterpret_cast<LPARAM>(button.hwnd));
    EXPECT_EQ(Count("button click"), 2);
    // An edit notification is no click.
    SendMessageW(box.hwnd, WM_CHAR, 'a', 0);
    SendMessageW(form.hwnd, WM_COMMAND, MAKEWPARAM(box.id, EN_CHANGE), reinterpret_cast<LPARAM>(box.hwnd));
    EXPECT_EQ(Count("button click"), 2);
}

TEST(Dispatch, TimerMessagesReachOnlyTimers) {
    Form form(Instance());
    Open(form);
    Label label(&form, "non un timer");
    label.Create();
    Timer timer(&form);
    timer.onTick = RecordTick;
    Timer silent(&form);
    timer.Create();
    silent.Create();
    events.clear();

    SendMessageW(form.hwnd, WM_TIMER, static_cast<WPARAM>(label.id), 0);
    SendMessageW(form.hwnd, WM_TIMER, static_cast<WPARAM>(silent.id), 0);
    EXPECT_TRUE(events.empty());
    SendMessageW(form.hwnd, WM_TIMER, static_cast<WPARAM>(timer.id), 0);
    EXPECT_EQ(Count("tick"), 1);
}

TEST(Dispatch, OneLeavePerExitAndTrackingRestartsOnTheNextMove) {
    Form form(Instance());
    form.x = 300;
    form.y = 300;
    form.SetSize(300, 200);
    form.onMouseLeave = RecordLeave;
    Open(form);
    ASSERT_TRUE(BringToFront(form.hwnd));
    POINT inside{100, 80};
    ClientToScreen(form.hwnd, &inside);
    events.clear();

    for (int round = 1; round <= 2; ++round) {
        SetCursorPos(inside.x, inside.y);
        Pump(50);
        SendMessageW(form.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 80));
        EXPECT_TRUE(IsMouseTracking());
        SetCursorPos(5, 5);  // well outside the form
        EXPECT_TRUE(PumpUntil([round] { return Count("leave") == round; }));
        Pump(300);
        EXPECT_EQ(Count("leave"), round);
        EXPECT_FALSE(IsMouseTracking());
    }
}

TEST(Dispatch, CursorRequestsOutsideTheClientKeepTheClassCursor) {
    Form form(Instance());
    Open(form);
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    auto request = [&form](WORD hitCode) {
        return SendMessageW(form.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(form.hwnd),
                            MAKELPARAM(hitCode, WM_MOUSEMOVE));
    };

    request(HTCLIENT);
    EXPECT_EQ(GetCursor(), arrow);  // neither flag: the class cursor

    form.handCursor = true;
    form.waitCursor = true;
    EXPECT_EQ(request(HTCLIENT), 1);
    EXPECT_EQ(GetCursor(), hand);  // the hand wins over the wait cursor
    request(HTCAPTION);
    EXPECT_EQ(GetCursor(), arrow);

    form.handCursor = false;
    EXPECT_EQ(request(HTCLIENT), 1);
    EXPECT_EQ(GetCursor(), wait);
}

TEST(Dispatch, EachMessageReachesOnlyItsOwnNotification) {
    WatchingForm form;
    form.onPaint = RecordPaint;
    form.onMove = RecordMove;
    form.onResize = RecordResize;
    form.onLeftButtonDown = RecordLeftDown;
    Open(form);

    events.clear();
    InvalidateRect(form.hwnd, nullptr, TRUE);
    UpdateWindow(form.hwnd);
    ASSERT_EQ(events, std::vector<std::string>{"paint"});

    events.clear();
    SendMessageW(form.hwnd, WM_SHOWWINDOW, FALSE, 0);
    ASSERT_EQ(events, std::vector<std::string>{"show"});

    // Positions are the signed halves of the message's position word.
    events.clear();
    SendMessageW(form.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 7));
    ASSERT_EQ(events, std::vector<std::string>{"down -5,7 own"});

    events.clear();
    SetWindowPos(form.hwnd, nullptr, 220, 210, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(Count("move"), 1);
    EXPECT_EQ(Count("resize"), 0);
    EXPECT_EQ(form.x, 220);  // a move refreshes the stored position
    EXPECT_EQ(form.y, 210);
}

TEST(Dispatch, ControlColourRequestsAskTheForm) {
    WatchingForm form;
    form.SetSize(300, 200);
    Open(form);
    Label label(&form, "");
    label.x = 5;
    label.y = 5;
    label.Create();
    InvalidateRect(label.hwnd, nullptr, TRUE);
    UpdateWindow(label.hwnd);
    EXPECT_EQ(WindowPixel(label.hwnd, 3, 3), RGB(255, 0, 0));

    Form plain(Instance());
    Open(plain);
    HDC dc = GetDC(plain.hwnd);
    // No brush of the element's own: the system's default answer.
    EXPECT_EQ(SendMessageW(plain.hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0),
              DefWindowProcW(plain.hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0));
    ReleaseDC(plain.hwnd, dc);
}
