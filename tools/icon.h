// The program icon: a burning meteor, drawn separately at 16, 32 and 48 pixels
// so that each size stays sharp.
#pragma once

#include <vector>

#include "tools/file_writers.h"

namespace Assets {

std::vector<IconImage> MakeIconImages();

}  // namespace Assets
