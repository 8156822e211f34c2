#include "app/message_loop.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!Meteorni::PicturesFound()) return 1;
    return 0;
}
