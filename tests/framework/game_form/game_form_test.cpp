#include "framework/game_form.h"
#include "framework/gdi_guards.h"
#include "framework/menu.h"
#include "framework/shell.h"
#include "framework/controls.h"
#include "support/fakes.h"
#include "support/gdi_support.h"
#include "support/window_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace Orditex;
using namespace TestSupport;

namespace {

constexpr COLORREF kGrey = RGB(90, 90, 90);

// A game that records what reaches its hooks.
class TestGame : public FormGames {
public:
    TestGame() : FormGames(GetModuleHandleW(nullptr), "Prova") {}

    // The game's own set-up makes the client area 800 x 600 before the first
    // frame; frame tests do the same. The window manager answers a resize
    // late and now and then with the old size, so the size is asked for
    // again until it has held for a while (tests that need the exact width
    // read it rather than assume it).
    void Fit() {
        FitClientArea();
        int held = 0;
        for (int round = 0; round < 40 && held < 4; ++round) {
            Pump(25);
            if (ClientIs800By600()) {
                ++held;
                continue;
            }
            held = 0;
            RECT outer{};
            RECT client{};
            GetWindowRect(hwnd, &outer);
            GetClientRect(hwnd, &client);
            SetSize(800 + (outer.right - outer.left) - client.right, 600 + (outer.bottom - outer.top) - client.bottom);
        }
    }
    bool ClientIs800By600() {
        RECT client{};
        GetClientRect(hwnd, &client);
        return client.right == 800 && client.bottom == 600;
    }

    void Tick() override { ++ticks; }
    bool OnChar(int32_t code) override {
        chars.push_back(code);
        return code != 'x';
    }
    void OnCommand(GUIElement* item) override { commands.push_back(item); }
    void OnMouseDown(int32_t px, int32_t py) override { downs.push_back(POINT{px, py}); }
    void OnMouseUp(int32_t px, int32_t py) override { ups.push_back(POINT{px, py}); }
    void OnResize() override { ++resizes; }
    bool StopLoop() override {
        ++stops;
        FormGames::StopLoop();
        return allowClose;
    }

    // Runs one composed frame, as the game's tick does.
    void Frame(const std::function<void()>& draw) {
        BeginFrame(false);
        draw();
        EndFrame();
    }

    int ticks = 0;
    int resizes = 0;
    int stops = 0;
    bool allowClose = true;
    std::vector<int32_t> chars;
    std::vector<GUIElement*> commands;
    std::vector<POINT> downs;
    std::vector<POINT> ups;
};

int MarkedKeys(const FormGames& game) {
    int marked = 0;
    for (uint8_t key : game.keys) marked += key != 0;
    return marked;
}

}  // namespace

// ---- set-up and the loop ---------------------------------------------------

TEST(GameFormSetup, AnIdle800By600WindowWithItsLoopRunning) {
    TestGame game;
    ASSERT_NE(game.hwnd, nullptr);
    EXPECT_TRUE(game.created);
    EXPECT_EQ(game.GetText(), "Prova");
    // Its font and its boxes are read where the game shows them.
    RECT outer{};
    GetWindowRect(game.hwnd, &outer);
    EXPECT_EQ(outer.right - outer.left, 800);
    EXPECT_EQ(outer.bottom - outer.top, 600);

    // The window-created notification started the loop.
    ASSERT_NE(game.screen, nullptr);
    ASSERT_NE(game.backBuffer, nullptr);
    EXPECT_EQ(game.backBuffer->owner, &game);
    ASSERT_NE(game.timer, nullptr);
    EXPECT_TRUE(game.timer->running);
    EXPECT_EQ(game.timer->parent, &game);
}

