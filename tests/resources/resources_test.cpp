// The shipped icon, sounds and pictures: read back through the same Win32
// calls the game uses, from bin/ as the game runs.
#include "support/file_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct ChecksumRow {
    const char* name;
    const char* checksum;
};

const ChecksumRow kChecksums[] = {
#include "game/image_checksums.inc"
};

std::wstring Wide(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.find_last_of(L"\\/") + 1);
}

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t U32(const uint8_t* p) {
    return U16(p) | (static_cast<uint32_t>(U16(p + 2)) << 16);
}

// ---- Resources in Meteorni.exe --------------------------------------------

class GameResources : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryExW((ExeFolder() + L"Meteorni.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << "Meteorni.exe not found beside the test";
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }

    std::vector<uint8_t> Resource(const wchar_t* type, int id) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module, found);
        const uint8_t* data = static_cast<const uint8_t*>(LockResource(loaded));
        if (!data) return {};
        return std::vector<uint8_t>(data, data + SizeofResource(module, found));
    }

    struct Wave {
        uint16_t format = 0, channels = 0, bits = 0;
        uint32_t rate = 0;
        std::vector<int16_t> samples;
    };

    // Walks the RIFF chunks of a WAVE resource.
    Wave ReadWave(int id) {
        std::vector<uint8_t> data = Resource(L"WAVE", id);
        Wave w;
        EXPECT_GE(data.size(), 44u) << "WAVE resource " << id << " missing or too short";
        if (data.size() < 44) return w;
        EXPECT_EQ(std::memcmp(data.data(), "RIFF", 4), 0);
        EXPECT_EQ(std::memcmp(data.data() + 8, "WAVE", 4), 0);
        EXPECT_EQ(U32(data.data() + 4), data.size() - 8) << "RIFF size does not match the resource";
        size_t at = 12;
        while (at + 8 <= data.size()) {
            uint32_t size = U32(data.data() + at + 4);
            const uint8_t* body = data.data() + at + 8;
            if (at + 8 + size > data.size()) break;
            if (std::memcmp(data.data() + at, "fmt ", 4) == 0 && size >= 16) {
                w.format = U16(body);
                w.channels = U16(body + 2);
                w.rate = U32(body + 4);
                w.bits = U16(body + 14);
                EXPECT_EQ(U32(body + 8), w.rate * w.channels * w.bits / 8) << "byte rate";
            } else if (std::memcmp(data.data() + at, "data", 4) == 0) {
                for (uint32_t i = 0; i + 1 < size; i += 2) w.samples.push_back(static_cast<int16_t>(U16(body + i)));
            }
            at += 8 + size + (size & 1);
        }
        return w;
    }

    void ExpectSound(int id, double minSeconds, double maxSeconds) {
        Wave w = ReadWave(id);
        EXPECT_EQ(w.format, 1) << "sound " << id << " is not PCM";
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.bits, 16);
        EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << w.rate;
        ASSERT_GT(w.rate, 0u);
        ASSERT_FALSE(w.samples.empty());
        double seconds = static_cast<double>(w.samples.size()) / w.rate;
        EXPECT_GE(seconds, minSeconds) << "sound " << id;
        EXPECT_LE(seconds, maxSeconds) << "sound " << id;
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        // Loud enough to hear, and not clipped flat at full scale.
        EXPECT_GT(peak, 32767 * 3 / 10) << "sound " << id << " is nearly silent";
        EXPECT_LT(peak, 32767) << "sound " << id << " clips";
        // It starts and ends at rest, so it does not click.
        EXPECT_LT(std::abs(static_cast<int>(w.samples.front())), 330) << "sound " << id << " starts with a click";
        EXPECT_LT(std::abs(static_cast<int>(w.samples.back())), 330) << "sound " << id << " ends with a click";
    }

    HMODULE module = nullptr;
};

