#include "app/message_loop.h"
#include "game/form_meteorni.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!Meteorni::PicturesFound()) return 1;
    std::string title = std::string("Meteorni ") + Meteorni::copyrightLine;
    auto* game = new Meteorni::FormMeteorni(instance, title);
    Meteorni::RunMessageLoop(game);
    delete game;
    return 0;
}