TEST(GameFormLoop, TicksArriveEvery20MsOfPumpedMessagesUntilStopped) {
    ResolutionCounter resolution;
    TestGame game;
    EXPECT_EQ(resolution.begins, 1);  // the finer timer resolution, held while the timer runs
    DWORD start = GetTickCount();
    Pump(1000);
    DWORD elapsed = GetTickCount() - start;
    // A 20 ms window timer: never more than one tick per 20 ms, and a
    // steady stream while messages are pumped.
    EXPECT_LE(game.ticks, static_cast<int>(elapsed / 20) + 1);
    EXPECT_GE(game.ticks, 12);

    Timer* timer = game.timer.get();
    EXPECT_TRUE(game.StopLoop());
    EXPECT_FALSE(timer->running);
    EXPECT_EQ(resolution.ends, 1);
    int stopped = game.ticks;
    Pump(150);
    EXPECT_EQ(game.ticks, stopped);

    // Twice is harmless; starting again reuses the same timer.
    EXPECT_TRUE(game.StopLoop());
    EXPECT_FALSE(timer->running);
    game.StartLoop();
    game.StartLoop();  // again while running: nothing more is asked for
    EXPECT_EQ(game.timer.get(), timer);
    EXPECT_TRUE(timer->running);
    EXPECT_EQ(resolution.ends, 1);
    EXPECT_EQ(resolution.begins, 2);
    EXPECT_TRUE(PumpUntil([&] { return game.ticks > stopped; }));
}

