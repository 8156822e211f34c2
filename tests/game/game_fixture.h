// The real game form in a real window, with the clock, the random seed, the
// sounds, the error box and the high-score folder under the test's control.
#pragma once

#include "support/fakes.h"
#include "support/file_support.h"
#include "support/gdi_support.h"
#include "support/window_support.h"
#include "framework/shell.h"
#include "game/form_meteorni.h"
#include "game/sound.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace GameTest {

// What the game asked to play.
std::vector<int32_t>& SoundsPlayed();

// Runs posted messages (not timers' ticks: the clock is frozen, so a tick
// from the real timer finds no time elapsed and does nothing).
inline void Pump() {
    TestSupport::PumpQueued(TestSupport::Ticks::Drop);
}

std::string ScoreFilePath(const std::string& appData);

// The pixels of a region of a device context or of a picture, 0x00RRGGBB,
// row by row.
std::vector<uint32_t> Pixels(HDC source, const RECT& region);
std::vector<uint32_t> PicturePixels(HBITMAP picture, const RECT& region);

// The play area as the game is meant to draw it, composed independently on a
// memory DC of the back buffer's kind: pictures, fills, and texts in the
// game's font ("Lucida Console" 16) drawn the way the game's surfaces draw
// them (transparent background; one line at a point, or in a box).
class ExpectedPicture {
public:
    explicit ExpectedPicture(HDC like) : dc(CreateCompatibleDC(like)) {
        previous = SelectObject(dc, CreateCompatibleBitmap(like, 800, 600));
        SetBkMode(dc, TRANSPARENT);
        SelectObject(dc, font.GetHandle());
    }
    ~ExpectedPicture() {
        DeleteObject(SelectObject(dc, previous));
        DeleteDC(dc);
    }
    void Picture(HBITMAP picture) {
        // From the picture's pixels: the game keeps its pictures selected in
        // DCs of its own, where no other DC may select them.
        BITMAP size{};
        GetObjectW(picture, sizeof size, &size);
        std::vector<uint32_t> pixels = PicturePixels(picture, RECT{0, 0, size.bmWidth, size.bmHeight});
        BITMAPINFO info = TestSupport::TopDown32(size.bmWidth, size.bmHeight);
        SetDIBitsToDevice(dc, 0, 0, size.bmWidth, size.bmHeight, 0, 0, 0, size.bmHeight, pixels.data(), &info,
                          DIB_RGB_COLORS);
    }
    void Fill(int32_t left, int32_t top, int32_t width, int32_t height, COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        RECT area{left, top, left + width, top + height};
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }
    void Text(int32_t x, int32_t y, const std::wstring& text, COLORREF colour) {
        SetTextColor(dc, colour);
        TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    }
    void Text(RECT box, const std::wstring& text, COLORREF colour, UINT format) {
        SetTextColor(dc, colour);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    }
    int32_t LineHeight() {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        return metrics.tmHeight;
    }

    HDC dc = nullptr;

private:
    Orditex::FontSpec font{"Lucida Console", 16};
    HGDIOBJ previous = nullptr;
};

// Fills a fresh folder with bin\ and a copy of every shipped picture, one of
// them with a byte changed; gives the bin folder, to start a game from.
std::string DamagedPictureCopy(const TestSupport::TemporaryFolder& root, const std::string& damaged);

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
    // Moves a sprite and draws it there at once, as the game does.
    void Place(Orditex::Sprite& sprite, int32_t x, int32_t y);
    // Puts a rock where its next step lands on the ship.
    void AimRockAtShip(size_t index);
    // Lets a rock hit the ship three times, waiting out each interlude.
    void LoseAllLives();
    // A game started and lost: the name dialog is open.
    void ReachNameEntry();
    // Typed into the name dialog's box, and Enter there.
    void TypeInBox(const std::wstring& text);
    void ConfirmName();
    HBITMAP Picture(const std::string& file);
    // The back buffer and the window both show the expected picture in the
    // region (the three corner marks aside).
    void ExpectShown(ExpectedPicture& expected, const RECT& region, const std::string& what);

    Meteorni::FormMeteorni* game = nullptr;
    // The local application-data folder of the test, removed at its end.
    std::optional<TestSupport::TemporaryFolder> appDataFolder;
    std::string appData;
};

}  // namespace GameTest
