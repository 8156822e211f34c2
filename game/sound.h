// The game's two sounds, played from the program's own WAVE resources.
#pragma once

#include <cstdint>

namespace Meteorni {

constexpr int32_t soundDiamond = 1006;
constexpr int32_t soundCrash = 1007;

// Starts the sound and returns at once; a new sound cuts the one playing.
// A sound that cannot be played is skipped silently.
void PlayGameSound(int32_t resourceId);

// Test seam: receives the resource id instead of the sound device (nullptr
// restores the real playback).
using SoundPlayer = void (*)(int32_t resourceId);
void SetSoundPlayer(SoundPlayer player);

}  // namespace Meteorni
