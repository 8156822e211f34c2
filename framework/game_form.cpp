#include "framework/game_form.h"

#include "framework/hook_routing.h"

#include "framework/shell.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace Orditex {

namespace {

constexpr COLORREF kMarkGreen = RGB(0, 255, 0);
constexpr COLORREF kMarkWhite = RGB(255, 255, 255);
constexpr COLORREF kMarkRed = RGB(255, 0, 0);

// The element callbacks lead to the virtual hooks, so a game that derives
// from FormGames only overrides the hooks it needs.
FormGames* AsGameForm(GUIElement* element) {
    return dynamic_cast<FormGames*>(element);
}

const TimerResolutionApi winmmResolution{timeBeginPeriod, timeEndPeriod};
const TimerResolutionApi* resolutionApi = &winmmResolution;

// A window timer fires only on the system's clock interrupt, every 15.625 ms
// unless a finer resolution is asked for: a 20 ms timer then comes every
// second interrupt, about every 31 ms, and the ship, 2 pixels a tick, moves
// at about 64 pixels a second instead of 100. Since Windows 10 2004 a
// process that does not ask for a finer resolution is not given one,
// whatever other programs ask. So the game asks for 1 ms, and only while its
// timer runs.
constexpr UINT kTimerResolutionMs = 1;

void RouteTick(Timer* timer) {
    if (FormGames* form = AsGameForm(timer->parent)) form->Tick();
}

// Adds the time of its scope to a total of the attached costs, if any;
// copies to the window made inside the scope are left to their own total.
class CostTimer {
public:
    CostTimer(FrameCosts* attached, int64_t FrameCosts::*total) : costs(attached), field(total) {
        if (!costs) return;
        copiesBefore = costs->copy;
        QueryPerformanceCounter(&start);
    }
    ~CostTimer() {
        if (!costs) return;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        int64_t nested = field == &FrameCosts::copy ? 0 : costs->copy - copiesBefore;
        costs->*field += end.QuadPart - start.QuadPart - nested;
    }
    CostTimer(const CostTimer&) = delete;
    CostTimer& operator=(const CostTimer&) = delete;

private:
    FrameCosts* costs;
    int64_t FrameCosts::*field;
    int64_t copiesBefore = 0;
    LARGE_INTEGER start{};
};

// How many of the three corner marks a surface still shows.
int32_t CornerMarksShown(Drawing& surface) {
    if (!surface.dc) return 0;
    int32_t shown = 0;
    if (GetPixel(surface.dc, 0, 0) == kMarkGreen) ++shown;
    if (GetPixel(surface.dc, 1, 0) == kMarkWhite) ++shown;
    if (GetPixel(surface.dc, 2, 0) == kMarkRed) ++shown;
    return shown;
}

// Drawing that reaches the top row at x 0 to 2 must put the marks back.
bool TouchesCorner(int32_t left, int32_t top) {
    return top == 0 && left < 3;
}

// Rectangles that overlap, or lie no further apart than this, may be copied
// to the window as one: the rectangle around both.
constexpr int32_t kNearlyTouching = 8;

// What one copy to the window costs beyond its pixels, as a number of pixels
// copied (the benchmark measures it: about 0.2 us per copy against 0.1 ns
// per pixel under Wine). Joining two rectangles pays while it copies no more
// extra pixels than this, and one copy of the whole client area pays once
// the copies it replaces would cost more.
constexpr int64_t kCopyOverheadPixels = 2000;

int64_t Area(const RECT& area) {
    return static_cast<int64_t>(area.right - area.left) * (area.bottom - area.top);
}

// The rectangle around both, when copying it once costs no more than
// copying the two.
bool Join(const RECT& a, const RECT& b, RECT& around) {
    int32_t gapX = std::max(a.left, b.left) - std::min(a.right, b.right);
    int32_t gapY = std::max(a.top, b.top) - std::min(a.bottom, b.bottom);
    if (gapX > kNearlyTouching || gapY > kNearlyTouching) return false;
    int64_t shared = gapX < 0 && gapY < 0 ? static_cast<int64_t>(gapX) * gapY : 0;
    around = RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                  std::max(a.bottom, b.bottom)};
    return Area(around) - (Area(a) + Area(b) - shared) <= kCopyOverheadPixels;
}

}  // namespace

void SetTimerResolutionApi(const TimerResolutionApi* api) {
    resolutionApi = api ? api : &winmmResolution;
}