TEST(GameFormLoop, AClosingHookThatRefusesKeepsTheWindow) {
    ResolutionCounter resolution;
    TestGame game;
    game.allowClose = false;
    SendMessageW(game.hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(game.stops, 1);
    EXPECT_TRUE(IsWindow(game.hwnd));
    EXPECT_FALSE(game.timer->running);
    EXPECT_EQ(resolution.ends, 1);  // given back with the timer, though the window stays

    game.allowClose = true;
    SendMessageW(game.hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(game.hwnd));
    EXPECT_TRUE(game.destroyed);
}

TEST(GameFormLoop, EscapeAsAHotKeyClosesTheWindow) {
    TestGame game;
    game.OnHotKey(MOD_ALT, 'A');
    EXPECT_TRUE(IsWindow(game.hwnd));
    game.OnHotKey(0, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(game.hwnd));
    EXPECT_FALSE(game.created);
}

// ---- input -------------------------------------------------------------------

TEST(GameFormKeys, OnlyTheLastKeyDownIsMarked) {
    TestGame game;
    SendMessageW(game.hwnd, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(game.keys[VK_LEFT], 1);
    EXPECT_EQ(MarkedKeys(game), 1);

    SendMessageW(game.hwnd, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(game.keys[VK_UP], 1);
    EXPECT_EQ(game.keys[VK_LEFT], 0);
    EXPECT_EQ(MarkedKeys(game), 1);

    // Left is still held, but releasing Up leaves nothing marked.
    SendMessageW(game.hwnd, WM_KEYUP, VK_UP, 0);
    EXPECT_EQ(MarkedKeys(game), 0);

    SendMessageW(game.hwnd, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(game.hwnd, WM_KEYUP, VK_DOWN, 0);  // another key's release changes nothing
    EXPECT_EQ(game.keys[VK_RIGHT], 1);
}

TEST(GameFormKeys, CodesOutsideTheArrayChangeNothing) {
    TestGame game;
    game.OnKeyDown(VK_RIGHT);
    for (int32_t code : {256, 300, 65535, -1, INT32_MIN}) {
        game.OnKeyDown(code);
        game.OnKeyUp(code);
    }
    EXPECT_EQ(game.keys[VK_RIGHT], 1);
    EXPECT_EQ(MarkedKeys(game), 1);
}

TEST(GameFormKeys, TabAndAltKeepTheFocusOnTheForm) {
    TestGame game;
    Form other(Instance());  // another window of this thread, to take the focus away
    Open(other);
    for (WPARAM key : {VK_TAB, VK_MENU, VK_LMENU, VK_RMENU}) {
        SetFocus(other.hwnd);
        ASSERT_EQ(GetFocus(), other.hwnd);
        SendMessageW(game.hwnd, WM_KEYDOWN, key, 0);
        EXPECT_EQ(GetFocus(), game.hwnd) << "key " << key;
    }
    SetFocus(other.hwnd);
    SendMessageW(game.hwnd, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(GetFocus(), other.hwnd);
}

TEST(GameFormRouting, WindowEventsReachTheVirtualHooks) {
    TestGame game;
    // The hook's answer decides: 'x' is swallowed, 'g' goes on.
    EXPECT_EQ(SendMessageW(game.hwnd, WM_CHAR, 'g', 0), 0);
    EXPECT_EQ(SendMessageW(game.hwnd, WM_CHAR, 'x', 0), 1);
    EXPECT_EQ(game.chars, (std::vector<int32_t>{'g', 'x'}));

    SendMessageW(game.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 34));
    SendMessageW(game.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(-5, 7));
    ASSERT_EQ(game.downs.size(), 1u);
    EXPECT_EQ(game.downs[0].x, 12);
    EXPECT_EQ(game.downs[0].y, 34);
    ASSERT_EQ(game.ups.size(), 1u);
    EXPECT_EQ(game.ups[0].x, -5);
    EXPECT_EQ(game.ups[0].y, 7);

    int resizes = game.resizes;
    SendMessageW(game.hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(700, 500));
    EXPECT_EQ(game.resizes, resizes + 1);
}

TEST(GameFormRouting, MenuEntriesAndButtonsReachOnCommandOfTheirGameForm) {
    TestGame game;
    MenuBar bar(&game);
    Menu file("&File", &bar);
    SubMenu quit(&file, "&Esci");
    quit.onClick = GameMenuClick;
    bar.Create();
    SendMessageW(game.hwnd, WM_COMMAND, MAKEWPARAM(quit.id, 0), 0);
    ASSERT_EQ(game.commands.size(), 1u);
    EXPECT_EQ(game.commands[0], &quit);

    Button button(&game, "Vai");
    button.onClick = GameMenuClick;
    button.Create();
    SendMessageW(button.hwnd, BM_CLICK, 0, 0);
    ASSERT_EQ(game.commands.size(), 2u);
    EXPECT_EQ(game.commands[1], &button);

    // No game form above: nothing happens.
    SubMenu orphan(nullptr, "Nessuno");
    GameMenuClick(&orphan);
    Form plain(GetModuleHandleW(nullptr));
    plain.Create();
    MenuBar plainBar(&plain);
    Menu plainMenu("&Altro", &plainBar);
    SubMenu plainEntry(&plainMenu, "&Voce");
    GameMenuClick(&plainEntry);
    EXPECT_EQ(game.commands.size(), 2u);
}

// ---- frames --------------------------------------------------------------------

namespace {

// A fitted game form, two plain backgrounds and a 10 x 10 blue sprite.
class GameFormFrames : public ::testing::Test {
protected:
    void SetUp() override { game.Fit(); }
    // Blackens the window behind the form's back.
    void WipeWindow() {
        HDC dc = GetDC(game.hwnd);
        RECT all{0, 0, 800, 600};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(game.hwnd, dc);
    }

    TestGame game;
    GdiObject<HBITMAP> grey{NewSolidPicture(800, 600, kGrey)};
    GdiObject<HBITMAP> red{NewSolidPicture(800, 600, kRed)};
    GdiObject<HBITMAP> blue{NewSolidPicture(10, 10, kBlue)};
    Sprite sprite{10, 10, blue};
};

std::string Corners(const RECT& area) {
    return std::to_string(area.left) + "," + std::to_string(area.top) + " " + std::to_string(area.right) + "," +
           std::to_string(area.bottom);
}

}  // namespace

TEST_F(GameFormFrames, TheCornerMarksSurviveDrawingAtTheCorner) {
    game.Frame([&] {
        game.SetBackgroundImage(grey);
        EXPECT_EQ(game.backgroundImage, static_cast<HBITMAP>(grey));
        EXPECT_TRUE(FormGames::HasCornerMarks(*game.backBuffer));
        EXPECT_TRUE(FormGames::HasCornerMarks(*game.screen));

        game.DrawSprite(sprite);
        EXPECT_TRUE(FormGames::HasCornerMarks(*game.backBuffer));
        EXPECT_EQ(GetPixel(game.backBuffer->dc, 5, 5), kBlue);

        game.EraseSprite(sprite);
        EXPECT_TRUE(FormGames::HasCornerMarks(*game.backBuffer));
        EXPECT_EQ(GetPixel(game.backBuffer->dc, 5, 5), kGrey);

        game.FillArea(0, 0, 30, 10, kRed);
        game.DrawTextAt(1, 0, "Livello 1", kWhite);
        EXPECT_TRUE(FormGames::HasCornerMarks(*game.backBuffer));
        EXPECT_TRUE(FormGames::HasCornerMarks(*game.screen));
    });
    EXPECT_EQ(WindowPixel(game.hwnd, 0, 0), kGreen);
    EXPECT_EQ(WindowPixel(game.hwnd, 1, 0), kWhite);
    EXPECT_EQ(WindowPixel(game.hwnd, 2, 0), kRed);
}

TEST_F(GameFormFrames, TheDirtyRectangleCoversTheOldAndTheNewPlace) {
    sprite.x = 50;
    sprite.y = 60;
    game.Frame([&] {
        game.SetBackgroundImage(grey);
        EXPECT_EQ(Corners(game.DrawSprite(sprite)), "50,60 60,70");
        sprite.x = 53;
        sprite.y = 58;
        EXPECT_EQ(Corners(game.DrawSprite(sprite)), "50,58 63,70");
        EXPECT_EQ(Corners(game.EraseSprite(sprite)), "53,58 63,68");
    });
}

TEST_F(GameFormFrames, ChangesThatNearlyTouchGoOutAsOneCopyAndMostOfTheAreaAsOneWholeCopy) {
    GdiObject<HBITMAP> bar(NewSolidPicture(100, 10, kBlue));
    GdiObject<HBITMAP> post(NewSolidPicture(10, 100, kBlue));
    game.Frame([&] { game.SetBackgroundImage(grey); });
    Sprite& first = sprite;
    Sprite second(10, 10, blue);
    auto copied = [&](int32_t secondX, int32_t secondY) {
        first.x = 100;
        first.y = 100;
        second.x = secondX;
        second.y = secondY;
        int64_t before = game.pixelsPresented;
        game.Frame([&] {
            game.PresentSprite(first);
            game.PresentSprite(second);
        });
        game.Frame([&] {
            game.PresentErase(first);
            game.PresentErase(second);
        });
        return game.pixelsPresented - before;
    };
    // Up to 8 pixels apart: the rectangle around both, twice (drawn, erased).
    EXPECT_EQ(copied(118, 100), 2 * 28 * 10);
    EXPECT_EQ(copied(100, 118), 2 * 10 * 28);
    EXPECT_EQ(copied(119, 100), 2 * 2 * 10 * 10);
    EXPECT_EQ(copied(300, 400), 2 * 2 * 10 * 10);
    // A sprite that moves far, as a wrap from the right edge to x 0: its old
    // and its new place, not the strip between them.
    first.x = 790;
    game.Frame([&] { game.PresentSprite(first); });
    int64_t before = game.pixelsPresented;
    game.Frame([&] {
        first.x = 0;
        game.PresentSprite(first);
    });
    EXPECT_EQ(game.pixelsPresented - before, 2 * 10 * 10);
    // Touching at a corner, but the rectangle around them is mostly empty.
    Sprite across(100, 10, bar);
    Sprite down(10, 100, post);
    across.y = 300;
    down.x = 104;
    down.y = 310;
    before = game.pixelsPresented;
    game.Frame([&] {
        game.PresentSprite(across);
        game.PresentSprite(down);
    });
    EXPECT_EQ(game.pixelsPresented - before, 2 * 1000);
    // Two thirds of the client area changed: still only that is copied (not
    // what the back buffer got outside it).
    GdiObject<HBITMAP> wide(NewSolidPicture(800, 400, kBlue));
    GdiObject<HBITMAP> tall(NewSolidPicture(400, 600, kRed));
    Sprite top(800, 400, wide);
    Sprite left(400, 600, tall);
    before = game.pixelsPresented;
    game.Frame([&] {
        game.PresentSprite(top);
        game.backBuffer->FillRectangle(600, 500, 10, 10, kGreen, 1, kGreen);
    });
    EXPECT_EQ(game.pixelsPresented - before, 800 * 400);
    EXPECT_EQ(WindowPixel(game.hwnd, 605, 505), kGrey);
    // Changes that overlap, but add up to more than the client area: one
    // copy of all of it, which brings the rest along.
    before = game.pixelsPresented;
    game.Frame([&] {
        game.PresentSprite(top);
        game.PresentSprite(left);
    });
    EXPECT_EQ(game.pixelsPresented - before, 800 * 600);
    EXPECT_EQ(WindowPixel(game.hwnd, 605, 505), kGreen);
    EXPECT_EQ(WindowPixel(game.hwnd, 200, 500), kRed);
    EXPECT_EQ(WindowPixel(game.hwnd, 600, 200), kBlue);
}

TEST_F(GameFormFrames, TheWindowIsReadBackOnlyAfterTheSystemInvalidatedIt) {
    game.Frame([&] { game.SetBackgroundImage(red); });
    PumpUntil([&] { return Settled(game.hwnd); }, 100);
    FrameCosts costs;
    game.frameCosts = &costs;

    // Steps do not look at the window, even when its picture is gone
    // without the system knowing.
    for (int32_t x = 0; x < 200; x += 10) {
        sprite.x = x;
        sprite.y = 200;
        game.Frame([&] { game.PresentSprite(sprite); });
    }
    WipeWindow();
    game.Frame([&] { game.PresentSprite(sprite); });
    EXPECT_EQ(costs.markReads, 0);
    EXPECT_EQ(WindowPixel(game.hwnd, 400, 300), kBlack);

    // Invalidated from outside: its paint reads the marks and brings the
    // picture back.
    InvalidateRect(game.hwnd, nullptr, FALSE);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(game.hwnd, 400, 300) == kRed; }));
    EXPECT_EQ(costs.markReads, 1);
    EXPECT_EQ(WindowPixel(game.hwnd, 195, 205), kBlue);
    EXPECT_EQ(WindowPixel(game.hwnd, 0, 0), kGreen);

    // The same when the system repaints it at once.
    WipeWindow();
    RedrawWindow(game.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(costs.markReads, 2);
    EXPECT_EQ(WindowPixel(game.hwnd, 400, 300), kRed);
    EXPECT_EQ(WindowPixel(game.hwnd, 195, 205), kBlue);
    game.frameCosts = nullptr;
}

TEST_F(GameFormFrames, AMissingBackgroundIsReportedAndTheMarksAreStampedAllTheSame) {
    CaptureErrorBoxes();
    game.Frame([&] {
        SetLastError(1814);
        game.SetBackgroundImage(nullptr);
        EXPECT_TRUE(FormGames::HasCornerMarks(*game.backBuffer));
        EXPECT_TRUE(FormGames::HasCornerMarks(*game.screen));
    });
    StopCapturingErrorBoxes();
    EXPECT_EQ(game.backgroundImage, nullptr);
    ASSERT_EQ(CapturedErrorBoxes().size(), 1u);
    EXPECT_EQ(CapturedErrorBoxes()[0].text, "Errore caricamento immagine - codice errore: 1814");
    EXPECT_EQ(CapturedErrorBoxes()[0].caption, "Errore");
}

TEST_F(GameFormFrames, TheWindowShowsTheBackBufferAgainAfterLosingItsPicture) {
    game.Frame([&] {
        game.SetBackgroundImage(red);
        game.FillArea(100, 100, 50, 50, kBlue);
    });
    PumpUntil([&] { return Settled(game.hwnd); }, 50);
    ASSERT_EQ(WindowPixel(game.hwnd, 400, 300), kRed);
    // The filled area's 1-pixel border has its colour: the last column and
    // row are filled too, on both surfaces, and nothing past them.
    for (POINT corner : {POINT{149, 149}, POINT{100, 149}, POINT{149, 100}, POINT{120, 120}}) {
        EXPECT_EQ(GetPixel(game.backBuffer->dc, corner.x, corner.y), kBlue);
        EXPECT_EQ(WindowPixel(game.hwnd, corner.x, corner.y), kBlue);
    }
    EXPECT_EQ(GetPixel(game.backBuffer->dc, 150, 150), kRed);
    EXPECT_EQ(WindowPixel(game.hwnd, 150, 150), kRed);

    // The picture is wiped out behind the form's back. While one corner mark
    // still shows, the window counts as keeping its picture: no repaint.
    WipeWindow();
    HDC dc = GetDC(game.hwnd);
    SetPixel(dc, 2, 0, kRed);
    game.Frame([] {});
    EXPECT_EQ(WindowPixel(game.hwnd, 400, 300), kBlack);
    // No mark left, but the back buffer lacks one: it holds no composed
    // picture to repaint from.
    SetPixel(dc, 2, 0, kBlack);
    SetPixel(game.backBuffer->dc, 1, 0, kBlue);
    game.Frame([] {});
    EXPECT_EQ(WindowPixel(game.hwnd, 400, 300), kBlack);
    ReleaseDC(game.hwnd, dc);

    // With the back buffer whole again, a paint request brings the composed
    // picture back.
    FormGames::MarkCorner(*game.backBuffer);
    InvalidateRect(game.hwnd, nullptr, FALSE);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(game.hwnd, 400, 300) == kRed; }));
    EXPECT_EQ(WindowPixel(game.hwnd, 120, 120), kBlue);
    EXPECT_EQ(WindowPixel(game.hwnd, 0, 0), kGreen);

    // Invalidated with erasing, as when the system repaints it.
    InvalidateRect(game.hwnd, nullptr, TRUE);
    PumpUntil([&] { return Settled(game.hwnd); }, 100);
    EXPECT_EQ(WindowPixel(game.hwnd, 400, 300), kRed);
    EXPECT_EQ(WindowPixel(game.hwnd, 120, 120), kBlue);
}

