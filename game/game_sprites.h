// The things that move on the game's screen (ship, rocks, diamonds) and the
// timed actions that animate them and make the rocks fall.
#pragma once

#include "framework/sprite.h"
#include "game/sprite_info.h"

namespace Meteorni {

class FormMeteorni;

// The player's ship.
class SpritePlayer final : public Orditex::Sprite {
public:
    SpritePlayer(const SpriteInfo& info, HBITMAP picture, FormMeteorni* ownerForm);

    FormMeteorni* form = nullptr;

    void Erase(Orditex::Drawing& surface) override;
    POINT Draw(Orditex::Drawing& surface) override;
};

// A diamond to collect; once taken it is never drawn again.
class SpriteDiamante final : public Orditex::Sprite {
public:
    SpriteDiamante(const SpriteInfo& info, HBITMAP picture, FormMeteorni* ownerForm);

    bool onScreen = true;
    FormMeteorni* form = nullptr;

    void Erase(Orditex::Drawing& surface) override;
    POINT Draw(Orditex::Drawing& surface) override;
};

// A falling rock; it comes back at the top at a new place when it passes the
// bottom of the play area.
class SpriteMeteorni final : public Orditex::Sprite {
public:
    SpriteMeteorni(const SpriteInfo& info, HBITMAP picture, FormMeteorni* ownerForm);

    int32_t xRange = 0;
    int32_t speed = 4;
    int32_t startY = 20;
    int32_t bottomLimit = 0;
    bool onScreen = true;
    FormMeteorni* form = nullptr;

    void Erase(Orditex::Drawing& surface) override;
    POINT Draw(Orditex::Drawing& surface) override;
};

// Cycles a sprite through a range of frames.
class SpriteAnimazione final : public Orditex::SpriteAnim {
public:
    SpriteAnimazione(const SpriteInfo& info, Orditex::Sprite* target, FormMeteorni* ownerForm);

    void Step() override;
    std::unique_ptr<Orditex::SpriteAnim> Clone() const override;
};

// One step of one rock: fall, wrap at the bottom, repaint, test the ship.
class MovementMeteorne final : public Orditex::SpriteAnim {
public:
    MovementMeteorne(const SpriteInfo& info, int32_t stepInterval, SpriteMeteorni* rock, FormMeteorni* ownerForm);

    void Step() override;
    std::unique_ptr<Orditex::SpriteAnim> Clone() const override;
};

}  // namespace Meteorni
