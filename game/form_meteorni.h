// The game window and the game itself: menus, title screen, score strip,
// the rules of play and the building of each level.
#pragma once

#include "framework/game_form.h"
#include "framework/menu.h"
#include "framework/name_dialog.h"
#include "framework/shell.h"
#include "game/game_sprites.h"
#include "game/image_files.h"
#include "game/sprite_info.h"

#include <memory>
#include <string>
#include <vector>

namespace Meteorni {

enum GameState : int32_t {
    Building = 0,    // a level is being built
    Title = 1,       // title screen, waiting for "G"
    Playing = 2,     // play runs
    Paused = 3,      // nothing moves: paused, or a level or a life is ending
    Interlude = 4,   // a picture between levels or after a lost life
    NameEntry = 5,   // the name dialog is open after the last life
    ScoreSaved = 6,  // the result was stored; any character returns to the title
};

// The line that follows the game's name in the window caption and that the
// title screen writes under the logo.
extern const char* const copyrightLine;

// NOLINTNEXTLINE(cppcoreguidelines-special-member-functions): GUIElement deletes the copies
class FormMeteorni : public Orditex::FormGames {
public:
    FormMeteorni(HINSTANCE instance, const std::string& title);
    ~FormMeteorni() override;

    std::vector<std::unique_ptr<SpriteMeteorni>> rocks;
    std::vector<std::unique_ptr<SpriteDiamante>> diamonds;
    int32_t stepLeftUp = -2;
    int32_t stepRightDown = 2;
    std::unique_ptr<SpritePlayer> ship;
    std::vector<std::unique_ptr<SpriteAnimazione>> animations;
    std::vector<std::unique_ptr<MovementMeteorne>> movers;
    ImageCache imageCache;
    std::vector<std::string> rankingLines;
    int32_t tickerIndex = 0;
    int32_t lineHeight = 0;
    std::unique_ptr<Orditex::MenuBar> menuBar;
    std::unique_ptr<Orditex::Menu> menuFile;
    std::unique_ptr<Orditex::SubMenu> itemExit;
    std::unique_ptr<Orditex::Menu> menuOptions;
    std::unique_ptr<Orditex::SubMenu> itemJoystick;
    bool joystickEnabled = false;
    std::unique_ptr<Orditex::Menu> menuHelp;
    std::unique_ptr<Orditex::SubMenu> itemHome;
    int32_t state = Building;
    SpriteInfo shipInfo;
    SpriteInfo diamondInfo;
    SpriteInfo rockInfoA;
    SpriteInfo rockInfoB;
    std::unique_ptr<Orditex::FormNamePlayer> nameDialog;

    // Hooks of the game-form base.
    void InitGame() override;
    void ResetGame() override;
    void Tick() override;
    bool OnChar(int32_t code) override;
    void OnCommand(Orditex::GUIElement* item) override;

    // Title screen and score strip.
    void TitleTick();
    // The ticker's text for a line of the high-score table: its label
    // ("Classifica:  1\xB0 Score ") and the stored line as it is on disk, and
    // as the ticker shows it.
    std::string TickerLabel(int32_t index) const;
    std::string TickerLine(int32_t index) const;
    std::wstring TickerText(int32_t index) const;
    void DrawHud();

    // Pictures: every picture of the game comes through the cached,
    // checksum-tested loader; a rejected picture closes the game.
    HBITMAP LoadCheckedImage(const std::string& path);
    void SetLevelBackground(int32_t number);

    // Rules of play.
    void MoveShip();
    bool CollectDiamonds();
    void LevelComplete();
    void LoseLife();
    void SaveScore();

    // Level set-up.
    void PrepareKinds();
    // The rock joins rocks and is returned borrowed; the diamond is handed over.
    SpriteMeteorni* AddRock(const SpriteInfo& info);
    std::unique_ptr<SpriteDiamante> AddDiamond();
    void StartAnimation(Orditex::Sprite* sprite, const SpriteInfo& info);
    void ClearTimedActions();

    // The play area: the client area, or the nominal 800 x 600 when the window
    // is minimized or otherwise smaller than that.
    SIZE PlayArea();

private:
    void BuildMenus();
    void PlayStep(int64_t elapsed);
    void InterludeWait();
    void OpenNameDialog();
    void DeleteLevelSprites();

    // Tick bookkeeping.
    Orditex::TimeStamp previousTick;
    bool ticked = false;
    Orditex::TimeStamp wakeUp;
    bool busy = false;

    // Title-screen animation.
    Orditex::TimeStamp lastBlink;
    bool blinked = false;
    int32_t blinkCounter = 0;
    COLORREF promptColour = RGB(255, 0, 0);
};

// The game's home page: home.html one level above the exe's own folder, as
// a wide path, so that a program under any folder name finds it.
std::wstring HomePagePath();
std::wstring HomePageBeside(const std::wstring& programPath);

// Gives a form of the game the game's icon (resource 1005).
void ApplyGameIcon(Orditex::Form& form);

}  // namespace Meteorni
