// The rules of play as a player meets them, driven through the real window's
// messages and ticks of an injected clock.
#include "game_fixture.h"

#include "framework/name_dialog.h"

using namespace GameTest;
using namespace Meteorni;
using TestSupport::FakeJoystick;

namespace {

class Play : public GameTestBase {
protected:
    // Takes every diamond but one, by moving them under the ship's path.
    void TakeDiamondsExceptLast() {
        for (size_t i = 0; i + 1 < game->diamonds.size(); ++i) game->diamonds[i]->onScreen = false;
    }
    // Puts the last diamond just left of the ship, so the next left step takes it.
    void PlaceLastDiamondBesideShip() {
        SpriteDiamante* last = game->diamonds.back().get();
        last->x = game->ship->x - 20;
        last->y = game->ship->y + 9;
    }
};

}  // namespace

// The counters it starts with are read on screen by the score strip test.
TEST_F(Play, GOrLowerCaseGStartsLevelOneWithTheShipAtTheBottomCentre) {
    game->Tick();
    for (char c : std::string("PpNnx\x1b")) Type(c);
    EXPECT_EQ(game->state, Title) << "other characters do nothing on the title";
    Type('g');  // 'G' starts every other test
    ASSERT_EQ(game->state, Playing);
    EXPECT_EQ(game->ship->x, 375);
    EXPECT_EQ(game->ship->y, 550);
    EXPECT_EQ(game->diamonds.size(), 10u);
    EXPECT_EQ(game->backgroundImage, Picture("sanmartino2.bmp"));
}

TEST_F(Play, ADueActionRunsOnceAndDropsTheTimeBeyondItsInterval) {
    StartGame();
    for (const auto& animation : game->animations) animation->elapsed = -1000000;
    for (const auto& mover : game->movers) mover->elapsed = -1000000;
    SpriteMeteorni* rock = game->rocks[0].get();
    rock->x = 700;
    rock->y = 100;
    rock->speed = 5;
    game->movers[0]->interval = 50;
    game->movers[0]->elapsed = 0;
    TickAfter(200);  // four intervals' worth of time: one step
    EXPECT_EQ(rock->y, 105);
    TickAfter(49);  // counting starts again from 0, not from 150
    EXPECT_EQ(rock->y, 105);
    TickAfter(1);
    EXPECT_EQ(rock->y, 110);
}

TEST_F(Play, TwoRocksHittingTheShipInOneStepCostOneLife) {
    StartGame();
    for (const auto& animation : game->animations) animation->elapsed = -1000000;
    for (const auto& mover : game->movers) mover->elapsed = -1000000;
    for (size_t rock : {0u, 1u}) {
        AimRockAtShip(rock);
        game->movers[rock]->elapsed = game->movers[rock]->interval;
    }
    KeyDown(VK_LEFT);
    TickAfter(20);
    EXPECT_EQ(game->state, Interlude);
    EXPECT_EQ(game->lives, 2);
    EXPECT_EQ(SoundsPlayed(), std::vector<int32_t>{soundCrash});
    EXPECT_EQ(game->ship->x, 375);  // the ship does not move after the hit
}

TEST_F(Play, OnlyTheInterludeStateWaitsAndBuildsTheLevel) {
    StartGame();
    auto waitTwoSeconds = [&] {
        TickAfter(20);
        TickAfter(2000);
    };
    Type('P');
    waitTwoSeconds();
    EXPECT_EQ(game->state, Paused);
    Type('P');
    LoseAllLives();
    waitTwoSeconds();
    ASSERT_EQ(game->state, NameEntry);
    SendMessageW(game->nameDialog->hwnd, WM_CLOSE, 0, 0);
    Pump();
    waitTwoSeconds();
    EXPECT_EQ(game->state, ScoreSaved);
    EXPECT_EQ(game->backgroundImage, Picture("gameover.bmp"));
    game->state = Building;
    waitTwoSeconds();
    EXPECT_EQ(game->state, Building);
}

