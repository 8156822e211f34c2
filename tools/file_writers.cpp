#include "tools/file_writers.h"

#include <cstdio>

namespace Assets {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

// BITMAPINFOHEADER with no compression.
void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bitCount, uint32_t imageSize) {
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bitCount));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(int width, int height, const std::vector<uint8_t>& bgrTopDown) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageSize = rowBytes * static_cast<uint32_t>(height);
    std::vector<uint8_t> out;
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageSize);
    Put32(out, 0);
    Put32(out, 54);
    PutInfoHeader(out, width, height, 24, imageSize);
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* row = bgrTopDown.data() + static_cast<size_t>(y) * width * 3;
        out.insert(out.end(), row, row + static_cast<size_t>(width) * 3);
        for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int sampleRate) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * 2;
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, static_cast<uint32_t>(sampleRate));
    Put32(out, static_cast<uint32_t>(sampleRate) * 2);
    Put16(out, 2);   // block align
    Put16(out, 16);  // bits per sample
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (int16_t s : samples) Put16(out, static_cast<uint16_t>(s));
    return out;
}

std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images) {
    std::vector<std::vector<uint8_t>> bodies;
    for (const IconImage& image : images) {
        const int n = image.size;
        const uint32_t maskRow = ((static_cast<uint32_t>(n) + 31) / 32) * 4;
        std::vector<uint8_t> body;
        // The height counts the colour rows and the mask rows together.
        PutInfoHeader(body, n, n * 2, 32, static_cast<uint32_t>(n * n * 4) + maskRow * n);
        for (int y = n - 1; y >= 0; --y)
            body.insert(body.end(), image.bgra.begin() + static_cast<size_t>(y) * n * 4,
                        image.bgra.begin() + static_cast<size_t>(y + 1) * n * 4);
        // AND mask: 1 where the pixel is fully transparent, for painters
        // that ignore the alpha channel.
        for (int y = n - 1; y >= 0; --y) {
            std::vector<uint8_t> row(maskRow, 0);
            for (int x = 0; x < n; ++x)
                if (image.bgra[(static_cast<size_t>(y) * n + x) * 4 + 3] == 0)
                    row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            body.insert(body.end(), row.begin(), row.end());
        }
        bodies.push_back(std::move(body));
    }
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int n = images[i].size;
        out.push_back(static_cast<uint8_t>(n >= 256 ? 0 : n));
        out.push_back(static_cast<uint8_t>(n >= 256 ? 0 : n));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);   // planes
        Put16(out, 32);  // bits per pixel
        Put32(out, static_cast<uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(bodies[i].size());
    }
    for (const auto& body : bodies) out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::string XorFoldChecksum(const std::vector<uint8_t>& data) {
    uint8_t acc[16] = {};
    for (size_t n = 0; n < data.size(); ++n) acc[n % 16] ^= data[n];
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t b : acc) {
        text += digits[b >> 4];
        text += digits[b & 0xF];
    }
    return text;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& data) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

bool WriteText(const std::string& path, const std::string& text) {
    return WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace Assets