TEST_F(GameResources, IconGroupHas16And32And48PixelImages) {
    std::vector<uint8_t> group = Resource(RT_GROUP_ICON, 1005);
    ASSERT_GE(group.size(), 6u) << "icon group 1005 missing";
    EXPECT_EQ(U16(group.data() + 2), 1) << "not an icon group";
    int count = U16(group.data() + 4);
    ASSERT_GE(group.size(), 6u + 14u * count);
    std::set<int> sizes;
    for (int i = 0; i < count; ++i) {
        const uint8_t* entry = group.data() + 6 + 14 * i;
        int size = entry[0];
        sizes.insert(size);
        EXPECT_EQ(entry[1], size) << "icon images are square";
        EXPECT_EQ(U16(entry + 6), 32) << "icon images are 32-bit";
        // The image itself: a DIB twice as high as wide (colour and mask),
        // with opaque pixels and a transparent surround.
        std::vector<uint8_t> image = Resource(RT_ICON, U16(entry + 12));
        ASSERT_GE(image.size(), 40u + size * size * 4u) << "icon image " << size;
        EXPECT_EQ(static_cast<int>(U32(image.data() + 4)), size);
        EXPECT_EQ(static_cast<int>(U32(image.data() + 8)), size * 2);
        int opaque = 0, clear = 0;
        for (int p = 0; p < size * size; ++p) {
            uint8_t alpha = image[40 + p * 4 + 3];
            opaque += alpha == 255;
            clear += alpha == 0;
        }
        EXPECT_GT(opaque, size * size / 8) << "icon " << size << " shows almost nothing";
        EXPECT_GT(clear, size * size / 4) << "icon " << size << " has no transparent surround";
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
    HICON small = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1005), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(small, nullptr) << "the system cannot load icon 1005";
    if (small) DestroyIcon(small);
}

TEST_F(GameResources, PickupSoundIsAShortPcmChime) {
    ExpectSound(1006, 0.15, 0.35);
}

TEST_F(GameResources, CrashSoundIsALongerPcmBurst) {
    ExpectSound(1007, 0.45, 0.8);
}

// ---- The pictures -----------------------------------------------------------

struct PictureSize {
    const char* name;
    int width, height;
};

const PictureSize kPictures[] = {
    {"logo.bmp", 800, 600},          {"livello.bmp", 800, 600},      {"replay.bmp", 800, 600},
    {"gameover.bmp", 800, 600},      {"player.bmp", 50, 400},        {"meteorne_notte.bmp", 45, 630},
    {"diamante.bmp", 32, 32},        {"sanmartino2.bmp", 800, 600},  {"cattedrale.bmp", 800, 600},
    {"chiesacerreto.bmp", 800, 600}, {"palazzogenio.bmp", 800, 600}, {"santuario.bmp", 800, 600},
    {"blank.bmp", 800, 600},
};

const std::string kFolder = "..\\images_games\\";