FormGames::FormGames(HINSTANCE instance, const std::string& title) : Form(instance) {
    font = &textFont;
    SetBackColor(0);
    SetSize(800, 600);
    SetText(title);
    minimizeBox = true;
    maximizeBox = false;

    onCreated = RouteCreatedToHook<FormGames, &FormGames::StartLoop>;
    onClosing = RouteToAnswer<FormGames, &FormGames::StopLoop>;
    onResize = RouteToHook<FormGames, &FormGames::OnResize>;
    onChar = RouteCharToHook<FormGames, &FormGames::OnChar>;
    onKeyDown = RouteKeyToHook<FormGames, &FormGames::OnKeyDown>;
    onKeyUp = RouteKeyToHook<FormGames, &FormGames::OnKeyUp>;
    onLeftButtonUp = RouteMouseToHook<FormGames, &FormGames::OnMouseUp>;
    onLeftButtonDown = RouteMouseToHook<FormGames, &FormGames::OnMouseDown>;

    Create();
    if (hwnd) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font->GetHandle()), TRUE);
}

FormGames::~FormGames() {
    // The order is written out, not left to the members: the timer stops
    // before the window goes, and the window goes before the surfaces and
    // the font it uses (the font, a member, goes after this body).
    StopTimer();
    timer.reset();
    CloseAndDestroy();
    if (screenSnapshot) DeleteObject(screenSnapshot);
    screenSnapshot = nullptr;
    font = nullptr;
    // Each surface lets its DC go the way it came: the window's given back,
    // the back buffer's deleted.
    screen.reset();
    backBuffer.reset();
    sprites.clear();
}

void FormGames::ResetGame() {
    level = 1;
    lives = 3;
    score = 0;
}

void FormGames::StartLoop() {
    // Runs once per window; a second call must not replace what exists.
    if (!screen) screen = std::make_unique<Drawing>(this);
    if (!backBuffer) backBuffer = std::make_unique<Drawing>(this);
    if (!timer) {
        timer = std::make_unique<Timer>(this);
        timer->onTick = RouteTick;
    }
    StartTimer();
}

bool FormGames::StopLoop() {
    UnregisterHotKeys();
    StopTimer();
    return true;
}

void FormGames::StartTimer() {
    if (timer->running) return;
    timer->Start();
    // Asked once for each start that took, given back by the stop that ends it.
    if (timer->running) resolutionApi->begin(kTimerResolutionMs);
}

void FormGames::StopTimer() {
    if (!timer || !timer->running) return;
    timer->Stop();
    resolutionApi->end(kTimerResolutionMs);
}

bool FormGames::OnChar(int32_t) {
    return true;
}

void FormGames::OnKeyDown(int32_t key) {
    // Tab and Alt would move the focus away from the game window.
    if (key == VK_TAB || key == VK_MENU || key == VK_LMENU || key == VK_RMENU) Focus();
    // Codes outside the array are not keys of this form: they leave the
    // state as it is.
    if (key < 0 || key >= 256) return;
    std::memset(keys, 0, sizeof keys);
    keys[key] = 1;
}

void FormGames::OnKeyUp(int32_t key) {
    if (key >= 0 && key < 256) keys[key] = 0;
}

void FormGames::OnCommand(GUIElement*) {}

void FormGames::OnHotKey(int32_t, int32_t key) {
    if (key == VK_ESCAPE) RequestClose();
}

void FormGames::OnMouseUp(int32_t, int32_t) {}

void FormGames::OnMouseDown(int32_t, int32_t) {}

void FormGames::NotifyPaint() {
    if (created) {
        if (frameInProgress) {
            // The frame already open holds the window's paint; do not open another.
            frameInProgress = false;
        } else {
            BeginFrame(true);
            EndFrame();
        }
    }
    Form::NotifyPaint();
}

void FormGames::BeginFrame(bool erase) {
    if (!screen || !backBuffer) return;
    CostTimer cost(frameCosts, &FrameCosts::openClose);
    frameInProgress = true;
    // A frame left open: what it changed reaches the window before anything else.
    PresentChanges();
    ReleaseScreen();
    if (!erase) {
        NotifyPaint();
        // A step draws through the window's own DC and leaves the window's
        // update region alone: a part the system invalidated stays so, and
        // its paint request restores the picture (below) as soon as the
        // message loop gets to it.
        screen->BorrowWindowDc();
    } else {
        InvalidateRect(hwnd, nullptr, TRUE);
        screen->BeginPainting();
    }

    if (!screenSnapshot) {
        // Until the first frame has ended, every frame starts on a fresh
        // back buffer the size of the client area.
        HDC buffer = screen->CreateBackBuffer();
        backBuffer->OwnMemoryDc(buffer);
        composedSize = SIZE{0, 0};
        BITMAP composed{};
        if (buffer && GetObjectW(GetCurrentObject(buffer, OBJ_BITMAP), sizeof composed, &composed))
            composedSize = SIZE{composed.bmWidth, composed.bmHeight};
        return;
    }

    // Only a paint request says the window may have lost its picture: the
    // system invalidated part of it (uncovered, restored, resized), and the
    // paint has just erased it all. Reading pixels back from the window is
    // slow where the desktop composes its windows, so steps never do it.
    if (erase) RestoreWindow();
}

