// Building a level: the kind records of a new game, then for each level its
// background, its rocks, ten diamonds and the ship.
#include "game/form_meteorni.h"

namespace Meteorni {

namespace {

// The rocks of each level type in creation order: A cycles the plain rock
// frames, B the burning ones.
const char* const rockLineUps[] = {
    "ABAABABABABA",   // type 1
    "ABAABAABBABA",   // type 2
    "ABAABABABABA",   // type 3
    "ABAABABAABBA",   // type 4
    "ABAABABABABBA",  // type 5
};

// The sprite a record makes, as the class its kind stands for: the records
// are filled by PrepareKinds, whose kinds match the classes asked for here.
template <class Kind>
std::unique_ptr<Kind> CreateSpriteOf(const SpriteInfo& info, FormMeteorni& form) {
    return std::unique_ptr<Kind>(static_cast<Kind*>(info.CreateSprite(form).release()));
}

void FillKind(SpriteInfo& info, const std::string& file, const char* kind, SIZE area, int32_t frameWidth,
              int32_t frameHeight, int32_t firstFrame, int32_t lastFrame) {
    info.imagePath = PicturePath(file);
    info.kind = kind;
    info.areaWidth = area.cx;
    info.areaHeight = area.cy;
    info.frameWidth = frameWidth;
    info.frameHeight = frameHeight;
    info.firstFrame = firstFrame;
    info.lastFrame = lastFrame;
}

}  // namespace

void FormMeteorni::PrepareKinds() {
    // A minimized window has no client area to play in; the records then
    // describe the nominal play area, which is where the level is drawn.
    SIZE area = PlayArea();
    FillKind(shipInfo, "player.bmp", "player", area, 50, 50, 0, 7);
    shipInfo.frameInterval = 100;
    FillKind(diamondInfo, "diamante.bmp", "diamante", area, 32, 32, 0, 0);
    FillKind(rockInfoA, "meteorne_notte.bmp", "meteorne", area, 45, 63, 0, 4);
    rockInfoA.frameInterval = 200;
    FillKind(rockInfoB, "meteorne_notte.bmp", "meteorne", area, 45, 63, 6, 9);
    rockInfoB.frameInterval = 200;
}

void FormMeteorni::ResetGame() {
    int32_t type = LevelType(level);
    state = Building;
    sprites.clear();
    ClearTimedActions();
    DeleteLevelSprites();

    BeginFrame(false);
    SetLevelBackground(type);
    for (const char* rock = rockLineUps[type - 1]; *rock; ++rock) AddRock(*rock == 'A' ? rockInfoA : rockInfoB);
    for (int i = 0; i < 10; ++i)
        if (std::unique_ptr<SpriteDiamante> diamond = AddDiamond()) diamonds.push_back(std::move(diamond));

    std::unique_ptr<SpritePlayer> newShip = CreateSpriteOf<SpritePlayer>(shipInfo, *this);
    if (newShip) {
        newShip->x = (shipInfo.areaWidth - shipInfo.frameWidth) / 2;
        newShip->y = shipInfo.areaHeight - shipInfo.frameHeight;
        StartAnimation(newShip.get(), shipInfo);
        PresentSprite(*newShip);
    }
    ship = std::move(newShip);  // the previous ship goes now

    DrawHud();
    EndFrame();
    state = Playing;
}

SpriteMeteorni* FormMeteorni::AddRock(const SpriteInfo& info) {
    std::unique_ptr<SpriteMeteorni> made = CreateSpriteOf<SpriteMeteorni>(info, *this);
    SpriteMeteorni* rock = made.get();
    if (!rock) return nullptr;
    int32_t x = Orditex::RandomInt(1, rock->xRange);
    int32_t interval =
        Orditex::RandomInt(info.stepIntervalBase / 2, info.stepIntervalBase) + info.stepIntervalOffset - level;
    int32_t speed = Orditex::RandomInt(level + 4, level + 7);
    // Faster than a frame's height per step, a rock would jump over the ship;
    // it then crosses the whole area in one step and comes back elsewhere.
    if (speed > info.frameHeight) speed = info.areaHeight;
    rock->speed = speed;
    rock->x = x;
    rock->y = rock->startY;
    PresentSprite(*rock);
    StartAnimation(rock, info);
    movers.push_back(std::make_unique<MovementMeteorne>(info, interval, rock, this));
    rocks.push_back(std::move(made));
    return rock;
}

std::unique_ptr<SpriteDiamante> FormMeteorni::AddDiamond() {
    std::unique_ptr<SpriteDiamante> diamond = CreateSpriteOf<SpriteDiamante>(diamondInfo, *this);
    if (!diamond) return nullptr;
    diamond->x = Orditex::RandomInt(1, diamondInfo.areaWidth - 50);
    diamond->y = Orditex::RandomInt(51, diamondInfo.areaHeight - 50);
    PresentSprite(*diamond);
    return diamond;
}

void FormMeteorni::StartAnimation(Orditex::Sprite* sprite, const SpriteInfo& info) {
    sprite->SetFrame(info.firstFrame);
    animations.push_back(std::make_unique<SpriteAnimazione>(info, sprite, this));
}

void FormMeteorni::ClearTimedActions() {
    animations.clear();
    movers.clear();
}

void FormMeteorni::DeleteLevelSprites() {
    rocks.clear();
    diamonds.clear();
}

}  // namespace Meteorni