// A picture loaded as the game loads it, with its pixels at hand.
class Bitmap {
public:
    explicit Bitmap(const std::string& name) {
        handle = static_cast<HBITMAP>(LoadImageW(nullptr, Wide(kFolder + name).c_str(), IMAGE_BITMAP, 0, 0,
                                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (handle && GetObjectW(handle, sizeof(section), &section) != sizeof(section)) section = {};
    }
    ~Bitmap() {
        if (handle) DeleteObject(handle);
    }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    bool Loaded() const { return handle != nullptr && section.dsBm.bmBits != nullptr; }
    int Width() const { return section.dsBm.bmWidth; }
    int Height() const { return section.dsBm.bmHeight; }
    int Bits() const { return section.dsBm.bmBitsPixel; }
    // (R, G, B) of the pixel at (x, y), y counted from the top.
    COLORREF Pixel(int x, int y) const {
        const uint8_t* rows = static_cast<const uint8_t*>(section.dsBm.bmBits);
        const uint8_t* p = rows + static_cast<size_t>(Height() - 1 - y) * section.dsBm.bmWidthBytes + x * 3;
        return RGB(p[2], p[1], p[0]);
    }
    bool Black(int x, int y) const { return Pixel(x, y) == 0; }

private:
    HBITMAP handle = nullptr;
    DIBSECTION section{};
};

TEST(Pictures, EveryPictureLoadsAt24BitsAndItsSize) {
    for (const PictureSize& p : kPictures) {
        Bitmap b(p.name);
        ASSERT_TRUE(b.Loaded()) << p.name << " does not load";
        EXPECT_EQ(b.Width(), p.width) << p.name;
        EXPECT_EQ(b.Height(), p.height) << p.name;
        EXPECT_EQ(b.Bits(), 24) << p.name;
    }
}

TEST(Pictures, ChecksumTableMatchesTheShippedFilesInOrder) {
    ASSERT_EQ(std::size(kChecksums), std::size(kPictures));
    for (size_t i = 0; i < std::size(kPictures); ++i) {
        EXPECT_STREQ(kChecksums[i].name, kPictures[i].name);
        std::string bytes = ReadBytes(kFolder + kChecksums[i].name);
        ASSERT_FALSE(bytes.empty()) << kChecksums[i].name;
        uint8_t fold[16] = {};
        for (size_t n = 0; n < bytes.size(); ++n) fold[n % 16] ^= static_cast<uint8_t>(bytes[n]);
        char text[33] = {};
        for (int k = 0; k < 16; ++k) std::snprintf(text + 2 * k, 3, "%02X", fold[k]);
        EXPECT_STREQ(text, kChecksums[i].checksum) << kChecksums[i].name << " differs from the table";
    }
}

TEST(Pictures, TitleKeepsTheCopyrightBandDark) {
    // The game writes its copyright line in yellow at (240, 160).
    Bitmap logo("logo.bmp");
    ASSERT_TRUE(logo.Loaded());
    int bright = 0;
    for (int y = 150; y < 186; ++y)
        for (int x = 230; x < 720; ++x) {
            COLORREF c = logo.Pixel(x, y);
            if (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c) > 1100) ++bright;  // luma above ~110
        }
    EXPECT_LT(bright, 50) << "yellow text would be hard to read there";
}

// ---- The sprite strips ------------------------------------------------------

struct Strip {
    const char* name;
    int frameWidth, frameHeight, frames;
    std::set<int> unused;
};

const Strip kStrips[] = {
    {"player.bmp", 50, 50, 8, {}},
    {"meteorne_notte.bmp", 45, 63, 10, {5}},
    {"diamante.bmp", 32, 32, 1, {}},
};

TEST(SpriteStrips, FramesHaveTransparentCornersAndASolidBody) {
    for (const Strip& s : kStrips) {
        Bitmap b(s.name);
        ASSERT_TRUE(b.Loaded()) << s.name;
        ASSERT_EQ(b.Height(), s.frameHeight * s.frames) << s.name;
        for (int f = 0; f < s.frames; ++f) {
            const int top = f * s.frameHeight, w = s.frameWidth, h = s.frameHeight;
            EXPECT_TRUE(b.Black(0, top) && b.Black(w - 1, top) && b.Black(0, top + h - 1) &&
                        b.Black(w - 1, top + h - 1))
                << s.name << " frame " << f << ": corners must be transparent black";
            int drawn = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) drawn += !b.Black(x, top + y);
            if (s.unused.count(f)) {
                EXPECT_EQ(drawn, 0) << s.name << " frame " << f << " is never shown and stays empty";
            } else {
                EXPECT_GT(drawn, w * h / 5) << s.name << " frame " << f << " is (nearly) empty";
            }
        }
    }
}

TEST(SpriteStrips, PureBlackNeverShowsThroughTheBody) {
    // A black pixel with drawn pixels on both sides in both directions would
    // be a hole in the sprite, since black is the transparent colour.
    for (const Strip& s : kStrips) {
        Bitmap b(s.name);
        ASSERT_TRUE(b.Loaded()) << s.name;
        for (int f = 0; f < s.frames; ++f) {
            const int top = f * s.frameHeight;
            int holes = 0;
            for (int y = 1; y + 1 < s.frameHeight; ++y)
                for (int x = 1; x + 1 < s.frameWidth; ++x)
                    if (b.Black(x, top + y) && !b.Black(x - 1, top + y) && !b.Black(x + 1, top + y) &&
                        !b.Black(x, top + y - 1) && !b.Black(x, top + y + 1))
                        ++holes;
            EXPECT_EQ(holes, 0) << s.name << " frame " << f;
        }
    }
}

// Pixels of frame f that differ from frame g.
int FrameDifference(const Bitmap& b, const Strip& s, int f, int g) {
    int differ = 0;
    for (int y = 0; y < s.frameHeight; ++y)
        for (int x = 0; x < s.frameWidth; ++x)
            differ += b.Pixel(x, f * s.frameHeight + y) != b.Pixel(x, g * s.frameHeight + y);
    return differ;
}

TEST(SpriteStrips, AnimatedFramesChangeFromOneToTheNext) {
    // The ship's flame flickers; the rocks tumble and burn.
    const struct {
        const Strip& strip;
        int first, last;
    } cycles[] = {{kStrips[0], 0, 7}, {kStrips[1], 0, 4}, {kStrips[1], 6, 9}};
    for (const auto& c : cycles) {
        Bitmap b(c.strip.name);
        ASSERT_TRUE(b.Loaded());
        for (int f = c.first; f <= c.last; ++f) {
            int next = f == c.last ? c.first : f + 1;
            EXPECT_GT(FrameDifference(b, c.strip, f, next), 10)
                << c.strip.name << " frames " << f << " and " << next << " look the same";
        }
    }
}

}  // namespace
