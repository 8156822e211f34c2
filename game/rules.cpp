// The rules of play: what each tick does in each state, the keys, the ship's
// moves, diamonds, lost lives, the end of a level and of a game.
#include "framework/joystick.h"
#include "game/form_meteorni.h"
#include "game/sound.h"
#include "scores/score_table.h"
#include "scores/text_format.h"

namespace Meteorni {

namespace {

constexpr int32_t shipFrameSize = 50;
constexpr int32_t shipTopLimit = 20;
// Longer gaps than this (a clock that jumped ahead) are credited as this much.
constexpr int64_t longestCreditedGap = 1000000000;

bool IsSentinel(const Orditex::TimeStamp& moment) {
    return moment.Time().wYear == 1900;
}

// The name dialog's window is gone, however it was closed: file the result.
void OnNameDialogDestroyed(Orditex::GUIElement* element) {
    auto* dialog = static_cast<Orditex::FormNamePlayer*>(element);
    if (auto* game = dynamic_cast<FormMeteorni*>(dialog->owner)) game->SaveScore();
}

}  // namespace

void FormMeteorni::Tick() {
    Orditex::TimeStamp now = Orditex::TimeStamp::Now();
    if (!ticked) {
        previousTick = now;
        ticked = true;
    }
    int64_t elapsed = previousTick.MillisecondsUntil(now);
    if (busy) return;
    if (elapsed < 0) {
        // The wall clock was set back (end of daylight saving time, a manual
        // change). Count no time for this tick, start counting again from the
        // new clock, and carry a pending interlude wake-up back by the same
        // step so the picture still stays only 1.5 s.
        previousTick = now;
        if (!IsSentinel(wakeUp)) wakeUp = wakeUp.PlusMilliseconds(elapsed);
        return;
    }
    if (elapsed == 0) return;

    busy = true;
    if (state == Title)
        TitleTick();
    else if (state == Playing)
        PlayStep(elapsed);
    else if (state == Interlude)
        InterludeWait();
    previousTick = now;
    busy = false;
}

void FormMeteorni::PlayStep(int64_t elapsed) {
    const int32_t credit = static_cast<int32_t>(elapsed < longestCreditedGap ? elapsed : longestCreditedGap);
    BeginFrame(false);

    // The actions run on copies: a step can end the level or the life, which
    // deletes every stored action.
    std::vector<std::unique_ptr<Orditex::SpriteAnim>> copies;
    copies.reserve(animations.size() + movers.size());
    auto advance = [&](Orditex::SpriteAnim& action) {
        copies.push_back(action.Clone());
        action.elapsed += credit;
        if (action.elapsed >= action.interval) action.elapsed = 0;
    };
    for (const auto& animation : animations) advance(*animation);
    for (const auto& mover : movers) advance(*mover);

    for (std::unique_ptr<Orditex::SpriteAnim>& copy : copies) {
        if (state == Playing) {
            copy->elapsed += credit;
            if (copy->elapsed >= copy->interval) copy->Step();
        }
        copy.reset();
    }

    if (state == Playing) MoveShip();
    EndFrame();
}

void FormMeteorni::InterludeWait() {
    Orditex::TimeStamp now = Orditex::TimeStamp::Now();
    if (IsSentinel(wakeUp)) {
        wakeUp = now.PlusInterlude();
    } else if (now.CompareTo(wakeUp) == 1) {
        wakeUp = Orditex::TimeStamp();
        ResetGame();
    }
}

bool FormMeteorni::OnChar(int32_t code) {
    switch (state) {
        case Title:
            if (code == 'G' || code == 'g') {
                PrepareKinds();
                level = 1;
                score = 0;
                lives = 3;
                sprites.clear();
                ResetGame();
            }
            break;
        case Playing:
            if (code == 'P' || code == 'p') {
                state = Paused;
            } else if (code == 'N' || code == 'n') {
                // Outside a tick no frame is open; open one so that the
                // level-complete picture reaches the window too.
                BeginFrame(false);
                LevelComplete();
            }
            break;
        case Paused:
            if (code == 'P' || code == 'p') state = Playing;
            break;
        case ScoreSaved:
            InitGame();
            break;
        default:
            break;
    }
    return true;
}

void FormMeteorni::MoveShip() {
    if (!ship) return;
    Orditex::JoystickState joystick;
    if (joystickEnabled) Orditex::OpenJoystick(joystick);

    struct Direction {
        int32_t key;
        int32_t dx;
        int32_t dy;
    };
    const Direction directions[] = {
        {VK_LEFT, stepLeftUp, 0}, {VK_UP, 0, stepLeftUp}, {VK_RIGHT, stepRightDown, 0}, {VK_DOWN, 0, stepRightDown}};

    for (const Direction& direction : directions) {
        bool active = keys[direction.key] != 0;
        if (!active && joystick.ready && Orditex::PollJoystick(joystick, joystick.deviceId)) {
            int32_t jx = static_cast<int32_t>(joystick.position.wXpos);
            int32_t jy = static_cast<int32_t>(joystick.position.wYpos);
            active = (direction.dx < 0 && jx < 0) || (direction.dx > 0 && jx > 0) || (direction.dy < 0 && jy < 0) ||
                     (direction.dy > 0 && jy > 0);
        }
        if (!active) continue;

        int32_t newX = ship->x + direction.dx;
        int32_t newY = ship->y + direction.dy;
        if (direction.dx != 0 && (newX < 0 || newX > shipInfo.areaWidth - shipFrameSize)) continue;
        if (direction.dy != 0 && (newY < shipTopLimit || newY > shipInfo.areaHeight - shipFrameSize)) continue;

        ship->x = newX;
        ship->y = newY;
        PresentSprite(*ship);
        if (!CollectDiamonds()) {
            LevelComplete();
            return;
        }
    }
}

bool FormMeteorni::CollectDiamonds() {
    bool any = false;
    for (const auto& diamond : diamonds) {
        if (!diamond->onScreen) continue;
        any = true;
        if (ship->Overlaps(*diamond, 10, 2)) {
            PresentErase(*diamond);
            PlayGameSound(soundDiamond);
            score += 50;
            DrawHud();
            diamond->onScreen = false;
        }
    }
    return any;
}

void FormMeteorni::LevelComplete() {
    state = Paused;
    sprites.clear();
    ClearTimedActions();
    level += 1;
    SetBackgroundImage(LoadCheckedImage(PicturePath("livello.bmp")));
    EndFrame();
    state = Interlude;
}

void FormMeteorni::LoseLife() {
    state = Paused;
    sprites.clear();
    ClearTimedActions();
    lives -= 1;
    PlayGameSound(soundCrash);
    if (lives < 1) {
        SetBackgroundImage(LoadCheckedImage(PicturePath("gameover.bmp")));
        // A refused picture has already closed the game: nobody is left to
        // type a name, and the dialog would file the result with a blank one.
        if (created) {
            OpenNameDialog();
            state = NameEntry;
        }
    } else {
        SetBackgroundImage(LoadCheckedImage(PicturePath("replay.bmp")));
        state = Interlude;
    }
    EndFrame();
}

void FormMeteorni::OpenNameDialog() {
    // The old dialog goes before the new one is made: the new one's window
    // takes its first messages as the newest element.
    nameDialog.reset();
    nameDialog = std::make_unique<Orditex::FormNamePlayer>(this, instance, "Classifica");
    nameDialog->onDestroy = OnNameDialogDestroyed;
    ApplyGameIcon(*nameDialog);
    nameDialog->SetPrompt("Inserisci il tuo nome:");

    // Centre it on the game window.
    POINT gameCorner = GetPosition();
    RECT gameRect{0, 0, width, height};
    if (hwnd) GetWindowRect(hwnd, &gameRect);
    RECT dialogRect{0, 0, nameDialog->width, nameDialog->height};
    if (nameDialog->hwnd) GetWindowRect(nameDialog->hwnd, &dialogRect);
    int32_t gameWidth = gameRect.right - gameRect.left;
    int32_t gameHeight = gameRect.bottom - gameRect.top;
    int32_t dialogWidth = dialogRect.right - dialogRect.left;
    int32_t dialogHeight = dialogRect.bottom - dialogRect.top;
    nameDialog->x = gameCorner.x + (gameWidth - dialogWidth) / 2;
    nameDialog->y = gameCorner.y + (gameHeight - dialogHeight) / 2;
    if (nameDialog->hwnd) {
        SetWindowPos(nameDialog->hwnd, nullptr, nameDialog->x, nameDialog->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        nameDialog->Redraw();
    }

    if (!nameDialog->hwnd) nameDialog->Create();
    ShowWindow(nameDialog->hwnd, SW_SHOWNA);
    nameDialog->visible = true;
    // The name is typed at once, without a click into the box first.
    if (nameDialog->nameBox) nameDialog->nameBox->Focus();
}

void FormMeteorni::SaveScore() {
    // Only the dialog of a game that just ended files a result, and only once.
    if (state != NameEntry) return;
    std::string line = PadRight(Orditex::playerName, ' ', 12) + " Level " + std::to_string(level);
    ScoreTable("Meteorni").Add(score, line);
    state = ScoreSaved;
}

}  // namespace Meteorni