TEST_F(Play, PauseForTenSecondsAndResumeWithoutAJump) {
    StartGame();
    TickAfter(20);
    for (const auto& mover : game->movers) mover->elapsed = 0;  // each rock's next step is 54 ms or more away
    auto heights = [&] {
        std::vector<int32_t> y;
        for (const auto& rock : game->rocks) y.push_back(rock->y);
        return y;
    };
    std::vector<int32_t> before = heights();
    Type('P');
    for (int i = 0; i < 500; ++i) TickAfter(20);  // ten seconds of clock
    Type('p');
    ASSERT_EQ(game->state, Playing);
    TickAfter(20);  // the pause is not credited: no rock is due yet
    EXPECT_EQ(heights(), before);
}

TEST_F(Play, TheShipStandsOnOddColumnsAndEvenRowsInsideTheArea) {
    StartGame();
    for (int i = 0; i < 400; ++i) StepShip(VK_LEFT);
    EXPECT_EQ(game->ship->x, 1);
    for (int i = 0; i < 400; ++i) StepShip(VK_RIGHT);
    EXPECT_EQ(game->ship->x, 749);
    for (int i = 0; i < 300; ++i) StepShip(VK_UP);
    EXPECT_EQ(game->ship->y, 20);
    for (int i = 0; i < 300; ++i) StepShip(VK_DOWN);
    EXPECT_EQ(game->ship->y, 550);
}

TEST_F(Play, OnlyTheLastKeyDownCounts) {
    StartGame();
    for (const auto& mover : game->movers) mover->elapsed = -1000000;
    KeyDown(VK_LEFT);
    KeyDown(VK_UP);
    TickAfter(20);
    EXPECT_EQ(game->ship->x, 375);
    EXPECT_EQ(game->ship->y, 548);
    KeyUp(VK_UP);
    TickAfter(20);  // Left is still held, but no longer marked
    EXPECT_EQ(game->ship->x, 375);
    EXPECT_EQ(game->ship->y, 548);
}

TEST_F(Play, ADiamondIsTakenWhenTheBoxesShareAPixelAndIsWorthFiftyPoints) {
    StartGame();
    Place(*game->ship, 375, 300);  // room on every side
    SpriteDiamante* diamond = game->diamonds.back().get();
    for (const auto& other : game->diamonds) other->onScreen = other.get() == diamond;
    // The ship's box is inset by 2, the diamond's by 10: from where the ship
    // stands after the step, a diamond at the first offset touches it on the
    // side the ship moves to, at the second it shares one column or row.
    struct Approach {
        int32_t key, dx, dy, touchX, touchY, overlapX, overlapY;
    };
    const Approach approaches[] = {{VK_LEFT, -2, 0, -20, 9, -19, 9},
                                   {VK_RIGHT, 2, 0, 38, 9, 37, 9},
                                   {VK_UP, 0, -2, 9, -20, 9, -19},
                                   {VK_DOWN, 0, 2, 9, 38, 9, 37}};
    for (const Approach& a : approaches) {
        for (bool overlap : {false, true}) {
            diamond->onScreen = true;
            Place(*diamond, game->ship->x + a.dx + (overlap ? a.overlapX : a.touchX),
                  game->ship->y + a.dy + (overlap ? a.overlapY : a.touchY));
            StepShip(a.key);
            EXPECT_EQ(diamond->onScreen, !overlap) << "key " << a.key << (overlap ? " overlapping" : " touching");
        }
    }
    EXPECT_EQ(game->score, 200);
    EXPECT_EQ(SoundsPlayed(), std::vector<int32_t>(4, soundDiamond));
}

