#include "app/message_loop.h"

#include "framework/shell.h"

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
    std::string path = "..\\images_games\\logo.bmp";
    if (!Orditex::FileExists(path)) path = "images_games\\" + Orditex::FileNameOf(path);
    if (Orditex::FileExists(path)) return true;
    Orditex::ShowError(
        "Immagini non trovate.\nSe esegui il gioco da un archivio zip dovrai decomprimere tutto il contenuto in "
        "una cartella ed eseguire il gioco dalla cartella",
        "Errore");
    return false;
}

}  // namespace Meteorni
