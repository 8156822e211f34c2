#include "app/message_loop.h"

#include "framework/shell.h"
#include "game/image_files.h"

namespace Meteorni {

void RunMessageLoop(Orditex::Form* mainForm) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (mainForm && mainForm->dialogStyle && IsDialogMessageW(mainForm->hwnd, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PicturesFound() {
    // The same two places the loader looks in.
    if (Orditex::FileExists(ResolveImagePath(PicturePath("logo.bmp")))) return true;
    Orditex::ShowError(
        "Immagini non trovate.\nSe esegui il gioco da un archivio zip dovrai decomprimere tutto il contenuto in "
        "una cartella ed eseguire il gioco dalla cartella",
        "Errore");
    return false;
}

}  // namespace Meteorni
