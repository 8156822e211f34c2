// The file formats the game ships: 24-bit BMP pictures, 16-bit PCM WAVE
// sounds and a Windows icon, all written byte by byte in little-endian order,
// and the XOR-fold checksum the game checks its pictures with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Assets {

struct IconImage {
    int size = 0;               // width = height in pixels
    std::vector<uint8_t> bgra;  // rows top-down, 4 bytes a pixel, straight alpha
};

// A 24-bit BMP from rows given top-down as B, G, R bytes (stored bottom-up,
// each row padded to a multiple of 4 bytes).
std::vector<uint8_t> EncodeBmp(int width, int height, const std::vector<uint8_t>& bgrTopDown);
// A mono 16-bit PCM WAVE file.
std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int sampleRate);
// An .ico with one 32-bit image (and its AND mask) per entry.
std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images);

// Byte n of the data XOR-ed into accumulator byte n mod 16, written as 32
// upper-case hexadecimal digits, byte 0 first.
std::string XorFoldChecksum(const std::vector<uint8_t>& data);

// Writes the whole file; false when it cannot be written.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& data);
bool WriteText(const std::string& path, const std::string& text);

}  // namespace Assets
