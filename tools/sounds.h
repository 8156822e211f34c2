// The game's two sounds, synthesised: a bright chime when a diamond is taken
// and a crash when a rock hits the ship.
#pragma once

#include <cstdint>
#include <vector>

namespace Assets {

inline constexpr int kSampleRate = 22050;

std::vector<int16_t> MakePickupSound();  // about 0.25 s
std::vector<int16_t> MakeCrashSound();   // about 0.6 s

}  // namespace Assets
