#include "game_fixture.h"

#include <cstdio>

namespace GameTest {

namespace {

std::vector<int32_t> soundsPlayed;

void RecordSound(int32_t id) {
    soundsPlayed.push_back(id);
}

}  // namespace

std::vector<int32_t>& SoundsPlayed() {
    return soundsPlayed;
}

std::string ScoreFilePath(const std::string& folder) {
    return folder + "\\Meteorni\\Score\\Classifica.txt";
}

std::vector<uint32_t> Pixels(HDC source, const RECT& region) {
    int32_t width = region.right - region.left;
    int32_t height = region.bottom - region.top;
    uint32_t* bits = nullptr;
    HBITMAP copy = TestSupport::NewDib(width, height, &bits);
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, source, region.left, region.top, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(bits, bits + static_cast<size_t>(width) * height);
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(copy);
    return pixels;
}

std::vector<uint32_t> PicturePixels(HBITMAP picture, const RECT& region) {
    // Read from the bitmap itself, not through a DC: the game keeps its
    // pictures selected in DCs of their own, and a bitmap can be selected in
    // one DC only. Pixels outside the picture read as 0.
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    BITMAPINFO info = TestSupport::TopDown32(size.bmWidth, size.bmHeight);
    std::vector<uint32_t> whole(static_cast<size_t>(size.bmWidth) * size.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, picture, 0, size.bmHeight, whole.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    std::vector<uint32_t> pixels;
    for (int32_t y = region.top; y < region.bottom; ++y)
        for (int32_t x = region.left; x < region.right; ++x) {
            bool inside = x >= 0 && y >= 0 && x < size.bmWidth && y < size.bmHeight;
            pixels.push_back(inside ? whole[static_cast<size_t>(y) * size.bmWidth + x] & 0xFFFFFF : 0);
        }
    return pixels;
}

std::string DamagedPictureCopy(const TestSupport::TemporaryFolder& folder, const std::string& damaged) {
    std::string root = folder.NarrowPath();
    std::string pictures = root + "\\images_games\\";
    CreateDirectoryA(pictures.c_str(), nullptr);
    CreateDirectoryA((root + "\\bin").c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("..\\images_games\\*.bmp", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            CopyFileA(("..\\images_games\\" + name).c_str(), (pictures + name).c_str(), FALSE);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::string bytes = ReadBytes(pictures + damaged);
    if (bytes.size() > 200) {
        bytes[200] = static_cast<char>(~bytes[200]);  // changes the checksum whatever the byte was
        WriteBytes(pictures + damaged, bytes);
    }
    return root + "\\bin";
}

void GameTestBase::SetUp() {
    TestSupport::UseFakeClock(TestSupport::Moment(2026, 12, 7, 21, 0, 0, 0));
    Orditex::SeedRandom(20261207);
    soundsPlayed.clear();
    Meteorni::SetSoundPlayer(RecordSound);
    TestSupport::CaptureErrorBoxes();
    TestSupport::UseFakeJoystick();
    Orditex::playerName.clear();
    appDataFolder.emplace(L"game");
    appData = appDataFolder->NarrowPath();
    Orditex::SetLocalAppDataOverride(Orditex::ToWide(appData));
    game = new Meteorni::FormMeteorni(GetModuleHandleW(nullptr), "Meteorni test");
    Pump();
}

void GameTestBase::TearDown() {
    delete game;
    game = nullptr;
    Pump();
    TestSupport::StopFakeClock();
    Meteorni::SetSoundPlayer(nullptr);
    TestSupport::StopCapturingErrorBoxes();
    TestSupport::StopFakeJoystick();
    Orditex::SetLocalAppDataOverride(L"");
    appDataFolder.reset();
}

void GameTestBase::TickAfter(int64_t milliseconds) {
    TestSupport::AdvanceFakeClock(milliseconds);
    game->Tick();
}

void GameTestBase::Type(char code) {
    SendMessageW(game->hwnd, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(code)), 0);
}

void GameTestBase::KeyDown(int32_t key) {
    SendMessageW(game->hwnd, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
}

void GameTestBase::KeyUp(int32_t key) {
    SendMessageW(game->hwnd, WM_KEYUP, static_cast<WPARAM>(key), 0);
}

void GameTestBase::StartGame() {
    game->Tick();  // the first tick only starts the clock
    Type('G');
    ASSERT_EQ(game->state, Meteorni::Playing);
}

void GameTestBase::StepRock(size_t index) {
    game->BeginFrame(false);
    game->movers.at(index)->Clone()->Step();
    game->EndFrame();
}

void GameTestBase::StepShip(int32_t key) {
    // Keep the rocks out of the way: only the ship acts in this tick.
    for (const auto& mover : game->movers) mover->elapsed = -1000000;
    for (const auto& animation : game->animations) animation->elapsed = -1000000;
    KeyDown(key);
    TickAfter(20);
    KeyUp(key);
}

void GameTestBase::Place(Orditex::Sprite& sprite, int32_t x, int32_t y) {
    sprite.x = x;
    sprite.y = y;
    game->BeginFrame(false);
    game->PresentSprite(sprite);
    game->EndFrame();
}

void GameTestBase::AimRockAtShip(size_t index) {
    Meteorni::SpriteMeteorni* rock = game->rocks.at(index).get();
    rock->x = game->ship->x;
    int32_t target = game->ship->y < rock->bottomLimit ? game->ship->y : rock->bottomLimit;
    rock->y = target - rock->speed;
}

void GameTestBase::LoseAllLives() {
    for (int life = 0; life < 3; ++life) {
        if (game->state == Meteorni::Interlude) {
            TickAfter(20);
            TickAfter(1600);
        }
        ASSERT_EQ(game->state, Meteorni::Playing);
        AimRockAtShip(0);
        StepRock(0);
    }
}

void GameTestBase::ReachNameEntry() {
    StartGame();
    LoseAllLives();
    ASSERT_EQ(game->state, Meteorni::NameEntry);
}

void GameTestBase::TypeInBox(const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(game->nameDialog->nameBox->hwnd, WM_CHAR, c, 0);
}

void GameTestBase::ConfirmName() {
    SendMessageW(game->nameDialog->nameBox->hwnd, WM_CHAR, VK_RETURN, 0);
    Pump();
}

HBITMAP GameTestBase::Picture(const std::string& file) {
    return game->LoadCheckedImage("..\\images_games\\" + file);
}

void GameTestBase::ExpectShown(ExpectedPicture& expected, const RECT& region, const std::string& what) {
    std::vector<uint32_t> wanted = Pixels(expected.dc, region);
    HDC window = GetDC(game->hwnd);
    for (HDC shown : {game->backBuffer->dc, window}) {
        std::vector<uint32_t> pixels = Pixels(shown, region);
        int32_t differing = 0;
        for (size_t i = 0; i < pixels.size(); ++i) {
            bool cornerMark = region.top == 0 && region.left + static_cast<int32_t>(i) < 3;
            if (!cornerMark && pixels[i] != wanted[i]) ++differing;
        }
        EXPECT_EQ(differing, 0) << what << (shown == window ? " in the window" : " on the back buffer");
    }
    ReleaseDC(game->hwnd, window);
}

}  // namespace GameTest
