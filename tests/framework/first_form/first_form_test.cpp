#include "framework/window_test_support.h"
#include "framework/form.h"
#include "framework/window_proc.h"

#include <gtest/gtest.h>

#include <string>

using namespace Orditex;
using namespace TestSupport;

namespace {

// Pumps the queue for a while and reports the quit message, if one came,
// with its exit code.
bool QuitPosted(WPARAM& exitCode) {
    bool quit = false;
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                exitCode = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < 100);
    return quit;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

}  // namespace

TEST(FirstForm, RegistersWindow0TakesId1AndEndsTheLoopWhenDestroyed) {
    ASSERT_EQ(nextElementNumber, 0);
    ASSERT_EQ(mainWindow, nullptr);
    ASSERT_EQ(activeForm, nullptr);

    auto* first = new Form(Instance());
    Open(*first);
    EXPECT_EQ(first->id, 1);
    EXPECT_EQ(ClassOf(first->hwnd), L"Window0");
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExW(Instance(), L"Window0", &registered));
    EXPECT_EQ(registered.lpfnWndProc, &FrameworkWindowProc);
    EXPECT_EQ(mainWindow, first->hwnd);
    HWND firstWindow = first->hwnd;

    // A later form takes the next number and its going leaves the loop running.
    auto* second = new Form(Instance(), dialogForm);
    Open(*second);
    EXPECT_EQ(second->id, 2);
    EXPECT_EQ(ClassOf(second->hwnd), L"Window1");
    EXPECT_EQ(mainWindow, firstWindow);
    delete second;
    WPARAM exitCode = 99;
    EXPECT_FALSE(QuitPosted(exitCode));

    delete first;
    ASSERT_TRUE(QuitPosted(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(mainWindow, firstWindow);  // set once, never cleared

    // Forms made afterwards neither become the main window nor end the loop.
    auto* third = new Form(Instance());
    Open(*third);
    EXPECT_EQ(third->id, 3);
    EXPECT_EQ(ClassOf(third->hwnd), L"Window2");
    EXPECT_EQ(mainWindow, firstWindow);
    delete third;
    EXPECT_FALSE(QuitPosted(exitCode));
}

TEST(FirstForm, AWindowClosedByItsCloseBoxIsDestroyedWhenNothingRefuses) {
    Form form(Instance());
    Open(form);
    SendMessageW(form.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    WPARAM exitCode = 0;
    QuitPosted(exitCode);
    EXPECT_FALSE(IsWindow(form.hwnd));
    EXPECT_TRUE(form.destroyed);
}
