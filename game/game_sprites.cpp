#include "game/game_sprites.h"

#include "framework/drawing.h"
#include "framework/shell.h"
#include "game/form_meteorni.h"

namespace Meteorni {

namespace {

bool RectanglesOverlap(int32_t ax, int32_t ay, int32_t aw, int32_t ah, const Orditex::Sprite& b) {
    int32_t left = ax > b.x ? ax : b.x;
    int32_t top = ay > b.y ? ay : b.y;
    int32_t right = ax + aw < b.x + b.width ? ax + aw : b.x + b.width;
    int32_t bottom = ay + ah < b.y + b.height ? ay + ah : b.y + b.height;
    return right > left && bottom > top;
}

// The game sprites keep no copy of the pixels under them: the old place is
// repainted from the level's background picture, and every other sprite that
// overlapped it is drawn again on top (in creation order).
void RepairBackground(Orditex::Sprite& sprite, FormMeteorni& form, Orditex::Drawing& surface) {
    if (sprite.lastX == -1 || sprite.lastY == -1) return;
    surface.DrawImagePart(form.backgroundImage, sprite.lastX, sprite.lastY, sprite.width, sprite.height, sprite.lastX,
                          sprite.lastY);
    for (size_t i = 0; i < form.sprites.size(); ++i) {
        auto* other = dynamic_cast<Orditex::Sprite*>(form.sprites[i]);
        if (!other || other->serial == sprite.serial) continue;
        if (RectanglesOverlap(sprite.lastX, sprite.lastY, sprite.width, sprite.height, *other)) form.DrawSprite(*other);
    }
}

// Draws the current frame at the current place, repairing the old place
// first when the sprite has moved. Returns where it was drawn before.
POINT DrawAtCurrentPlace(Orditex::Sprite& sprite, Orditex::Drawing& surface) {
    POINT previous{sprite.lastX, sprite.lastY};
    bool placeKnown = sprite.lastX != -1 && sprite.lastY != -1;
    if (sprite.saveBackground && placeKnown && (sprite.lastX != sprite.x || sprite.lastY != sprite.y))
        sprite.Erase(surface);
    int32_t sourceRow = (sprite.frame - 1) * sprite.height;
    if (sprite.transparent)
        surface.DrawImagePartTransparent(sprite.image, sprite.x, sprite.y, sprite.width, sprite.height, sourceRow);
    else
        surface.DrawImagePart(sprite.image, sprite.x, sprite.y, sprite.width, sprite.height, 0, sourceRow);
    sprite.lastX = sprite.x;
    sprite.lastY = sprite.y;
    sprite.drawn = true;
    return previous;
}

}  // namespace

SpritePlayer::SpritePlayer(const SpriteInfo& info, HBITMAP picture, FormMeteorni* ownerForm)
    : Sprite(info.frameWidth, info.frameHeight, picture), form(ownerForm) {}

void SpritePlayer::Erase(Orditex::Drawing& surface) {
    RepairBackground(*this, *form, surface);
}

POINT SpritePlayer::Draw(Orditex::Drawing& surface) {
    return DrawAtCurrentPlace(*this, surface);
}

SpriteDiamante::SpriteDiamante(const SpriteInfo& info, HBITMAP picture, FormMeteorni* ownerForm)
    : Sprite(info.frameWidth, info.frameHeight, picture), form(ownerForm) {}

void SpriteDiamante::Erase(Orditex::Drawing& surface) {
    RepairBackground(*this, *form, surface);
}

POINT SpriteDiamante::Draw(Orditex::Drawing& surface) {
    if (!onScreen) return POINT{lastX, lastY};
    return DrawAtCurrentPlace(*this, surface);
}

SpriteMeteorni::SpriteMeteorni(const SpriteInfo& info, HBITMAP picture, FormMeteorni* ownerForm)
    : Sprite(info.frameWidth, info.frameHeight, picture),
      xRange(info.areaWidth - info.frameWidth),
      bottomLimit(info.areaHeight - info.frameHeight),
      form(ownerForm) {}

void SpriteMeteorni::Erase(Orditex::Drawing& surface) {
    RepairBackground(*this, *form, surface);
}

POINT SpriteMeteorni::Draw(Orditex::Drawing& surface) {
    if (!onScreen) return POINT{lastX, lastY};
    return DrawAtCurrentPlace(*this, surface);
}

std::unique_ptr<Orditex::Sprite> SpriteInfo::CreateSprite(FormMeteorni& form) const {
    std::unique_ptr<Orditex::Sprite> sprite;
    if (kind == "player")
        sprite = std::make_unique<SpritePlayer>(*this, form.LoadCheckedImage(imagePath), &form);
    else if (kind == "meteorne")
        sprite = std::make_unique<SpriteMeteorni>(*this, form.LoadCheckedImage(imagePath), &form);
    else if (kind == "diamante")
        sprite = std::make_unique<SpriteDiamante>(*this, form.LoadCheckedImage(imagePath), &form);
    else
        return nullptr;
    form.AddSprite(sprite.get());
    return sprite;
}

SpriteAnimazione::SpriteAnimazione(const SpriteInfo& info, Orditex::Sprite* target, FormMeteorni* ownerForm)
    : SpriteAnim(info.frameInterval, info.firstFrame, info.lastFrame, &info, target, ownerForm) {}

void SpriteAnimazione::Step() {
    int32_t current = sprite->frame - 1;
    int32_t next = current + 1;
    if (next > lastFrame) next = firstFrame;
    if (next != current) {
        sprite->SetFrame(next);
        form->EraseSprite(*sprite);
        form->PresentSprite(*sprite);
    }
    sprite->OnFrameStep(next);
}

std::unique_ptr<Orditex::SpriteAnim> SpriteAnimazione::Clone() const {
    return std::make_unique<SpriteAnimazione>(*this);
}

MovementMeteorne::MovementMeteorne(const SpriteInfo& info, int32_t stepInterval, SpriteMeteorni* rock,
                                   FormMeteorni* ownerForm)
    : SpriteAnim(stepInterval, info.firstFrame, info.lastFrame, &info, rock, ownerForm) {}

void MovementMeteorne::Step() {
    auto* rock = static_cast<SpriteMeteorni*>(sprite);
    auto* game = static_cast<FormMeteorni*>(form);

    int32_t newY = rock->y + rock->speed;
    if (newY > rock->bottomLimit) {
        newY = rock->startY;
        rock->x = Orditex::RandomInt(1, rock->xRange);
    }
    rock->y = newY;
    game->PresentSprite(*rock);

    // Everything created after the rock (later rocks, diamonds, the ship)
    // lies on top of it.
    for (size_t i = 0; i < game->sprites.size(); ++i) {
        auto* other = dynamic_cast<Orditex::Sprite*>(game->sprites[i]);
        if (other && other->serial > rock->serial &&
            RectanglesOverlap(rock->x, rock->y, rock->width, rock->height, *other))
            game->PresentSprite(*other);
    }

    if (game->ship && rock->Overlaps(*game->ship, 10, 10)) game->LoseLife();
}

std::unique_ptr<Orditex::SpriteAnim> MovementMeteorne::Clone() const {
    return std::make_unique<MovementMeteorne>(*this);
}

}  // namespace Meteorni
