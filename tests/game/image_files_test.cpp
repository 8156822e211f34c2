#include "support/fakes.h"
#include "support/file_support.h"
#include "support/gdi_support.h"
#include "framework/shell.h"
#include "game/image_files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace Meteorni;
using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

const std::string kZeros(32, '0');

const char* const kShippedPictures[] = {"logo.bmp",       "livello.bmp",        "replay.bmp",       "gameover.bmp",
                                        "player.bmp",     "meteorne_notte.bmp", "diamante.bmp",     "sanmartino2.bmp",
                                        "cattedrale.bmp", "chiesacerreto.bmp",  "palazzogenio.bmp", "santuario.bmp",
                                        "blank.bmp"};

fs::path WidePath(const std::string& path) {
    return fs::path(Orditex::ToWide(path));
}

// The plain definition of the checksum, one byte at a time.
std::string FoldByteByByte(const std::string& bytes) {
    unsigned char sum[16] = {};
    for (size_t n = 0; n < bytes.size(); ++n) sum[n % 16] ^= static_cast<unsigned char>(bytes[n]);
    std::string text;
    char digits[3];
    for (unsigned char b : sum) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        text += digits;
    }
    return text;
}

}  // namespace

TEST(FileChecksum, EmptyAndMissingFilesGiveZeros) {
    TemporaryFolder folder(L"checksum");
    std::string path = folder.NarrowPath() + "\\empty.bin";
    WriteBytes(path, "");
    EXPECT_EQ(FileChecksum(path), kZeros);
    fs::remove(WidePath(path));
    EXPECT_EQ(FileChecksum(path), kZeros);
    EXPECT_EQ(FileChecksum(folder.NarrowPath()), kZeros) << "a folder is no picture";
}

TEST(FileChecksum, ManyBlocksFoldLikeTheBytesOneByOne) {
    TemporaryFolder folder(L"checksum");
    std::string path = folder.NarrowPath() + "\\blocks.bin";
    std::string bytes;
    unsigned int state = 12345;
    for (size_t n = 0; n < 3 * 10240 + 777; ++n) {
        state = state * 1103515245u + 12345u;
        bytes.push_back(static_cast<char>(state >> 16));
    }
    WriteBytes(path, bytes);
    EXPECT_EQ(FileChecksum(path), FoldByteByByte(bytes));

    bytes.resize(2 * 10240);  // ends exactly on a block boundary
    WriteBytes(path, bytes);
    EXPECT_EQ(FileChecksum(path), FoldByteByByte(bytes));
    EXPECT_NE(FileChecksum(path), kZeros);
}

// Needs the real picture set and its generated table; the tests run from bin/,
// where the game finds its pictures.
TEST(ShippedPictures, EveryPictureMatchesItsRow) {
    for (const char* name : kShippedPictures) {
        std::string path = std::string("..\\images_games\\") + name;
        SCOPED_TRACE(name);
        ASSERT_TRUE(Orditex::FileExists(path));
        ASSERT_EQ(ExpectedChecksum(name).size(), 32u);
        EXPECT_EQ(FileChecksum(path), ExpectedChecksum(name));
    }
}

namespace {

// A private game folder: root\bin is the working folder, as for the game, with
// the pictures in root\images_games (preferred) or root\bin\images_games
// (fallback). Starts from a copy of the shipped logo.
class ImageLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t cwd[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, cwd);
        previousFolder = cwd;
        logoBytes = ReadBytes("..\\images_games\\logo.bmp");
        ASSERT_FALSE(logoBytes.empty());
        ASSERT_EQ(FoldByteByByte(logoBytes), ExpectedChecksum("logo.bmp")) << "the shipped logo must be intact";

        root = folder.NarrowPath();
        fs::create_directories(WidePath(root + "\\bin\\images_games"));
        fs::create_directories(WidePath(root + "\\images_games"));
        ASSERT_TRUE(SetCurrentDirectoryW(Orditex::ToWide(root + "\\bin").c_str()));

        CaptureErrorBoxes();
    }
    void TearDown() override {
        ReleaseImages(cache);
        StopCapturingErrorBoxes();
        SetCurrentDirectoryW(previousFolder.c_str());
    }

    std::string Preferred(const std::string& name) const { return root + "\\images_games\\" + name; }
    std::string Fallback(const std::string& name) const { return root + "\\bin\\images_games\\" + name; }

    static std::string Damaged(std::string bytes) {
        bytes[bytes.size() / 2] ^= 0x01;
        return bytes;
    }

    void ExpectRejected(const std::string& path) {
        size_t boxes = CapturedErrorBoxes().size();
        bool rejected = false;
        EXPECT_EQ(LoadVerifiedImage(cache, path, &rejected), nullptr);
        EXPECT_TRUE(rejected);
        ASSERT_EQ(CapturedErrorBoxes().size(), boxes + 1);
        EXPECT_EQ(CapturedErrorBoxes().back().text,
                  "Immagine corrotta o dannegiata. Ripristinare la cartella immagine");
        EXPECT_EQ(CapturedErrorBoxes().back().caption, "errore");
        EXPECT_TRUE(cache.empty()) << "a failed comparison is never cached";
    }

    TemporaryFolder folder{L"images"};
    std::wstring previousFolder;
    std::string root;
    std::string logoBytes;
    ImageCache cache;
};

}  // namespace

