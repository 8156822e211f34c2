// The base of a game window: an 800 x 600 form with a 20 ms tick, a key-state
// array, a window surface and an off-screen back buffer, and frame operations
// that draw on the back buffer and copy only the changed areas to the window.
#pragma once

#include "framework/drawing.h"
#include "framework/form.h"
#include "framework/sprite.h"
#include "framework/timer.h"

#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <vector>

namespace Orditex {

// Where the frames' time goes, in performance-counter ticks, for the
// benchmark: a form fills one only while it is attached to it.
struct FrameCosts {
    int64_t openClose = 0;  // in BeginFrame and EndFrame, their window copies aside
    int64_t copy = 0;       // copying from the back buffer to the window
    int64_t markReads = 0;  // corner marks read back from the window
};

// The system calls that ask for a finer resolution of the system's timers
// and give it back, replaceable so tests can count them.
struct TimerResolutionApi {
    MMRESULT(WINAPI* begin)(UINT period);
    MMRESULT(WINAPI* end)(UINT period);
};
void SetTimerResolutionApi(const TimerResolutionApi* api);  // nullptr restores winmm

// NOLINTNEXTLINE(cppcoreguidelines-special-member-functions): GUIElement deletes the copies
class FormGames : public Form {
public:
    FormGames(HINSTANCE instance, const std::string& title);
    ~FormGames() override;

    int32_t level = 1;
    int32_t lives = 3;
    int32_t score = 0;
    HBITMAP backgroundImage = nullptr;
    uint8_t keys[256] = {};
    std::unique_ptr<Timer> timer;
    std::vector<GameElement*> sprites;
    bool frameInProgress = false;
    HBITMAP screenSnapshot = nullptr;
    std::unique_ptr<Drawing> screen;
    std::unique_ptr<Drawing> backBuffer;
    // What the text operations draw with; the element's font points at it.
    FontSpec textFont{"Lucida Console", 16};

    // Pixels copied from the back buffer to the window since the form was
    // made; the benchmark reads it to show how little each step copies.
    int64_t pixelsPresented = 0;
    // Attached by the benchmark; none in the game.
    FrameCosts* frameCosts = nullptr;

    void NotifyPaint() override;

    virtual void InitGame() {}
    virtual void ResetGame();
    virtual void StartLoop();
    virtual bool StopLoop();
    virtual void OnResize() {}
    virtual void Tick() {}
    virtual bool OnChar(int32_t code);
    virtual void OnKeyDown(int32_t key);
    virtual void OnKeyUp(int32_t key);
    virtual void OnCommand(GUIElement* item);
    virtual void OnHotKey(int32_t modifiers, int32_t key);
    virtual void OnMouseUp(int32_t px, int32_t py);
    virtual void OnMouseDown(int32_t px, int32_t py);

    void BeginFrame(bool erase);
    void EndFrame();
    void SetBackgroundImage(HBITMAP bitmap);
    RECT DrawSprite(Sprite& sprite);
    void PresentSprite(Sprite& sprite);
    RECT EraseSprite(Sprite& sprite);
    void PresentErase(Sprite& sprite);
    void FillArea(int32_t left, int32_t top, int32_t areaWidth, int32_t areaHeight, COLORREF colour);
    void DrawTextAt(int32_t px, int32_t py, const std::string& line, COLORREF colour);
    void DrawTextAt(int32_t px, int32_t py, const std::wstring& line, COLORREF colour);
    void DrawTextBox(int32_t boxWidth, int32_t boxHeight, const std::string& line, COLORREF colour, TextAlign align);
    void AddSprite(GameElement* sprite);
    static std::string FormatInteger(int64_t value);

    // Stamps the three corner marks (green, white, red) on a surface.
    static void MarkCorner(Drawing& surface);
    // True when all three marks still show on the surface.
    static bool HasCornerMarks(Drawing& surface);

protected:
    // Notes a rectangle of the back buffer for the window: the frame's end
    // copies the noted rectangles, joined where they overlap or nearly touch.
    void PresentRegion(int32_t left, int32_t top, int32_t regionWidth, int32_t regionHeight);

private:
    // The only places where the 20 ms timer starts and stops, and with it
    // the finer timer resolution the game holds while it runs.
    void StartTimer();
    void StopTimer();
    // Copies the noted rectangles to the window, or the whole back buffer
    // when that is cheaper.
    void PresentChanges();
    // Gives the window's DC back, whichever way the frame got it, and
    // forgets the changes noted for it.
    void ReleaseScreen();
    // Repaints the window from the back buffer when its corner marks say it
    // lost its picture.
    void RestoreWindow();

    std::vector<RECT> changedAreas;
    SIZE composedSize{0, 0};  // of the back buffer
};

// The onClick of a game's menu entries: calls OnCommand on the nearest
// FormGames among the entry's ancestors.
void GameMenuClick(CommandElement* item);

}  // namespace Orditex
