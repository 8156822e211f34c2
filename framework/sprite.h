// Movable pictures cut from a vertical strip of frames, and the abstract
// timed action that moves or animates one of them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

namespace Meteorni {
struct SpriteInfo;
}

namespace Orditex {

class Drawing;
class FormGames;

// The element type of the game form's sprite list; users check that an entry
// is a Sprite before using it.
class GameElement {
public:
    GameElement() = default;
    virtual ~GameElement() = default;
};

class Sprite : public GameElement {
public:
    Sprite(int32_t spriteWidth, int32_t spriteHeight, HBITMAP picture);  // picture stays the caller's
    Sprite(int32_t spriteWidth, int32_t spriteHeight);                   // a bare rectangle
    ~Sprite() override;
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    HBITMAP image = nullptr;
    HBITMAP savedBackground = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t frame = 1;
    int32_t x = 0;
    int32_t y = 0;
    bool drawn = false;
    int32_t serial = 0;
    int32_t lastX = -1;
    int32_t lastY = -1;
    bool saveBackground = true;
    bool transparent = true;
    bool sharedImage = false;

    virtual void Erase(Drawing& surface);
    virtual void SetFrame(int32_t index);
    // Draws at the current position; returns where it was drawn before
    // ((-1, -1) if never).
    virtual POINT Draw(Drawing& surface);
    virtual void OnFrameStep(int32_t index);
    virtual void SpriteHook1() {}
    virtual bool SpriteHook2(int32_t) { return false; }
    virtual void SpriteHook3(int32_t) {}
    virtual void SpriteHook4(int32_t) {}

    // True when the two rectangles, each shrunk by its inset on every side,
    // share a non-empty area (touching edges do not count).
    bool Overlaps(const Sprite& other, int32_t otherInset, int32_t ownInset) const;

private:
    SIZE savedSize{0, 0};  // of savedBackground
};

class SpriteAnim {
public:
    SpriteAnim(int32_t actionInterval, int32_t first, int32_t last, const Meteorni::SpriteInfo* kindInfo,
               Sprite* target, FormGames* ownerForm);
    virtual ~SpriteAnim() = default;

    int32_t elapsed = 0;
    int32_t interval = 0;
    int32_t firstFrame = 0;
    int32_t lastFrame = 0;
    const Meteorni::SpriteInfo* info = nullptr;
    Sprite* sprite = nullptr;
    FormGames* form = nullptr;

    virtual void Step() = 0;
    virtual std::unique_ptr<SpriteAnim> Clone() const = 0;
    virtual void AnimHook() {}
};

}  // namespace Orditex
