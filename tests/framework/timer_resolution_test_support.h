// Counts a game form's requests for a finer timer resolution in place of the
// system, for as long as it lives, and fails the running test as soon as they
// stop pairing up: a second request before the first is given back, a give-back
// with none held, a period other than 1 ms, or a request still held at the end.
#pragma once

#include "framework/game_form.h"

#include <gtest/gtest.h>

namespace TestSupport {

class ResolutionCounter {
public:
    ResolutionCounter() {
        current = this;
        Orditex::SetTimerResolutionApi(&counting);
    }
    ~ResolutionCounter() {
        EXPECT_EQ(begins, ends) << "the timer resolution is still held";
        Orditex::SetTimerResolutionApi(nullptr);
        current = nullptr;
    }
    ResolutionCounter(const ResolutionCounter&) = delete;
    ResolutionCounter& operator=(const ResolutionCounter&) = delete;

    int begins = 0;
    int ends = 0;

private:
    static MMRESULT WINAPI Begin(UINT period) {
        EXPECT_EQ(period, 1u);
        ++current->begins;
        EXPECT_LE(current->begins - current->ends, 1) << "asked again before it was given back";
        return TIMERR_NOERROR;
    }
    static MMRESULT WINAPI End(UINT period) {
        EXPECT_EQ(period, 1u);
        ++current->ends;
        EXPECT_GE(current->begins - current->ends, 0) << "given back without being asked";
        return TIMERR_NOERROR;
    }

    static inline ResolutionCounter* current = nullptr;
    static constexpr Orditex::TimerResolutionApi counting{Begin, End};
};

}  // namespace TestSupport
