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

// Draws the sprite on the form's back buffer and gives the dirty rectangle,
// with the place it was drawn at before (the current place when it had
// never been drawn, a coordinate of -1 standing for the current one).
RECT DrawOnBackBuffer(FormGames& form, Sprite& sprite, POINT& previous) {
    previous = POINT{-1, -1};
    if (form.backBuffer) previous = sprite.Draw(*form.backBuffer);
    if (previous.x == -1) previous.x = sprite.x;
    if (previous.y == -1) previous.y = sprite.y;
    int32_t left = std::min<int32_t>(previous.x, sprite.x);
    int32_t top = std::min<int32_t>(previous.y, sprite.y);
    int32_t dirtyWidth = std::max<int32_t>(previous.x, sprite.x) + sprite.width - left;
    int32_t dirtyHeight = std::max<int32_t>(previous.y, sprite.y) + sprite.height - top;
    if (form.backBuffer && TouchesCorner(left, top)) FormGames::MarkCorner(*form.backBuffer);
    return RECT{left, top, left + dirtyWidth, top + dirtyHeight};
}

}  // namespace

FormGames::FormGames(HINSTANCE instance, const std::string& title) : Form(instance) {
    font = new FontSpec("Lucida Console", 16);
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
    delete timer;  // stops it
    timer = nullptr;
    // The window goes before the surfaces and the font it uses. A window
    // already destroyed is left alone: its handle may belong to another one.
    if (hwnd && !destroyed) SendMessageW(hwnd, WM_CLOSE, 0, 0);
    created = false;
    if (hwnd && !destroyed && IsWindow(hwnd)) DestroyWindow(hwnd);
    if (screenSnapshot) DeleteObject(screenSnapshot);
    screenSnapshot = nullptr;
    delete font;
    font = nullptr;
    if (screen) screen->EndDrawing();
    if (backBuffer) backBuffer->EndDrawing();
    delete screen;
    delete backBuffer;
    screen = nullptr;
    backBuffer = nullptr;
    sprites.clear();
}

void FormGames::ResetGame() {
    level = 1;
    lives = 3;
    score = 0;
}

void FormGames::StartLoop() {
    // Runs once per window; a second call must not replace what exists.
    if (!screen) screen = new Drawing(this);
    if (!backBuffer) backBuffer = new Drawing(this);
    if (!timer) {
        timer = new Timer(this);
        timer->onTick = RouteTick;
    }
    if (!timer->running) timer->Start();
}

bool FormGames::StopLoop() {
    UnregisterHotKeys();
    if (timer && timer->running) timer->Stop();
    return true;
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
    if (key == VK_ESCAPE) {
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        created = false;
    }
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
    CostTimer timer(frameCosts, &FrameCosts::openClose);
    frameInProgress = true;
    if (!erase) {
        NotifyPaint();
        InvalidateRect(hwnd, nullptr, FALSE);
    } else {
        InvalidateRect(hwnd, nullptr, TRUE);
    }

    screen->EndDrawing();
    screen->dc = BeginPaint(hwnd, &screen->paint);
    screen->ownsDc = 0;

    if (!screenSnapshot) {
        // Until the first frame has ended, every frame starts on a fresh
        // back buffer the size of the client area.
        HDC buffer = screen->CreateBackBuffer();
        backBuffer->EndDrawing();
        backBuffer->dc = buffer;
        backBuffer->ownsDc = buffer ? 1 : 0;
        return;
    }

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
    CostTimer timer(frameCosts, &FrameCosts::openClose);
    if (!screenSnapshot && backBuffer) {
        RECT outer{};
        if (hwnd && GetWindowRect(hwnd, &outer)) {
            width = outer.right - outer.left;
            height = outer.bottom - outer.top;
        }
        screenSnapshot = backBuffer->CopyRegion(0, 0, width, height);
    }
    if (screen) screen->EndDrawing();
    frameInProgress = false;
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
    POINT previous;
    return DrawOnBackBuffer(*this, sprite, previous);
}

void FormGames::PresentSprite(Sprite& sprite) {
    POINT previous;
    RECT dirty = DrawOnBackBuffer(*this, sprite, previous);
    int32_t dirtyWidth = dirty.right - dirty.left;
    if (2 * sprite.width + 10 < dirtyWidth) {
        // A jump across the window (a wrap at an edge): two small copies
        // instead of one strip spanning everything in between.
        PresentRegion(previous.x, previous.y, sprite.width, sprite.height);
        PresentRegion(sprite.x, sprite.y, sprite.width, sprite.height);
    } else {
        PresentRegion(dirty.left, dirty.top, dirtyWidth, dirty.bottom - dirty.top);
    }
}

RECT FormGames::EraseSprite(Sprite& sprite) {
    if (backBuffer) {
        sprite.Erase(*backBuffer);
        if (TouchesCorner(sprite.x, sprite.y)) MarkCorner(*backBuffer);
    }
    return RECT{sprite.x, sprite.y, sprite.x + sprite.width, sprite.y + sprite.height};
}

void FormGames::PresentErase(Sprite& sprite) {
    RECT area = EraseSprite(sprite);
    PresentRegion(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

void FormGames::FillArea(int32_t left, int32_t top, int32_t areaWidth, int32_t areaHeight, COLORREF colour) {
    for (Drawing* surface : {backBuffer, screen}) {
        if (!surface) continue;
        surface->FillRectangle(left, top, areaWidth, areaHeight, colour, 1, colour);
        if (TouchesCorner(left, top)) MarkCorner(*surface);
    }
}

void FormGames::DrawTextAt(int32_t px, int32_t py, const std::string& line, COLORREF colour) {
    std::wstring wide = ToWide(line);
    for (Drawing* surface : {backBuffer, screen}) {
        if (!surface) continue;
        surface->DrawWideString(px, py, 0, 0, wide, colour, font, AlignLeft);
        if (TouchesCorner(px, py)) MarkCorner(*surface);
    }
}

void FormGames::DrawTextBox(int32_t boxWidth, int32_t boxHeight, const std::string& line, COLORREF colour,
                            TextAlign align) {
    std::wstring wide = ToWide(line);
    for (Drawing* surface : {backBuffer, screen}) {
        if (surface) surface->DrawWideString(2, 2, boxWidth, boxHeight, wide, colour, font, align);
    }
}

void FormGames::AddSprite(GameElement* sprite) {
    sprites.push_back(sprite);
}

std::string FormGames::FormatInteger(int64_t value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    return buffer;
}

void FormGames::PresentRegion(int32_t left, int32_t top, int32_t regionWidth, int32_t regionHeight) {
    // Only a frame holds the window's paint DC; outside one there is
    // nowhere to copy to.
    if (!backBuffer || !backBuffer->dc || !screen || !screen->dc) return;
    CostTimer timer(frameCosts, &FrameCosts::copy);
    // Straight from the back buffer's DC into the window's: the same pixels as
    // a copy through a temporary bitmap, without making a bitmap and two DCs
    // per rectangle, which took most of a play step's time.
    if (!BitBlt(screen->dc, left, top, regionWidth, regionHeight, backBuffer->dc, left, top, SRCCOPY))
        screen->OnDrawingError();
    pixelsPresented += static_cast<int64_t>(regionWidth) * regionHeight;
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
