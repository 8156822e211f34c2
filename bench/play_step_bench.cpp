// Times the game's play step on real levels in a real window, against a naive
// redraw of the same scenes that repaints the whole background and every
// sprite and copies the whole frame to the window on each step.
//
// Fixed seed, injected clock (20 ms per step), 5,000 steps per level. The ship
// is taken out of the hit test so that a level is measured in play from the
// first step to the last. For the game's step it also shows where the time
// goes: opening and closing the frame (corner-mark reads included), drawing on
// the back buffer, copying to the window; and the GDI objects a step makes.
#include "framework/gdi_guards.h"
#include "framework/shell.h"
#include "game/form_meteorni.h"
#include "game/sound.h"
#include "support/fakes.h"
#include "support/file_support.h"
#include "support/window_support.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Meteorni;

namespace {

void Silence(int32_t) {}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    static LARGE_INTEGER frequency{};
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double TicksToMs(int64_t ticks) {
    static LARGE_INTEGER frequency{};
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

struct Figures {
    double meanMs;
    double p99Ms;
    double pixelsPerStep;
    // Means per step, for the game's step only.
    double openCloseMs = 0;
    double drawMs = 0;
    double copyMs = 0;
    double objectsMade = 0;
    double markReads = 0;
};

Figures Summarise(std::vector<double>& samples, int64_t pixels) {
    std::sort(samples.begin(), samples.end());
    double total = 0;
    for (double s : samples) total += s;
    size_t p99 = samples.size() * 99 / 100;
    return Figures{1000.0 * total / static_cast<double>(samples.size()), 1000.0 * samples[p99],
                   static_cast<double>(pixels) / static_cast<double>(samples.size())};
}

// Builds the level and returns its ship, which the caller puts back when done.
std::unique_ptr<SpritePlayer> BuildLevel(FormMeteorni& game, int32_t level) {
    Orditex::SeedRandom(1234u + static_cast<unsigned>(level));
    game.level = level;
    game.ResetGame();
    // The ship stays on screen and animated, but cannot be hit.
    return std::move(game.ship);
}

// The game's own step: timed actions redraw only what changed.
Figures RunPlaySteps(FormMeteorni& game, int32_t level, int steps) {
    std::unique_ptr<SpritePlayer> ship = BuildLevel(game, level);
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(steps));
    int64_t pixelsBefore = game.pixelsPresented;
    Orditex::FrameCosts costs;
    int64_t objectsMade = 0;
    for (int i = 0; i < steps; ++i) {
        TestSupport::AdvanceFakeClock(20);
        game.frameCosts = &costs;
        int64_t objectsBefore = Orditex::gdiObjectsMade;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        game.Tick();
        QueryPerformanceCounter(&end);
        objectsMade += Orditex::gdiObjectsMade - objectsBefore;
        game.frameCosts = nullptr;
        samples.push_back(Seconds(start, end));
        if (i % 50 == 0) TestSupport::PumpQueued(TestSupport::Ticks::Drop);
    }
    game.ship = std::move(ship);
    Figures figures = Summarise(samples, game.pixelsPresented - pixelsBefore);
    double perStep = 1.0 / static_cast<double>(steps);
    figures.openCloseMs = TicksToMs(costs.openClose) * perStep;
    figures.copyMs = TicksToMs(costs.copy) * perStep;
    figures.drawMs = figures.meanMs - figures.openCloseMs - figures.copyMs;
    figures.objectsMade = static_cast<double>(objectsMade) * perStep;
    figures.markReads = static_cast<double>(costs.markReads) * perStep;
    return figures;
}

// The same scenes redrawn whole: rocks move as in play, then the background,
// every sprite and the full frame are drawn and copied each step.
Figures RunNaiveSteps(FormMeteorni& game, int32_t level, int steps) {
    std::unique_ptr<SpritePlayer> ship = BuildLevel(game, level);
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(steps));
    RECT client;
    GetClientRect(game.hwnd, &client);
    int64_t pixels = 0;
    for (int i = 0; i < steps; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (const auto& rock : game.rocks) {
            rock->y += rock->speed;
            if (rock->y > rock->bottomLimit) {
                rock->y = rock->startY;
                rock->x = Orditex::RandomInt(1, rock->xRange);
            }
        }
        game.BeginFrame(false);
        Orditex::Drawing& back = *game.backBuffer;
        back.DrawImageAtOrigin(game.backgroundImage);
        for (Orditex::GameElement* element : game.sprites) {
            auto* sprite = dynamic_cast<Orditex::Sprite*>(element);
            if (!sprite) continue;
            auto* diamond = dynamic_cast<SpriteDiamante*>(sprite);
            if (diamond && !diamond->onScreen) continue;
            back.DrawImagePartTransparent(sprite->image, sprite->x, sprite->y, sprite->width, sprite->height,
                                          (sprite->frame - 1) * sprite->height);
        }
        BitBlt(game.screen->dc, 0, 0, client.right, client.bottom, back.dc, 0, 0, SRCCOPY);
        pixels += static_cast<int64_t>(client.right) * client.bottom;
        game.EndFrame();
        QueryPerformanceCounter(&end);
        samples.push_back(Seconds(start, end));
        if (i % 50 == 0) TestSupport::PumpQueued(TestSupport::Ticks::Drop);
    }
    game.ship = std::move(ship);
    return Summarise(samples, pixels);
}