TEST_F(Play, TheTenthDiamondEndsTheLevelOnlyOnTheNextAcceptedStep) {
    StartGame();
    TakeDiamondsExceptLast();
    PlaceLastDiamondBesideShip();
    StepShip(VK_LEFT);  // takes the tenth
    EXPECT_EQ(game->score, 50);
    EXPECT_EQ(game->state, Playing);

    // Not moving: the level goes on, rocks keep falling and can still hit.
    int32_t rockY = game->rocks[0]->y;
    game->movers[0]->elapsed = 0;
    TickAfter(200);
    EXPECT_EQ(game->state, Playing);
    EXPECT_NE(game->rocks[0]->y, rockY);

    // A refused step (into the bottom edge) does not end it either.
    StepShip(VK_DOWN);
    EXPECT_EQ(game->state, Playing);

    StepShip(VK_LEFT);
    EXPECT_EQ(game->state, Interlude);
    EXPECT_EQ(game->level, 2);
    EXPECT_EQ(game->score, 50);
    EXPECT_EQ(game->backgroundImage, Picture("livello.bmp"));

    TickAfter(20);    // sets the wake-up time
    TickAfter(1400);  // still the picture
    EXPECT_EQ(game->state, Interlude);
    TickAfter(200);
    EXPECT_EQ(game->state, Playing);
    EXPECT_EQ(game->level, 2);
    EXPECT_EQ(game->score, 50);
    EXPECT_EQ(game->backgroundImage, Picture("cattedrale.bmp"));
    EXPECT_EQ(game->diamonds.size(), 10u);
}

TEST_F(Play, NSkipsTheLevelWithoutPointsButNotWhilePaused) {
    StartGame();
    Type('P');
    Type('N');
    EXPECT_EQ(game->state, Paused);
    EXPECT_EQ(game->level, 1);
    Type('P');
    Type('n');
    EXPECT_EQ(game->state, Interlude);
    EXPECT_EQ(game->level, 2);
    EXPECT_EQ(game->score, 0);
    EXPECT_TRUE(game->movers.empty());
    EXPECT_TRUE(game->sprites.empty());
    // The picture reached the back buffer and the snapshot the window is
    // repainted from.
    EXPECT_EQ(game->backgroundImage, Picture("livello.bmp"));
}

TEST_F(Play, DiagonalJoystickOnTheEndingStepRaisesTheLevelByOne) {
    StartGame();
    game->joystickEnabled = true;
    FakeJoystick().answers[0] = true;
    FakeJoystick().raw.wXpos = 0;
    FakeJoystick().raw.wYpos = 0;  // up and left
    for (const auto& diamond : game->diamonds) diamond->onScreen = false;
    for (const auto& mover : game->movers) mover->elapsed = -1000000;
    TickAfter(20);
    EXPECT_EQ(game->state, Interlude);
    EXPECT_EQ(game->level, 2);
}

TEST_F(Play, JoystickMovesDiagonallyAndCentredMovesNothing) {
    StartGame();
    game->joystickEnabled = true;
    FakeJoystick().answers[0] = true;
    for (const auto& mover : game->movers) mover->elapsed = -1000000;
    FakeJoystick().raw.wXpos = 65535;
    FakeJoystick().raw.wYpos = 0;
    TickAfter(20);
    EXPECT_EQ(game->ship->x, 377);
    EXPECT_EQ(game->ship->y, 548);
    FakeJoystick().raw.wXpos = 32768;
    FakeJoystick().raw.wYpos = 32767;
    TickAfter(20);
    EXPECT_EQ(game->ship->x, 377);
    EXPECT_EQ(game->ship->y, 548);
    // Disabled in the menu: the controller is not read.
    game->joystickEnabled = false;
    FakeJoystick().raw.wXpos = 0;
    TickAfter(20);
    EXPECT_EQ(game->ship->x, 377);
}

TEST_F(Play, ARockHitCostsALifeAndRebuildsTheSameLevel) {
    StartGame();
    Type('N');
    TickAfter(20);
    TickAfter(1600);
    ASSERT_EQ(game->level, 2);
    PlaceLastDiamondBesideShip();
    StepShip(VK_LEFT);
    ASSERT_EQ(game->score, 50);

    AimRockAtShip(0);
    StepRock(0);
    EXPECT_EQ(game->state, Interlude);
    EXPECT_EQ(game->lives, 2);
    EXPECT_EQ(SoundsPlayed().back(), soundCrash);
    EXPECT_EQ(game->backgroundImage, Picture("replay.bmp"));
    EXPECT_TRUE(game->movers.empty());

    TickAfter(20);
    TickAfter(1600);
    EXPECT_EQ(game->state, Playing);
    EXPECT_EQ(game->level, 2);
    EXPECT_EQ(game->score, 50);
    EXPECT_EQ(game->diamonds.size(), 10u);
    for (const auto& diamond : game->diamonds) EXPECT_TRUE(diamond->onScreen);
    EXPECT_EQ(game->backgroundImage, Picture("cattedrale.bmp"));
}

