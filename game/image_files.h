// The game's pictures: where they are found, the checksum that proves a file
// is the one shipped with the game, and the cache that loads each one once.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

namespace Meteorni {

// The folder of the game's pictures, one level above the working folder;
// every picture is asked for under it (ResolveImagePath falls back to the
// folder of the same name inside the working folder).
inline constexpr char pictureFolder[] = "..\\images_games\\";

// The path a picture of the game is asked for by: pictureFolder + its file name.
std::string PicturePath(const std::string& fileName);

// Resolved picture path -> bitmap (none included). The cache owns every bitmap,
// and what is kept with it to draw it (its DC and mask).
using ImageCache = std::map<std::string, HBITMAP>;

// The path itself when it exists, otherwise "images_games\" + its file name
// (inside the working folder; not tested for existence).
std::string ResolveImagePath(const std::string& path);

// XOR fold of the file's bytes into 16 bytes (byte n into byte n mod 16), as 32
// upper-case hex digits. A file that cannot be opened, or is empty, gives 32 zeros.
std::string FileChecksum(const std::string& path);

// The checksum of the shipped picture of that exact (case-sensitive) file name,
// or empty text for a name the game does not ship.
std::string ExpectedChecksum(const std::string& fileName);

// Resolves the path and answers from the cache when it holds it. Otherwise
// compares the file's checksum with the one expected for the requested name:
// on a match the bitmap is loaded and cached (none too) and returned; on a
// mismatch the error box is shown, nothing is cached, none is returned and
// *rejected is set, so that the caller can close the game.
HBITMAP LoadVerifiedImage(ImageCache& cache, const std::string& path, bool* rejected);

// Deletes every bitmap of the cache, with what was kept to draw it, and
// empties it.
void ReleaseImages(ImageCache& cache);

// Background number 1 to 5 for a level: level mod 5, with 0 read as 5.
int32_t LevelType(int32_t level);

// The path of the background picture of number 1 to 5 (other numbers wrap
// round the same way as levels).
std::string LevelBackgroundPath(int32_t type);

}  // namespace Meteorni
