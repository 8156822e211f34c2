#include "app/message_loop.h"
#include "game/form_meteorni.h"

#include <memory>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!Meteorni::PicturesFound()) return 1;
    std::string title = std::string("Meteorni ") + Meteorni::copyrightLine;
    auto game = std::make_unique<Meteorni::FormMeteorni>(instance, title);
    Meteorni::RunMessageLoop(game.get());
    game.reset();
    return 0;
}