TEST_F(Play, ARockHitsOnlyOnItsOwnStepWithMoreThanTwentyPixelsOfOverlap) {
    StartGame();
    SpriteMeteorni* rock = game->rocks[0].get();
    for (const auto& mover : game->movers) mover->elapsed = -1000000;
    rock->speed = 0;
    rock->y = 530;
    // Horizontally: the rock's right edge 20 pixels into the ship.
    rock->x = game->ship->x - rock->width + 20;
    StepRock(0);
    EXPECT_EQ(game->state, Playing);
    // The ship moving further into the rock is not caught by its own step.
    StepShip(VK_LEFT);
    EXPECT_EQ(game->state, Playing);
    StepShip(VK_RIGHT);
    rock->x += 1;  // 21 pixels: the shrunken boxes touch with area
    StepRock(0);
    EXPECT_EQ(game->state, Interlude);
}

TEST_F(Play, TheThirdLostLifeAsksForTheNameAndFilesTheResultOnce) {
    StartGame();
    PlaceLastDiamondBesideShip();
    StepShip(VK_LEFT);
    LoseAllLives();
    ASSERT_EQ(game->state, NameEntry);
    EXPECT_EQ(game->lives, 0);
    EXPECT_EQ(game->backgroundImage, Picture("gameover.bmp"));
    ASSERT_NE(game->nameDialog, nullptr);
    EXPECT_EQ(game->nameDialog->GetText(), "Classifica");
    EXPECT_EQ(game->nameDialog->promptLabel->GetText(), "Inserisci il tuo nome:");
    EXPECT_FALSE(IsWindowEnabled(game->hwnd));

    // Centred on the game window.
    RECT outer, dialog;
    GetWindowRect(game->hwnd, &outer);
    GetWindowRect(game->nameDialog->hwnd, &dialog);
    EXPECT_NEAR((outer.left + outer.right) / 2, (dialog.left + dialog.right) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, (dialog.top + dialog.bottom) / 2, 1);

    ConfirmName();  // an empty name is refused
    EXPECT_EQ(game->state, NameEntry);
    EXPECT_TRUE(IsWindow(game->nameDialog->hwnd));
    TypeInBox(L"anna");
    ConfirmName();
    EXPECT_EQ(game->state, ScoreSaved);
    EXPECT_TRUE(IsWindowEnabled(game->hwnd));
    const std::string filed = "00000050 ANNA         Level 1\r\n";
    EXPECT_EQ(ReadBytes(ScoreFilePath(appData)), filed);

    Type('x');
    EXPECT_EQ(game->state, Title);
    ASSERT_EQ(game->rankingLines.size(), 1u);
    EXPECT_EQ(game->rankingLines[0], "00000050 ANNA         Level 1");
    delete game;  // closing the game later does not file it again
    game = nullptr;
    EXPECT_EQ(ReadBytes(ScoreFilePath(appData)), filed);
}

// A name confirmed in an earlier game stands when the dialog is closed
// without confirming one.
TEST_F(Play, ClosingTheNameDialogWithItsCloseBoxFilesTheLastNameOnce) {
    Orditex::playerName = "ZENO";
    ReachNameEntry();
    SendMessageW(game->nameDialog->hwnd, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(game->state, ScoreSaved);
    EXPECT_TRUE(IsWindowEnabled(game->hwnd));
    EXPECT_EQ(ReadBytes(ScoreFilePath(appData)), "00000000 ZENO         Level 1\r\n");

    // Deleting the game later must not file it a second time.
    delete game;
    game = nullptr;
    EXPECT_EQ(ReadBytes(ScoreFilePath(appData)), "00000000 ZENO         Level 1\r\n");
}
