#include "game/form_meteorni.h"

#include "scores/score_table.h"
#include "scores/text_format.h"

namespace Meteorni {

const char* const copyrightLine = "\xA9 2026 Orditex Giochi";

namespace {

constexpr int32_t iconResourceId = 1005;
constexpr int32_t nominalWidth = 800;
constexpr int32_t nominalHeight = 600;

}  // namespace

// Puts the game's icon on a form: as its small window icon (owned by the
// form) and as its class icon, which the task switcher shows.
void ApplyGameIcon(Orditex::Form& form) {
    form.iconResource = iconResourceId;
    if (!form.created) return;
    HICON small = static_cast<HICON>(LoadImageW(form.instance, MAKEINTRESOURCEW(iconResourceId), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (small) {
        HICON previous = form.icon;
        form.icon = small;
        SendMessageW(form.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
        if (previous) DestroyIcon(previous);
    }
    HICON large = LoadIconW(form.instance, MAKEINTRESOURCEW(iconResourceId));  // shared: never destroyed
    if (large) SetClassLongPtrW(form.hwnd, GCLP_HICON, reinterpret_cast<LONG_PTR>(large));
}

FormMeteorni::FormMeteorni(HINSTANCE instance, const std::string& title) : FormGames(instance, title) {
    ApplyGameIcon(*this);
    stepLeftUp = -2;
    stepRightDown = 2;
    BuildMenus();
    FitClientArea();
    // Called from the constructor: this class's own InitGame, named as such.
    FormMeteorni::InitGame();
}

FormMeteorni::~FormMeteorni() {
    // Everything the form owns is released here, in this order, by explicit
    // resets rather than by the members' reverse declaration order.
    // The name dialog goes first: if it is still open, closing it files the
    // result while everything it needs still exists.
    nameDialog.reset();

    ReleaseImages(imageCache);
    sprites.clear();
    DeleteLevelSprites();
    ship.reset();
    // Entries before their menus, the menus before the bar.
    itemHome.reset();
    menuHelp.reset();
    itemJoystick.reset();
    menuOptions.reset();
    itemExit.reset();
    menuFile.reset();
    menuBar.reset();
    ClearTimedActions();
}

void FormMeteorni::BuildMenus() {
    // Built one by one in this order: each element registers itself when it
    // is made, and an entry joins its menu (and the menu its bar) there.
    menuBar = std::make_unique<Orditex::MenuBar>(this);
    menuFile = std::make_unique<Orditex::Menu>("&File", menuBar.get());
    itemExit = std::make_unique<Orditex::SubMenu>(menuFile.get(), "&Esci");
    menuOptions = std::make_unique<Orditex::Menu>("&Opzioni", menuBar.get());
    itemJoystick = std::make_unique<Orditex::SubMenu>(menuOptions.get(), "&Abilita Joystick");
    itemJoystick->checkable = true;
    if (itemJoystick->created) itemJoystick->ApplyCheck();
    itemJoystick->checkState = joystickEnabled;
    if (itemJoystick->created) itemJoystick->ApplyCheck();
    menuHelp = std::make_unique<Orditex::Menu>("&?", menuBar.get());
    itemHome = std::make_unique<Orditex::SubMenu>(menuHelp.get(), "&Home");
    itemExit->onClick = Orditex::GameMenuClick;
    itemJoystick->onClick = Orditex::GameMenuClick;
    itemHome->onClick = Orditex::GameMenuClick;
    menuBar->Create();
}

void FormMeteorni::OnCommand(Orditex::GUIElement* item) {
    if (!item) return;
    if (item->id == itemExit->id) RequestClose();
    if (item->id == itemHome->id) Orditex::OpenUrl(HomePagePath());
    if (item->id == itemJoystick->id) {
        // The framework has already flipped the check mark; the menu is the
        // truth about whether it shows now.
        HMENU menu = itemJoystick->ParentMenu();
        if (itemJoystick->created && menu)
            itemJoystick->checkState = GetMenuState(menu, itemJoystick->id, MF_BYCOMMAND) == MF_CHECKED;
        joystickEnabled = itemJoystick->checkState;
    }
}

void FormMeteorni::InitGame() {
    BeginFrame(false);
    SetBackgroundImage(LoadCheckedImage(PicturePath("logo.bmp")));
    DrawTextAt(240, 160, copyrightLine, RGB(255, 255, 0));
    // The window surface is the place to measure; a minimized window may
    // have none, and then the back buffer answers for it.
    int32_t fontHeight = screen->GetFontHeight(font);
    if (fontHeight < 0) fontHeight = backBuffer->GetFontHeight(font);
    if (fontHeight >= 0) lineHeight = fontHeight;
    EndFrame();
    rankingLines = ScoreTable("Meteorni").Load();
    state = Title;
}

void FormMeteorni::TitleTick() {
    Orditex::TimeStamp now = Orditex::TimeStamp::Now();
    if (!blinked) {
        lastBlink = now;
        blinked = true;
    }
    if (lastBlink.MillisecondsUntil(now) <= 500) return;

    ++blinkCounter;
    promptColour = promptColour == RGB(255, 0, 0) ? RGB(255, 255, 255) : RGB(255, 0, 0);
    lastBlink = now;

    BeginFrame(false);
    if (!rankingLines.empty() && blinkCounter == 1) {
        if (tickerIndex >= static_cast<int32_t>(rankingLines.size())) tickerIndex = 0;
        FillArea(0, 0, PlayArea().cx, 20, RGB(255, 255, 255));
        DrawTextAt(0, 0, TickerText(tickerIndex), RGB(0, 0, 0));
        ++tickerIndex;
        if (tickerIndex >= static_cast<int32_t>(rankingLines.size())) tickerIndex = 0;
    }
    if (blinkCounter > 4) blinkCounter = 0;
    FillArea(480, 570, 320, 20, RGB(0, 0, 255));
    DrawTextAt(480, 570, "Premi il tasto [G] per giocare", promptColour);
    EndFrame();
}

std::string FormMeteorni::TickerLabel(int32_t index) const {
    return "Classifica: " + PadLeft(std::to_string(index + 1), ' ', 2) + "\xB0" + " Score ";
}

std::string FormMeteorni::TickerLine(int32_t index) const {
    return TickerLabel(index) + rankingLines.at(index);
}

std::wstring FormMeteorni::TickerText(int32_t index) const {
    // The label is the program's own text; the stored line holds a name typed
    // in the system code page and is shown through it.
    return Orditex::ToWide(TickerLabel(index)) + Orditex::FromCodePage(rankingLines.at(index));
}

void FormMeteorni::DrawHud() {
    int32_t stripWidth = PlayArea().cx;
    const COLORREF white = RGB(255, 255, 255);
    FillArea(0, 0, stripWidth, lineHeight + 4, RGB(0, 0, 0));
    DrawTextAt(2, 2, "Score: " + ZeroPad(score, 6), white);
    DrawTextBox(stripWidth - 4, lineHeight + 4, "Lives: " + std::to_string(lives), white, Orditex::AlignCenter);
    DrawTextBox(stripWidth - 4, lineHeight + 4, "Level: " + std::to_string(level), white, Orditex::AlignRight);
}

HBITMAP FormMeteorni::LoadCheckedImage(const std::string& path) {
    bool rejected = false;
    HBITMAP bitmap = LoadVerifiedImage(imageCache, path, &rejected);
    if (rejected) RequestClose();
    return bitmap;
}

void FormMeteorni::SetLevelBackground(int32_t number) {
    SetBackgroundImage(LoadCheckedImage(LevelBackgroundPath(number)));
}

SIZE FormMeteorni::PlayArea() {
    RECT client{0, 0, 0, 0};
    if (hwnd) GetClientRect(hwnd, &client);
    if (client.right < nominalWidth || client.bottom < nominalHeight) return SIZE{nominalWidth, nominalHeight};
    return SIZE{client.right, client.bottom};
}

std::wstring HomePagePath() {
    wchar_t module[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return L"home.html";
    return HomePageBeside(std::wstring(module, length));
}

std::wstring HomePageBeside(const std::wstring& programPath) {
    std::wstring page = programPath.substr(0, programPath.find_last_of(L"\\/") + 1) + L"..\\home.html";
    wchar_t full[MAX_PATH] = {};
    DWORD fullLength = GetFullPathNameW(page.c_str(), MAX_PATH, full, nullptr);
    if (fullLength > 0 && fullLength < MAX_PATH) page = full;
    return page;
}

}  // namespace Meteorni
