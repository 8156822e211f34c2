#include "framework/sprite.h"

#include "framework/drawing.h"

#include <algorithm>

namespace Orditex {

namespace {

// Every sprite takes the next number, so a later sprite always has a larger
// serial; the counter is never reset during a run.
int32_t spriteCounter = 0;

}  // namespace

Sprite::Sprite(int32_t spriteWidth, int32_t spriteHeight, HBITMAP picture)
    : image(picture), width(spriteWidth), height(spriteHeight), serial(++spriteCounter), sharedImage(true) {}

Sprite::Sprite(int32_t spriteWidth, int32_t spriteHeight)
    : width(spriteWidth), height(spriteHeight), serial(++spriteCounter), sharedImage(false) {}

Sprite::~Sprite() {
    if (image && !sharedImage) DeleteObject(image);
    Drawing::DeletePicture(savedBackground);
}

void Sprite::Erase(Drawing& surface) {
    if (!savedBackground) return;
    if (drawn) surface.DrawImage(savedBackground, lastX, lastY, width, height);
    Drawing::DeletePicture(savedBackground);
    savedBackground = nullptr;
    drawn = false;
    lastX = -1;
    lastY = -1;
}

void Sprite::SetFrame(int32_t index) {
    frame = index + 1;
}

POINT Sprite::Draw(Drawing& surface) {
    POINT previous{lastX, lastY};
    if (saveBackground && (lastX != x || lastY != y)) {
        // Moving: put back what lay under the old place before saving what
        // lies under the new one, so overlapping places come out right.
        if (savedBackground) surface.DrawImage(savedBackground, lastX, lastY, width, height);
        // The copy goes into the bitmap the sprite already has while its
        // size holds; a new one (kept ready, as it is drawn back on every
        // move) only when there is none yet or the size changed.
        bool sameSize = savedSize.cx == width && savedSize.cy == height;
        if (!savedBackground || !sameSize || !surface.CopyRegionInto(savedBackground, x, y, width, height)) {
            Drawing::DeletePicture(savedBackground);
            savedBackground = surface.CopyRegion(x, y, width, height);
            Drawing::KeepPicture(savedBackground);
            savedSize = SIZE{width, height};
        }
    }
    int32_t sourceRow = height * (frame - 1);
    if (transparent)
        surface.DrawImagePartTransparent(image, x, y, width, height, sourceRow);
    else
        surface.DrawImagePart(image, x, y, width, height, 0, sourceRow);
    lastX = x;
    lastY = y;
    drawn = true;
    return previous;
}

void Sprite::OnFrameStep(int32_t) {}

bool Sprite::Overlaps(const Sprite& other, int32_t otherInset, int32_t ownInset) const {
    int32_t otherLeft = other.x + otherInset;
    int32_t otherTop = other.y + otherInset;
    int32_t otherRight = other.x + other.width - otherInset;
    int32_t otherBottom = other.y + other.height - otherInset;
    int32_t ownLeft = x + ownInset;
    int32_t ownTop = y + ownInset;
    int32_t ownRight = x + width - ownInset;
    int32_t ownBottom = y + height - ownInset;
    // Shared edges give an empty intersection, so touching is no overlap.
    return std::max(otherLeft, ownLeft) < std::min(otherRight, ownRight) &&
           std::max(otherTop, ownTop) < std::min(otherBottom, ownBottom);
}

SpriteAnim::SpriteAnim(int32_t actionInterval, int32_t first, int32_t last, const Meteorni::SpriteInfo* kindInfo,
                       Sprite* target, FormGames* ownerForm)
    : interval(actionInterval), firstFrame(first), lastFrame(last), info(kindInfo), sprite(target), form(ownerForm) {}

}  // namespace Orditex
