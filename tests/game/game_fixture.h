// The real game form in a real window, with the clock, the random seed, the
// sounds, the error box and the high-score folder under the test's control.
#pragma once

#include "file_support.h"
#include "framework/joystick.h"
#include "framework/shell.h"
#include "game/form_meteorni.h"
#include "game/sound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace GameTest {

// The injected local clock.
SYSTEMTIME& ClockNow();
void SetClock(int year, int month, int day, int hour, int minute, int second, int millisecond);
void AdvanceClock(int64_t milliseconds);

// What the game asked to play or show.
std::vector<int32_t>& SoundsPlayed();
std::vector<std::string>& ErrorsShown();

// A controller the tests move by hand: axis values 0..65535 on x and y.
struct FakeController {
    bool connected = false;
    UINT x = 32767;
    UINT y = 32767;
};
FakeController& Controller();
const Orditex::JoystickApi* FakeJoystickApi();

// Runs posted messages (not timers' ticks: the clock is frozen, so a tick
// from the real timer finds no time elapsed and does nothing).
void Pump();

// A temporary folder standing for the local application-data folder.
std::string TemporaryFolder(const std::string& name);
std::string ScoreFilePath(const std::string& appData);

// A fresh folder with bin\ and a copy of every shipped picture, one of them
// with a byte changed; gives the bin folder, to start a game from.
std::string DamagedPictureCopy(const std::string& damaged);

class GameTestBase : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A tick after the clock moved on by the given milliseconds.
    void TickAfter(int64_t milliseconds);
    void Type(char code);
    void KeyDown(int32_t key);
    void KeyUp(int32_t key);
    // "G" on the title screen, with the first (empty) tick already done.
    void StartGame();
    // Runs one rock step on a copy, as the play step does.
    void StepRock(size_t index);
    // Moves the ship one accepted step in a direction key (tick of 20 ms).
    void StepShip(int32_t key);
    // Puts a rock where its next step lands on the ship.
    void AimRockAtShip(size_t index);
    // Lets a rock hit the ship three times, waiting out each interlude.
    void LoseAllLives();
    HBITMAP Picture(const std::string& file);
    COLORREF BackPixel(int x, int y);

    Meteorni::FormMeteorni* game = nullptr;
    std::string appData;
};

}  // namespace GameTest
