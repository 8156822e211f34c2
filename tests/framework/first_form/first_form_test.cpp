#include "support/window_support.h"
#include "framework/form.h"
#include "framework/window_proc.h"

#include <gtest/gtest.h>

#include <string>

using namespace Orditex;
using namespace TestSupport;

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
    EXPECT_FALSE(Pump(100));  // no quit message

    delete first;
    std::optional<WPARAM> quit = Pump(100);
    ASSERT_TRUE(quit);
    EXPECT_EQ(*quit, 0u);
    EXPECT_EQ(mainWindow, firstWindow);  // set once, never cleared

    // Forms made afterwards neither become the main window nor end the loop.
    auto* third = new Form(Instance());
    Open(*third);
    EXPECT_EQ(third->id, 3);
    EXPECT_EQ(ClassOf(third->hwnd), L"Window2");
    EXPECT_EQ(mainWindow, firstWindow);
    delete third;
    EXPECT_FALSE(Pump(100));
}

TEST(FirstForm, AWindowClosedByItsCloseBoxIsDestroyedWhenNothingRefuses) {
    Form form(Instance());
    Open(form);
    SendMessageW(form.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump(100);
    EXPECT_FALSE(IsWindow(form.hwnd));
    EXPECT_TRUE(form.destroyed);
}