void FormGames::RestoreWindow() {
    // The window still shows a mark: it kept its picture.
    if (frameCosts) ++frameCosts->markReads;
    if (CornerMarksShown(*screen) > 0) return;
    // The window lost its picture; bring it back from the back buffer when
    // that holds a composed picture.
    if (CornerMarksShown(*backBuffer) < 3) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    CostTimer copyTimer(frameCosts, &FrameCosts::copy);
    DeleteObject(screenSnapshot);
    screenSnapshot = backBuffer->CopyRegion(0, 0, client.right - client.left, client.bottom - client.top);
    screen->DrawImageAtOrigin(screenSnapshot);
    pixelsPresented += static_cast<int64_t>(client.right - client.left) * (client.bottom - client.top);
}

void FormGames::EndFrame() {
    CostTimer cost(frameCosts, &FrameCosts::openClose);
    if (!screenSnapshot && backBuffer) {
        RECT outer{};
        if (hwnd && GetWindowRect(hwnd, &outer)) {
            width = outer.right - outer.left;
            height = outer.bottom - outer.top;
        }
        screenSnapshot = backBuffer->CopyRegion(0, 0, width, height);
    }
    PresentChanges();
    ReleaseScreen();
    frameInProgress = false;
}

void FormGames::ReleaseScreen() {
    changedAreas.clear();
    if (screen) screen->EndDrawing();
}

void FormGames::MarkCorner(Drawing& surface) {
    if (!surface.dc) return;
    SetPixel(surface.dc, 0, 0, kMarkGreen);
    SetPixel(surface.dc, 1, 0, kMarkWhite);
    SetPixel(surface.dc, 2, 0, kMarkRed);
}

bool FormGames::HasCornerMarks(Drawing& surface) {
    return CornerMarksShown(surface) == 3;
}

void FormGames::SetBackgroundImage(HBITMAP bitmap) {
    backgroundImage = bitmap;
    if (!bitmap) {
        DWORD code = GetLastError();
        ShowError("Errore caricamento immagine - codice errore: " + FormatInteger(code), "Errore");
    }
    if (backBuffer) {
        backBuffer->DrawImageAtOrigin(bitmap);
        MarkCorner(*backBuffer);
    }
    if (screen) {
        screen->DrawImageAtOrigin(bitmap);
        MarkCorner(*screen);
    }
}

RECT FormGames::DrawSprite(Sprite& sprite) {
    POINT previous{-1, -1};
    if (backBuffer) previous = sprite.Draw(*backBuffer);
    if (previous.x == -1) previous.x = sprite.x;
    if (previous.y == -1) previous.y = sprite.y;
    int32_t left = std::min<int32_t>(previous.x, sprite.x);
    int32_t top = std::min<int32_t>(previous.y, sprite.y);
    int32_t dirtyWidth = std::max<int32_t>(previous.x, sprite.x) + sprite.width - left;
    int32_t dirtyHeight = std::max<int32_t>(previous.y, sprite.y) + sprite.height - top;
    if (backBuffer && TouchesCorner(left, top)) MarkCorner(*backBuffer);
    // The old place was repaired and the new one drawn. A sprite redrawn to
    // repair another's old place changed too, all of it: the window gets
    // every change of the frame, or it would show a sprite half in one frame
    // and half in another.
    PresentRegion(previous.x, previous.y, sprite.width, sprite.height);
    PresentRegion(sprite.x, sprite.y, sprite.width, sprite.height);
    return RECT{left, top, left + dirtyWidth, top + dirtyHeight};
}

void FormGames::PresentSprite(Sprite& sprite) {
    // Drawing on the back buffer already names the changed places; they
    // reach the window together at the end of the frame.
    DrawSprite(sprite);
}

RECT FormGames::EraseSprite(Sprite& sprite) {
    POINT repaired{sprite.lastX, sprite.lastY};
    if (backBuffer) {
        sprite.Erase(*backBuffer);
        if (TouchesCorner(sprite.x, sprite.y)) MarkCorner(*backBuffer);
    }
    if (repaired.x != -1 && repaired.y != -1) PresentRegion(repaired.x, repaired.y, sprite.width, sprite.height);
    PresentRegion(sprite.x, sprite.y, sprite.width, sprite.height);
    return RECT{sprite.x, sprite.y, sprite.x + sprite.width, sprite.y + sprite.height};
}

