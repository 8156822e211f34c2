#include "support/window_support.h"
#include "framework/form.h"
#include "framework/timer.h"

#include <gtest/gtest.h>

#include <map>

using namespace Orditex;
using namespace TestSupport;

namespace {

std::map<Timer*, int> ticks;
void CountTick(Timer* timer) {
    ++ticks[timer];
}

// Sets the timer's interval and counts its ticks in ticks, from none.
void CountTicks(Timer& timer, int32_t interval) {
    timer.interval = interval;
    timer.onTick = CountTick;
    ticks.erase(&timer);
}

}  // namespace

TEST(Timer, IsAHiddenStaticControlKeyedByItsId) {
    Form form(Instance());
    Open(form);
    Timer timer(&form);
    EXPECT_EQ(timer.width, 50);
    EXPECT_EQ(timer.height, 22);
    EXPECT_EQ(timer.text, L"timer");
    EXPECT_EQ(timer.kind, "timer");
    EXPECT_EQ(timer.parent, &form);
    EXPECT_EQ(timer.interval, 20);
    EXPECT_FALSE(timer.running);
    EXPECT_FALSE(timer.created);

    timer.Start();
    ASSERT_NE(timer.hwnd, nullptr);
    EXPECT_EQ(_wcsicmp(ClassOf(timer.hwnd).c_str(), L"static"), 0);
    EXPECT_FALSE(IsWindowVisible(timer.hwnd));
    EXPECT_EQ(GetParent(timer.hwnd), form.hwnd);
    EXPECT_EQ(GetDlgCtrlID(timer.hwnd), timer.id);
    EXPECT_EQ(timer.tooltip, nullptr);
    EXPECT_EQ(ElementRegistry::FindElementById(timer.id), &timer);
}

TEST(Timer, StartingTwiceSetsOneTimerAndStoppingTwiceIsHarmless) {
    Form form(Instance());
    Open(form);
    Timer timer(&form);
    CountTicks(timer, 30);

    timer.Start();
    int32_t id = timer.id;
    int32_t counter = nextElementNumber;
    timer.Start();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.id, id);  // the same element, the same system timer
    EXPECT_EQ(nextElementNumber, counter);
    Pump(300);
    EXPECT_GT(ticks[&timer], 2);

    timer.Stop();
    EXPECT_FALSE(timer.running);
    timer.Stop();
    int stopped = ticks[&timer];
    Pump(300);
    EXPECT_EQ(ticks[&timer], stopped);  // one stop silenced everything

    // Started again: the same id and window, ticking again.
    HWND window = timer.hwnd;
    timer.Start();
    Pump(200);
    EXPECT_EQ(timer.id, id);
    EXPECT_EQ(timer.hwnd, window);
    EXPECT_GT(ticks[&timer], stopped);
}

TEST(Timer, DestroyingARunningTimerStopsItsTicks) {
    Form form(Instance());
    Open(form);
    auto* timer = new Timer(&form);
    CountTicks(*timer, 10);
    timer->Start();
    ASSERT_TRUE(PumpUntil([timer] { return ticks[timer] > 0; }));
    Timer* gone = timer;
    delete timer;
    int before = ticks[gone];
    Pump(300);
    EXPECT_EQ(ticks[gone], before);
}

TEST(Timer, TwoTimersUnderOneOwnerTickIndependently) {
    Form form(Instance());
    Open(form);
    Timer fast(&form);
    CountTicks(fast, 20);
    Timer slow(&form);
    CountTicks(slow, 120);
    fast.Start();
    slow.Start();
    EXPECT_NE(fast.id, slow.id);
    Pump(600);
    EXPECT_GT(ticks[&slow], 0);
    EXPECT_GT(ticks[&fast], 2 * ticks[&slow]);

    fast.Stop();
    int fastBefore = ticks[&fast];
    int slowBefore = ticks[&slow];
    Pump(400);
    EXPECT_EQ(ticks[&fast], fastBefore);
    EXPECT_GT(ticks[&slow], slowBefore);
}

TEST(Timer, NothingStartsWithoutTheOwnersWindow) {
    Form owner(Instance());  // never created
    Timer timer(&owner);
    timer.onTick = CountTick;
    timer.Start();
    EXPECT_FALSE(timer.running);
    timer.Stop();
    EXPECT_FALSE(timer.running);
}
