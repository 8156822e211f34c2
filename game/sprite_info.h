// The kind record a game sprite is made from: which class, which picture
// strip, frame size and range, timing, and the play area it lives in.
#pragma once

#include "framework/sprite.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Meteorni {

class FormMeteorni;

struct SpriteInfo {
    int32_t areaWidth = 400;
    int32_t areaHeight = 320;
    int32_t frameWidth = 64;
    int32_t frameHeight = 63;
    int32_t firstFrame = 0;
    int32_t lastFrame = 0;
    int32_t frameInterval = 60;
    std::string imagePath;
    std::string kind;
    int32_t stepIntervalBase = 100;
    int32_t stepIntervalOffset = 5;

    // Builds the sprite of this kind ("player", "meteorne" or "diamante"),
    // registers it with the form and returns it; none for any other kind.
    std::unique_ptr<Orditex::Sprite> CreateSprite(FormMeteorni& form) const;
};

}  // namespace Meteorni