void FormGames::PresentErase(Sprite& sprite) {
    EraseSprite(sprite);
}

void FormGames::FillArea(int32_t left, int32_t top, int32_t areaWidth, int32_t areaHeight, COLORREF colour) {
    for (Drawing* surface : {backBuffer.get(), screen.get()}) {
        if (!surface) continue;
        surface->FillRectangle(left, top, areaWidth, areaHeight, colour, 1, colour);
        if (TouchesCorner(left, top)) MarkCorner(*surface);
    }
}

void FormGames::DrawTextAt(int32_t px, int32_t py, const std::string& line, COLORREF colour) {
    DrawTextAt(px, py, ToWide(line), colour);
}

void FormGames::DrawTextAt(int32_t px, int32_t py, const std::wstring& line, COLORREF colour) {
    for (Drawing* surface : {backBuffer.get(), screen.get()}) {
        if (!surface) continue;
        surface->DrawWideString(px, py, 0, 0, line, colour, font, AlignLeft);
        if (TouchesCorner(px, py)) MarkCorner(*surface);
    }
}

void FormGames::DrawTextBox(int32_t boxWidth, int32_t boxHeight, const std::string& line, COLORREF colour,
                            TextAlign align) {
    std::wstring wide = ToWide(line);
    for (Drawing* surface : {backBuffer.get(), screen.get()}) {
        if (surface) surface->DrawWideString(2, 2, boxWidth, boxHeight, wide, colour, font, align);
    }
}

void FormGames::AddSprite(GameElement* sprite) {
    sprites.push_back(sprite);
}

std::string FormGames::FormatInteger(int64_t value) {
    char buffer[64];
    // 64 bytes hold every 64-bit value, so the text is never cut short.
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));  // NOLINT(cert-err33-c)
    return buffer;
}

void FormGames::PresentRegion(int32_t left, int32_t top, int32_t regionWidth, int32_t regionHeight) {
    // Only a frame holds a DC of the window; outside one nothing reaches it.
    if (!backBuffer || !backBuffer->dc || !screen || !screen->dc) return;
    RECT area{std::max<int32_t>(left, 0), std::max<int32_t>(top, 0),
              std::min<int32_t>(left + regionWidth, composedSize.cx),
              std::min<int32_t>(top + regionHeight, composedSize.cy)};
    if (area.right <= area.left || area.bottom <= area.top) return;
    // Joined with every noted rectangle it overlaps or nearly touches, as
    // long as that is cheaper; a joined rectangle may now reach others.
    RECT around;
    for (size_t i = 0; i < changedAreas.size();) {
        if (Join(changedAreas[i], area, around)) {
            area = around;
            changedAreas[i] = changedAreas.back();
            changedAreas.pop_back();
            i = 0;
        } else {
            ++i;
        }
    }
    changedAreas.push_back(area);
}

void FormGames::PresentChanges() {
    if (changedAreas.empty() || !backBuffer || !backBuffer->dc || !screen || !screen->dc) return;
    CostTimer cost(frameCosts, &FrameCosts::copy);
    int64_t changed = 0;
    for (const RECT& area : changedAreas) changed += Area(area);
    const RECT whole{0, 0, composedSize.cx, composedSize.cy};
    // One copy of everything once the copies it replaces would cost more.
    if (changed + static_cast<int64_t>(changedAreas.size() - 1) * kCopyOverheadPixels >= Area(whole)) {
        changedAreas.assign(1, whole);
    }
    for (const RECT& area : changedAreas) {
        // Straight from the back buffer's DC into the window's.
        if (!BitBlt(screen->dc, area.left, area.top, area.right - area.left, area.bottom - area.top, backBuffer->dc,
                    area.left, area.top, SRCCOPY))
            screen->OnDrawingError();
        pixelsPresented += Area(area);
    }
    changedAreas.clear();
}

void GameMenuClick(CommandElement* item) {
    // The entry is one of the living elements; find it to climb its parents.
    GUIElement* entry = nullptr;
    for (GUIElement* element : ElementRegistry::Elements()) {
        if (element && dynamic_cast<CommandElement*>(element) == item) {
            entry = element;
            break;
        }
    }
    for (GUIElement* ancestor = entry; ancestor; ancestor = ancestor->parent) {
        if (FormGames* form = AsGameForm(ancestor)) {
            form->OnCommand(entry);
            return;
        }
    }
}

}  // namespace Orditex
