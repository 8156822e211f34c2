// Every picture the game ships, each made by one function of the generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Assets {

struct Picture {
    std::string fileName;
    int width = 0, height = 0;
    std::vector<uint8_t> bgr;  // rows top-down, B, G, R
};

// Title and interlude pictures, and the plain one (scenes.cpp).
Picture MakeLogo();
Picture MakeLevelDone();
Picture MakeLifeLost();
Picture MakeGameOver();
Picture MakeBlank();
// The five level backgrounds, number 1 to 5 (town.cpp).
Picture MakeBackground(int number);
// Sprite strips (sprites.cpp).
Picture MakePlayerStrip();
Picture MakeRockStrip();
Picture MakeDiamond();

}  // namespace Assets
