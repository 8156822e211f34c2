#include "game/sound.h"

#include <windows.h>
#include <mmsystem.h>

namespace Meteorni {

namespace {
SoundPlayer soundPlayer = nullptr;
}

void PlayGameSound(int32_t resourceId) {
    if (soundPlayer) {
        soundPlayer(resourceId);
        return;
    }
    PlaySoundW(MAKEINTRESOURCEW(resourceId), GetModuleHandleW(nullptr), SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

void SetSoundPlayer(SoundPlayer player) {
    soundPlayer = player;
}

}  // namespace Meteorni