// What a copy from the back buffer to the window costs: a fixed part per
// copy and a part per pixel, from the median times of copies of several
// sizes. The game joins its rectangles, and copies the whole client area at
// once, where that is cheaper by these figures.
void MeasureWindowCopies(FormMeteorni& game) {
    const SIZE sizes[] = {{4, 4}, {45, 63}, {100, 100}, {200, 150}, {400, 300}, {800, 600}};
    std::vector<double> pixels, micros;
    std::printf("Copy to the window, us per copy:");
    game.BeginFrame(false);
    for (SIZE size : sizes) {
        const int copies = size.cx * size.cy > 100000 ? 50 : 500;
        std::vector<double> rounds;
        for (int round = 0; round < 5; ++round) {
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            for (int i = 0; i < copies; ++i)
                BitBlt(game.screen->dc, 0, 0, size.cx, size.cy, game.backBuffer->dc, 0, 0, SRCCOPY);
            QueryPerformanceCounter(&end);
            rounds.push_back(1e6 * Seconds(start, end) / copies);
        }
        std::sort(rounds.begin(), rounds.end());
        pixels.push_back(static_cast<double>(size.cx) * size.cy);
        micros.push_back(rounds[rounds.size() / 2]);
        std::printf(" %ldx%ld %.2f", size.cx, size.cy, micros.back());
    }
    game.EndFrame();
    // The smallest copy is all fixed cost; the whole client area tells the
    // cost per pixel.
    double perCopy = micros.front();
    double perPixel = (micros.back() - perCopy) / pixels.back();
    double client = pixels.back();
    std::printf(
        "\n  = %.2f us per copy + %.3f ns per pixel: one copy's own cost is worth %.0f pixels; ten copies"
        " cost as much as one of the client area once they cover %.0f%% of it\n",
        perCopy, 1000.0 * perPixel, perCopy / perPixel, 100.0 * (1.0 - 9.0 * perCopy / (perPixel * client)));
}

}  // namespace

int main(int argc, char** argv) {
    int steps = argc > 1 ? std::atoi(argv[1]) : 5000;
    SetSoundPlayer(Silence);
    SYSTEMTIME now;
    GetLocalTime(&now);
    TestSupport::UseFakeClock(now);
    TestSupport::TemporaryFolder appData(L"bench");
    Orditex::SetLocalAppDataOverride(appData.Path());

    auto* game = new FormMeteorni(GetModuleHandleW(nullptr), "Meteorni benchmark");
    game->Tick();
    SendMessageW(game->hwnd, WM_CHAR, 'G', 0);

    MeasureWindowCopies(*game);
    std::printf("Play step against a naive full redraw, %d steps per level (times in ms)\n", steps);
    std::printf("%-6s %8s %8s %10s | %8s %8s %10s | %10s %10s | %8s %8s %10s | %6s\n", "level", "mean", "p99", "pixels",
                "open+cls", "draw", "copy", "GDI objs", "mark reads", "naive", "naive", "pixels", "ratio");
    std::printf("%-6s %8s %8s %10s | %8s %8s %10s | %10s %10s | %8s %8s %10s |\n", "", "", "", "/step", "", "", "",
                "/step", "/step", "mean", "p99", "/step");
    for (int32_t level : {1, 10, 30, 60}) {
        Figures play = RunPlaySteps(*game, level, steps);
        Figures naive = RunNaiveSteps(*game, level, steps);
        std::printf("%-6d %8.4f %8.4f %10.0f | %8.4f %8.4f %10.4f | %10.2f %10.2f | %8.4f %8.4f %10.0f | %5.1fx\n",
                    level, play.meanMs, play.p99Ms, play.pixelsPerStep, play.openCloseMs, play.drawMs, play.copyMs,
                    play.objectsMade, play.markReads, naive.meanMs, naive.p99Ms, naive.pixelsPerStep,
                    naive.meanMs / play.meanMs);
        std::fflush(stdout);
    }
    delete game;
    return 0;
}