TEST_F(ImageLoaderTest, PreferredFolderIsUsedAndCached) {
    WriteBytes(Preferred("logo.bmp"), logoBytes);
    WriteBytes(Fallback("logo.bmp"), logoBytes);
    EXPECT_EQ(ResolveImagePath("..\\images_games\\logo.bmp"), "..\\images_games\\logo.bmp");

    bool rejected = true;
    HBITMAP logo = LoadVerifiedImage(cache, "..\\images_games\\logo.bmp", &rejected);
    ASSERT_NE(logo, nullptr);
    EXPECT_FALSE(rejected);
    EXPECT_TRUE(CapturedErrorBoxes().empty());
    ASSERT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.begin()->first, "..\\images_games\\logo.bmp");
    EXPECT_EQ(cache.begin()->second, logo);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(logo, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_GT(info.bmWidth, 0);
    EXPECT_GT(info.bmHeight, 0);
}

TEST_F(ImageLoaderTest, FallbackPathBecomesTheKey) {
    WriteBytes(Fallback("logo.bmp"), logoBytes);
    EXPECT_EQ(ResolveImagePath("..\\images_games\\logo.bmp"), "images_games\\logo.bmp");
    HBITMAP logo = LoadVerifiedImage(cache, "..\\images_games\\logo.bmp", nullptr);
    ASSERT_NE(logo, nullptr);
    ASSERT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.begin()->first, "images_games\\logo.bmp");
    // Asking by the resolved path finds the same entry.
    EXPECT_EQ(LoadVerifiedImage(cache, "images_games\\logo.bmp", nullptr), logo);
    EXPECT_EQ(cache.size(), 1u);
}

TEST_F(ImageLoaderTest, MissingEverywhereIsRejected) {
    EXPECT_EQ(ResolveImagePath("..\\images_games\\logo.bmp"), "images_games\\logo.bmp");
    ExpectRejected("..\\images_games\\logo.bmp");
}

TEST_F(ImageLoaderTest, SecondLoadComesFromTheCacheWithoutReadingTheFile) {
    WriteBytes(Preferred("logo.bmp"), logoBytes);
    HBITMAP first = LoadVerifiedImage(cache, "..\\images_games\\logo.bmp", nullptr);
    ASSERT_NE(first, nullptr);

    WriteBytes(Preferred("logo.bmp"), Damaged(logoBytes));
    bool rejected = true;
    EXPECT_EQ(LoadVerifiedImage(cache, "..\\images_games\\logo.bmp", &rejected), first);
    EXPECT_FALSE(rejected);
    EXPECT_TRUE(CapturedErrorBoxes().empty());
    EXPECT_EQ(cache.size(), 1u);
}

TEST_F(ImageLoaderTest, DamagedPictureIsRejectedUntilRepaired) {
    WriteBytes(Preferred("logo.bmp"), Damaged(logoBytes));
    ExpectRejected("..\\images_games\\logo.bmp");

    WriteBytes(Preferred("logo.bmp"), logoBytes);
    bool rejected = true;
    EXPECT_NE(LoadVerifiedImage(cache, "..\\images_games\\logo.bmp", &rejected), nullptr);
    EXPECT_FALSE(rejected);
    EXPECT_EQ(cache.size(), 1u);
}

TEST_F(ImageLoaderTest, NamesOutsideTheTableAreRejected) {
    // Both files hold the intact logo; only the name asked for differs.
    WriteBytes(Preferred("Logo.bmp"), logoBytes);
    WriteBytes(Preferred("nuova.bmp"), logoBytes);
    ExpectRejected("..\\images_games\\Logo.bmp");
    ExpectRejected("..\\images_games\\nuova.bmp");
    // An empty file has a checksum of zeros, which no row holds.
    WriteBytes(Preferred("blank.bmp"), "");
    ExpectRejected("..\\images_games\\blank.bmp");
}

TEST_F(ImageLoaderTest, LoadingDrawingAndReleasingAgainAndAgainLeaksNothing) {
    WriteBytes(Preferred("logo.bmp"), logoBytes);
    TestSupport::TestSurface surface(100, 100);
    size_t headroom = TestSupport::GdiHeadroom();
    for (int round = 0; round < 100; ++round) {
        HBITMAP logo = LoadVerifiedImage(cache, "..\\images_games\\logo.bmp", nullptr);
        ASSERT_NE(logo, nullptr);
        // A plain and a transparent copy: what is kept to draw it is made.
        surface.DrawImagePart(logo, 0, 0, 50, 50, 100, 100);
        surface.DrawImagePartTransparent(logo, 50, 50, 50, 50, 100);
        ReleaseImages(cache);
        ASSERT_EQ(GetObjectType(logo), 0u) << "round " << round;
        ASSERT_TRUE(cache.empty()) << "round " << round;
    }
    EXPECT_EQ(surface.errors, 0);
    EXPECT_EQ(TestSupport::GdiHeadroom(), headroom);
}
