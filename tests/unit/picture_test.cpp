#include "runtime/picture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <vector>

#include "runtime/bitmap.h"
#include "runtime/errors.h"
#include "runtime/graphics.h"
#include "test_support.h"

namespace kestrun::rt {
namespace {

void putLittleEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value, size_t size) {
  for (size_t i = 0; i < size; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A 24-bit uncompressed bitmap, rows bottom-up unless `topDown`.
std::vector<uint8_t> bitmap24(int width, int height, const std::function<uint32_t(int, int)>& rgbAt,
                              bool topDown = false) {
  const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  std::vector<uint8_t> bytes(54 + rowBytes * height, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  putLittleEndian(bytes, 2, static_cast<uint32_t>(bytes.size()), 4);
  putLittleEndian(bytes, 10, 54, 4);
  putLittleEndian(bytes, 14, 40, 4);
  putLittleEndian(bytes, 18, static_cast<uint32_t>(width), 4);
  putLittleEndian(bytes, 22, static_cast<uint32_t>(topDown ? -height : height), 4);
  putLittleEndian(bytes, 26, 1, 2);
  putLittleEndian(bytes, 28, 24, 2);
  putLittleEndian(bytes, 34, static_cast<uint32_t>(rowBytes * height), 4);
  for (int y = 0; y < height; ++y) {
    const size_t stored = topDown ? y : height - 1 - y;
    for (int x = 0; x < width; ++x) {
      const uint32_t rgb = rgbAt(x, y);
      const size_t at = 54 + stored * rowBytes + x * 3;
      bytes[at] = rgb & 0xFF;
      bytes[at + 1] = rgb >> 8 & 0xFF;
      bytes[at + 2] = rgb >> 16 & 0xFF;
    }
  }
  return bytes;
}

// An 8-bit run-length bitmap of any size whose data is only the end mark.
std::vector<uint8_t> runLengthBitmap(int width, int height) {
  constexpr size_t kPixels = 54 + 256 * 4;
  std::vector<uint8_t> bytes(kPixels + 2, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  putLittleEndian(bytes, 2, static_cast<uint32_t>(bytes.size()), 4);
  putLittleEndian(bytes, 10, kPixels, 4);
  putLittleEndian(bytes, 14, 40, 4);
  putLittleEndian(bytes, 18, static_cast<uint32_t>(width), 4);
  putLittleEndian(bytes, 22, static_cast<uint32_t>(height), 4);
  putLittleEndian(bytes, 26, 1, 2);
  putLittleEndian(bytes, 28, 8, 2);
  putLittleEndian(bytes, 30, 1, 4);
  putLittleEndian(bytes, 34, 2, 4);
  bytes[kPixels + 1] = 1;
  return bytes;
}

// Four quadrants: red, green / blue, white.
uint32_t quadrants(int x, int y) {
  static constexpr uint32_t colours[2][2] = {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}};
  return colours[y >= 2][x >= 2];
}

class PictureFiles : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(directory_); }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = directory_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  int loadError(const std::string& path) {
    Picture picture;
    picture.create();
    return errorCodeOf([&] { picture.load(path); });
  }

  std::filesystem::path directory_ =
      std::filesystem::temp_directory_path() / ("kestrun_picture_" + std::to_string(::getpid()));
};

TEST_F(PictureFiles, ShowsALoadedBitmapStretched) {
  Picture picture;
  picture.create();
  picture.load(write("1G.BMP", bitmap24(4, 4, quadrants)));
  ASSERT_TRUE(picture.loaded());
  EXPECT_EQ(picture.width(), 4);
  EXPECT_EQ(picture.height(), 4);
  EXPECT_EQ(picture.pixels()[0], 0xFF0000u);
  EXPECT_EQ(picture.pixels()[15], 0xFFFFFFu);

  GraphicsPlane plane;
  picture.show(plane, 260, 155, 120, 120);
  EXPECT_EQ(plane.pixel(260, 155), 0xFF0000u);
  EXPECT_EQ(plane.pixel(319, 214), 0xFF0000u);
  EXPECT_EQ(plane.pixel(320, 155), 0x00FF00u);
  EXPECT_EQ(plane.pixel(260, 215), 0x0000FFu);
  EXPECT_EQ(plane.pixel(379, 274), 0xFFFFFFu);
  EXPECT_EQ(plane.pixel(380, 274), 0u);
  EXPECT_EQ(plane.pixel(379, 275), 0u);
  EXPECT_EQ(plane.pixel(259, 155), 0u);
}

TEST_F(PictureFiles, TopDownBitmapsAndOddWidthsLoad) {
  Picture picture;
  picture.create();
  picture.load(write(
      "2G.BMP", bitmap24(
                    3, 2, [](int x, int y) { return x == 2 && y == 0 ? 0x123456u : 0u; }, true)));
  EXPECT_EQ(picture.width(), 3);
  EXPECT_EQ(picture.pixels()[2], 0x123456u);
  EXPECT_EQ(picture.pixels()[5], 0u);
}

TEST_F(PictureFiles, FreeAndReloadReplaceTheContent) {
  Picture picture;
  picture.create();
  picture.load(write("a.bmp", bitmap24(4, 4, quadrants)));
  picture.load(write("b.bmp", bitmap24(2, 1, [](int, int) { return 0x00FF00u; })));
  EXPECT_EQ(picture.width(), 2);
  picture.free();
  EXPECT_FALSE(picture.loaded());

  GraphicsPlane plane;
  picture.show(plane, 0, 0, 100, 100);
  EXPECT_EQ(plane.pixel(10, 10), 0u);
  picture.load(write("c.bmp", bitmap24(1, 1, [](int, int) { return 0x0000FFu; })));
  picture.show(plane, 0, 0, 10, 10);
  EXPECT_EQ(plane.pixel(9, 9), 0x0000FFu);
}

TEST_F(PictureFiles, ObjectLifecycleErrors) {
  Picture picture;
  GraphicsPlane plane;
  EXPECT_EQ(errorCodeOf([&] { picture.load("x.bmp"); }), err::PictureMissing);
  EXPECT_EQ(errorCodeOf([&] { picture.show(plane, 0, 0, 10, 10); }), err::PictureMissing);
  picture.create();
  EXPECT_EQ(errorCodeOf([&] { picture.create(); }), err::PictureAlreadyCreated);
  EXPECT_EQ(errorCodeOf([&] { picture.load(std::string(129, 'a')); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([&] { picture.load(std::string(128, 'a')); }), err::FileNotFound);
}

TEST_F(PictureFiles, MissingAndUnreadableFiles) {
  EXPECT_EQ(loadError((directory_ / "9M.BMP").string()), err::FileNotFound);
  EXPECT_EQ(loadError((directory_ / "nodir" / "9M.BMP").string()), err::FileNotFound);
  EXPECT_EQ(loadError(directory_.string()), err::AccessDenied);
}

TEST_F(PictureFiles, BrokenBitmapsAreRefused) {
  const std::vector<uint8_t> good = bitmap24(8, 8, quadrants);
  std::vector<uint8_t> truncated(good.begin(), good.end() - 5);
  EXPECT_EQ(loadError(write("truncated.bmp", truncated)), err::AccessDenied);

  std::vector<uint8_t> tallerThanItsData = good;
  putLittleEndian(tallerThanItsData, 22, 800, 4);
  EXPECT_EQ(loadError(write("lies.bmp", tallerThanItsData)), err::AccessDenied);

  std::mt19937 generator(7);
  std::vector<uint8_t> noise(2000);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(generator());
  EXPECT_EQ(loadError(write("noise.bmp", noise)), err::AccessDenied);
  noise[0] = 'B';
  noise[1] = 'M';
  EXPECT_EQ(loadError(write("noise2.bmp", noise)), err::AccessDenied);
  EXPECT_EQ(loadError(write("empty.bmp", {})), err::AccessDenied);
}

TEST(PictureHeaders, InconsistentHeadersAreNotSound) {
  const std::vector<uint8_t> good = bitmap24(5, 3, quadrants);
  EXPECT_TRUE(isSoundBitmap(good));

  const auto with = [&](size_t at, uint32_t value, size_t size) {
    std::vector<uint8_t> bytes = good;
    putLittleEndian(bytes, at, value, size);
    return bytes;
  };
  EXPECT_FALSE(isSoundBitmap(with(14, 41, 4)));                        // unknown header size
  EXPECT_FALSE(isSoundBitmap(with(18, 0, 4)));                         // no width
  EXPECT_FALSE(isSoundBitmap(with(22, 0, 4)));                         // no height
  EXPECT_FALSE(isSoundBitmap(with(18, 20000, 4)));                     // absurd width
  EXPECT_FALSE(isSoundBitmap(with(28, 7, 2)));                         // bit count
  EXPECT_FALSE(isSoundBitmap(with(30, 1, 4)));                         // run-length 8 with 24 bits
  EXPECT_FALSE(isSoundBitmap(with(30, 9, 4)));                         // unknown compression
  EXPECT_FALSE(isSoundBitmap(with(10, 0x10000, 4)));                   // pixels beyond the end
  EXPECT_FALSE(isSoundBitmap(with(10, 20, 4)));                        // pixels inside the headers
  EXPECT_FALSE(isSoundBitmap(with(46, 200, 4)));                       // palette beyond the end
  EXPECT_TRUE(isSoundBitmap(with(22, static_cast<uint32_t>(-3), 4)));  // top-down
}

// A few bytes of run-length data must not make the loader decode gigabytes.
TEST(PictureHeaders, HugeRunLengthPicturesAreNotSound) {
  EXPECT_TRUE(isSoundBitmap(runLengthBitmap(16, 8)));
  EXPECT_TRUE(isSoundBitmap(runLengthBitmap(4096, 4096)));
  EXPECT_FALSE(isSoundBitmap(runLengthBitmap(4097, 4096)));
  EXPECT_FALSE(isSoundBitmap(runLengthBitmap(16384, 16384)));
}

}  // namespace
}  // namespace kestrun::rt
