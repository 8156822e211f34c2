#include "game/image_files.h"

#include "framework/drawing.h"
#include "framework/shell.h"

#include <cstdio>
#include <vector>

namespace Meteorni {

namespace {

struct ChecksumRow {
    const char* fileName;
    const char* checksum;
};

const ChecksumRow kChecksums[] = {
#include "game/image_checksums.inc"
};

constexpr size_t kBlockSize = 10240;
constexpr size_t kChecksumBytes = 16;

const char* const kBackgrounds[] = {"sanmartino2.bmp", "cattedrale.bmp", "chiesacerreto.bmp", "palazzogenio.bmp",
                                    "santuario.bmp"};

}  // namespace

std::string PicturePath(const std::string& fileName) {
    return pictureFolder + fileName;
}

std::string ResolveImagePath(const std::string& path) {
    if (Orditex::FileExists(path)) return path;
    std::string fallback = "images_games\\";
    fallback += Orditex::FileNameOf(path);
    return fallback;
}

std::string FileChecksum(const std::string& path) {
    unsigned char sum[kChecksumBytes] = {};
    std::FILE* file = _wfopen(Orditex::ToWide(path).c_str(), L"rb");
    if (file) {
        // One buffer for the whole file; since the block size is a multiple of
        // 16, the position in the block gives the accumulator byte.
        std::vector<unsigned char> block(kBlockSize);
        for (;;) {
            size_t got = std::fread(block.data(), 1, block.size(), file);
            if (std::ferror(file)) break;  // a failed read folds nothing
            for (size_t i = 0; i < got; ++i) sum[i % kChecksumBytes] ^= block[i];
            if (got < block.size()) break;  // end of file
        }
        // Only read from: a failing close loses nothing the sum needs.
        std::fclose(file);  // NOLINT(cert-err33-c)
    }
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(kChecksumBytes * 2);
    for (unsigned char byte : sum) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

std::string ExpectedChecksum(const std::string& fileName) {
    for (const ChecksumRow& row : kChecksums)
        if (fileName == row.fileName) return row.checksum;
    return std::string();
}

HBITMAP LoadVerifiedImage(ImageCache& cache, const std::string& path, bool* rejected) {
    if (rejected) *rejected = false;
    std::string resolved = ResolveImagePath(path);
    auto cached = cache.find(resolved);
    if (cached != cache.end()) return cached->second;

    // The table is looked up by the name asked for, so a picture that was
    // renamed or added to the folder never passes.
    std::string actual = FileChecksum(resolved);
    std::string expected = ExpectedChecksum(Orditex::FileNameOf(resolved));
    if (actual != expected) {
        Orditex::ShowError("Immagine corrotta o dannegiata. Ripristinare la cartella immagine", "errore");
        if (rejected) *rejected = true;
        return nullptr;
    }
    HBITMAP bitmap = Orditex::Drawing::LoadBitmapFromFile(resolved);
    // Drawn on every step: kept ready, with its DC and mask, as long as the
    // cache holds it.
    Orditex::Drawing::KeepPicture(bitmap);
    cache[resolved] = bitmap;
    return bitmap;
}

void ReleaseImages(ImageCache& cache) {
    for (auto& entry : cache) Orditex::Drawing::DeletePicture(entry.second);
    cache.clear();
}

int32_t LevelType(int32_t level) {
    int32_t type = level % 5;
    if (type < 0) type += 5;
    return type == 0 ? 5 : type;
}

std::string LevelBackgroundPath(int32_t type) {
    return PicturePath(kBackgrounds[LevelType(type) - 1]);
}

}  // namespace Meteorni
