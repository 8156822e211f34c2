#pragma once

#include "framework/form.h"

namespace Meteorni {

// Pumps the thread's messages until the quit message. A dialog-style main
// form gets the system's dialog keyboard handling first.
void RunMessageLoop(Orditex::Form* mainForm);

// The start-up check: true when the picture folder is found one level up or
// inside the working folder. Otherwise shows the error box.
bool PicturesFound();

}  // namespace Meteorni