TEST_F(GameFormFrames, APaintRequestDuringAFrameOpensNoSecondFrame) {
    game.frameInProgress = true;
    game.NotifyPaint();
    EXPECT_FALSE(game.frameInProgress);
    EXPECT_EQ(game.screen->dc, nullptr);
}

// ---- the rest ------------------------------------------------------------------

TEST(GameFormBasics, ResetGameSpritesAndNumbers) {
    TestGame game;
    game.level = 4;
    game.lives = 0;
    game.score = 950;
    game.ResetGame();
    EXPECT_EQ(game.level, 1);
    EXPECT_EQ(game.lives, 3);
    EXPECT_EQ(game.score, 0);

    Sprite first(1, 1);
    Sprite second(1, 1);
    game.AddSprite(&first);
    game.AddSprite(&second);
    ASSERT_EQ(game.sprites.size(), 2u);
    EXPECT_EQ(game.sprites[0], &first);
    EXPECT_EQ(game.sprites[1], &second);

    EXPECT_EQ(FormGames::FormatInteger(0), "0");
    EXPECT_EQ(FormGames::FormatInteger(-1), "-1");
    EXPECT_EQ(FormGames::FormatInteger(1234567890123LL), "1234567890123");
    EXPECT_EQ(FormGames::FormatInteger(INT64_MAX), "9223372036854775807");
    EXPECT_EQ(FormGames::FormatInteger(INT64_MIN), "-9223372036854775808");
}

TEST(GameFormLifetime, DestructionEndsTheWindowTheTimerAndTheSurfaces) {
    auto game = std::make_unique<TestGame>();
    game->Fit();
    GdiObject<HBITMAP> background(NewSolidPicture(800, 600, kGrey));
    Sprite sprite(1, 1);
    game->AddSprite(&sprite);
    game->Frame([&] { game->SetBackgroundImage(background); });
    HWND window = game->hwnd;
    HDC buffer = game->backBuffer->dc;
    HBITMAP snapshot = game->screenSnapshot;
    HFONT font = game->font->GetHandle();
    ASSERT_NE(buffer, nullptr);
    ASSERT_NE(snapshot, nullptr);

    game.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetObjectType(buffer), 0u);
    EXPECT_EQ(GetObjectType(snapshot), 0u);
    EXPECT_EQ(GetObjectType(font), 0u);
    // The borrowed background and the listed sprites are not the form's.
    EXPECT_EQ(GetObjectType(background), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(sprite.width, 1);
    Pump(60);  // no tick of the dead form may arrive
}
