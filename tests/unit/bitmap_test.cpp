#include "runtime/bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kestrun::rt {
namespace {

void append(std::vector<uint8_t>& bytes, uint64_t value, size_t size) {
  for (size_t i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// What a test bitmap's headers say.
struct Header {
  int32_t width = 1;
  int32_t height = 1;  // negative: top-down
  uint16_t bitCount = 8;
  uint32_t compression = 0;
  uint32_t headerSize = 40;  // 12 is the core header
  uint32_t coloursUsed = 0;
  std::vector<uint32_t> masks = {};  // written after a plain info header, or inside a larger one
};

// A bitmap file of the header, colour table (0xRRGGBB) and pixel bytes given.
std::vector<uint8_t> bitmapFile(const Header& h, const std::vector<uint32_t>& colours,
                                const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> info;
  append(info, h.headerSize, 4);
  if (h.headerSize == 12) {
    append(info, static_cast<uint32_t>(h.width), 2);
    append(info, static_cast<uint32_t>(h.height), 2);
    append(info, 1, 2);
    append(info, h.bitCount, 2);
  } else {
    append(info, static_cast<uint32_t>(h.width), 4);
    append(info, static_cast<uint32_t>(h.height), 4);
    append(info, 1, 2);
    append(info, h.bitCount, 2);
    append(info, h.compression, 4);
    append(info, static_cast<uint32_t>(pixels.size()), 4);
    append(info, 0, 8);
    append(info, h.coloursUsed, 4);
    append(info, 0, 4);
    for (uint32_t mask : h.masks) append(info, mask, 4);
    info.resize(std::max<size_t>(info.size(), h.headerSize), 0);
  }
  for (uint32_t rgb : colours) append(info, rgb, h.headerSize == 12 ? 3 : 4);
  std::vector<uint8_t> file = {'B', 'M'};
  append(file, static_cast<uint32_t>(14 + info.size() + pixels.size()), 4);
  append(file, 0, 4);
  append(file, static_cast<uint32_t>(14 + info.size()), 4);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

std::vector<uint32_t> decoded(const std::vector<uint8_t>& file) {
  const std::optional<Bitmap> bitmap = decodeBitmap(file);
  if (!bitmap) return {};
  EXPECT_EQ(bitmap->pixels.size(), static_cast<size_t>(bitmap->width) * bitmap->height);
  return bitmap->pixels;
}

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kWhite = 0xFFFFFF;
const std::vector<uint32_t> kFourColours = {0, kRed, kGreen, kBlue};
using Pixels = std::vector<uint32_t>;

TEST(BitmapIndexed, OneFourAndEightBitRowsAreReadBottomUpOrTopDown) {
  // 1 bit: 10 pixels in two bytes of each row, padded to four.
  const Header mono{.width = 10, .height = 2, .bitCount = 1};
  const std::vector<uint8_t> monoRows = {0b10000000, 0b01000000, 0, 0, 0b00000001, 0, 0, 0};
  EXPECT_EQ(decoded(bitmapFile(mono, {kRed, kWhite}, monoRows)),
            Pixels({kRed,   kRed, kRed, kRed, kRed, kRed, kRed, kWhite, kRed, kRed,  // top
                    kWhite, kRed, kRed, kRed, kRed, kRed, kRed, kRed,   kRed, kWhite}));

  const Header nibbles{.width = 3, .height = -2, .bitCount = 4, .coloursUsed = 4};
  const std::vector<uint8_t> nibbleRows = {0x12, 0x30, 0, 0, 0x00, 0x10, 0, 0};
  EXPECT_EQ(decoded(bitmapFile(nibbles, kFourColours, nibbleRows)),
            Pixels({kRed, kGreen, kBlue, 0, 0, kRed}));

  const Header bytes{.width = 2, .height = 2, .bitCount = 8, .coloursUsed = 4};
  EXPECT_EQ(decoded(bitmapFile(bytes, kFourColours, {1, 2, 0, 0, 3, 0, 0, 0})),
            Pixels({kBlue, 0, kRed, kGreen}));
}

TEST(BitmapIndexed, CoreAndLargerHeadersReadTheirOwnColourTables) {
  Header core{.width = 2, .height = 1, .bitCount = 8, .headerSize = 12};
  std::vector<uint32_t> table(256, 0);
  table[7] = 0x123456;
  EXPECT_EQ(decoded(bitmapFile(core, table, {7, 0, 0, 0})), Pixels({0x123456, 0}));
  for (uint32_t size : {52u, 56u, 108u, 124u}) {
    const Header larger{
        .width = 1, .height = 1, .bitCount = 4, .headerSize = size, .coloursUsed = 2};
    EXPECT_EQ(decoded(bitmapFile(larger, {kGreen, 0xABCDEF}, {0x10, 0, 0, 0})), Pixels({0xABCDEF}))
        << size;
  }
}

TEST(BitmapIndexed, APixelBeyondTheColourTableIsRefused) {
  const Header two{.width = 2, .height = 1, .bitCount = 8, .coloursUsed = 2};
  EXPECT_FALSE(decodeBitmap(bitmapFile(two, {kRed, kGreen}, {1, 2, 0, 0})));
  // Padding bytes are never pixels.
  EXPECT_TRUE(decodeBitmap(bitmapFile(two, {kRed, kGreen}, {1, 0, 9, 9})));
  const Header mono{.width = 8, .height = 1, .bitCount = 1, .coloursUsed = 1};
  EXPECT_FALSE(decodeBitmap(bitmapFile(mono, {kRed}, {0x01, 0, 0, 0})));
}

TEST(BitmapDirect, TwentyFourBitPixelsAreBlueGreenRed) {
  const Header h{.width = 2, .height = 2, .bitCount = 24};
  const std::vector<uint8_t> rows = {0x56, 0x34, 0x12, 0xFF, 0, 0,    0, 0,   // bottom row
                                     0,    0xFF, 0,    0,    0, 0xFF, 0, 0};  // top row
  EXPECT_EQ(decoded(bitmapFile(h, {}, rows)), Pixels({kGreen, kRed, 0x123456, kBlue}));
}

TEST(BitmapDirect, SixteenAndThirtyTwoBitLayouts) {
  // Five bits a channel unless masks say otherwise; 31 is full, 16 about half.
  const Header plain16{.width = 2, .height = 1, .bitCount = 16};
  EXPECT_EQ(decoded(bitmapFile(plain16, {}, {0x00, 0x7C, 0x00, 0x02})), Pixels({kRed, 0x008300}));
  const Header rgb565{
      .width = 2, .height = 1, .bitCount = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
  EXPECT_EQ(decoded(bitmapFile(rgb565, {}, {0xE0, 0x07, 0x1F, 0x00})), Pixels({0x00FE00, kBlue}));
  const Header bgr565{
      .width = 1, .height = 1, .bitCount = 16, .compression = 3, .masks = {0x001F, 0x07E0, 0xF800}};
  EXPECT_EQ(decoded(bitmapFile(bgr565, {}, {0xE0, 0x07, 0, 0})), Pixels({kGreen}));

  // 32 bits: the alpha byte is not a colour.
  const Header plain32{.width = 1, .height = 1, .bitCount = 32};
  EXPECT_EQ(decoded(bitmapFile(plain32, {}, {0x56, 0x34, 0x12, 0x80})), Pixels({0x123456}));
  const Header rgba{.width = 1,
                    .height = 1,
                    .bitCount = 32,
                    .compression = 3,
                    .headerSize = 108,
                    .masks = {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}};
  EXPECT_EQ(decoded(bitmapFile(rgba, {}, {0x80, 0x56, 0x34, 0x12})), Pixels({0x123456}));

  // Masks of no known layout are refused.
  const Header odd{.width = 1,
                   .height = 1,
                   .bitCount = 32,
                   .compression = 3,
                   .masks = {0x0000000F, 0x000000F0, 0x00000F00}};
  EXPECT_FALSE(decodeBitmap(bitmapFile(odd, {}, {0, 0, 0, 0})));
}

// Run-length pictures are bottom-up: the first row of the data is the lowest.
TEST(BitmapRunLength, EightBitRunsLiteralsMovesAndRowEnds) {
  const Header h{.width = 4, .height = 3, .bitCount = 8, .compression = 1, .coloursUsed = 4};
  const std::vector<uint8_t> data = {3, 1,        // bottom row: three red
                                     0, 2, 0, 1,  // none right, one up
                                     1, 3,        // one blue, after the three
                                     0, 0,        // end of row: the top row begins
                                     0, 3, 2, 3,
                                     2, 0,   // three literal pixels, padded to an even count
                                     0, 1};  // end of picture
  EXPECT_EQ(decoded(bitmapFile(h, kFourColours, data)), Pixels({kGreen, kBlue, kGreen, 0,  // top
                                                                0, 0, 0, kBlue,            // middle
                                                                kRed, kRed, kRed, 0}));
}

TEST(BitmapRunLength, FourBitRunsAlternateTheirTwoNibbles) {
  const Header h{.width = 5, .height = 1, .bitCount = 4, .compression = 2, .coloursUsed = 4};
  EXPECT_EQ(decoded(bitmapFile(h, kFourColours, {3, 0x12, 0, 1})),
            Pixels({kRed, kGreen, kRed, 0, 0}));
  // A literal of three nibbles takes two bytes; the padding keeps words even.
  EXPECT_EQ(decoded(bitmapFile(h, kFourColours, {0, 3, 0x31, 0x20, 1, 0x33, 0, 1})),
            Pixels({kBlue, kRed, kGreen, kBlue, 0}));
}

TEST(BitmapRunLength, RunsPastTheRowGoOnBelowAndMovesAboveTheTopAreLost) {
  const Header h{.width = 2, .height = 2, .bitCount = 8, .compression = 1, .coloursUsed = 4};
  // Rows are four bytes apart: two pixels, two unseen, then the row below.
  EXPECT_EQ(decoded(bitmapFile(h, kFourColours, {0, 0, 6, 2, 0, 1})),
            Pixels({kGreen, kGreen, kGreen, kGreen}));
  EXPECT_EQ(decoded(bitmapFile(h, kFourColours, {0, 2, 0, 5, 2, 1, 0, 1})), Pixels({0, 0, 0, 0}));
  // An index past the colour table is black.
  EXPECT_EQ(decoded(bitmapFile(h, kFourColours, {4, 9, 0, 1})), Pixels({0, 0, 0, 0}));
}

TEST(BitmapRunLength, DataWithoutItsEndMarkIsRefused) {
  const Header h{.width = 2, .height = 1, .bitCount = 8, .compression = 1, .coloursUsed = 4};
  EXPECT_FALSE(decodeBitmap(bitmapFile(h, kFourColours, {2, 1})));
  EXPECT_FALSE(decodeBitmap(bitmapFile(h, kFourColours, {0, 4, 1, 1, 1})));
  EXPECT_FALSE(decodeBitmap(bitmapFile(h, kFourColours, {0, 2, 1})));
}

TEST(BitmapLimits, SidesAndHeadersOutsideWhatTheGameReadsAreRefused) {
  const Header huge{.width = 4097, .height = 4096, .bitCount = 8, .compression = 1};
  EXPECT_FALSE(decodeBitmap(bitmapFile(huge, std::vector<uint32_t>(256, 0), {0, 1})));
  const Header largest{.width = 4096, .height = 4096, .bitCount = 8, .compression = 1};
  const std::optional<Bitmap> big =
      decodeBitmap(bitmapFile(largest, std::vector<uint32_t>(256, kRed), {0, 1}));
  ASSERT_TRUE(big);
  EXPECT_EQ(big->pixels.back(), kRed);
  // Run-length data is stored bottom-up only; two bits a pixel are not read.
  EXPECT_FALSE(decodeBitmap(bitmapFile({.height = -1, .compression = 1}, kFourColours, {0, 1})));
  EXPECT_FALSE(decodeBitmap(bitmapFile({.bitCount = 2}, kFourColours, {0, 0, 0, 0})));
  EXPECT_FALSE(decodeBitmap(bitmapFile({.headerSize = 64}, kFourColours, {0, 0, 0, 0})));
}

}  // namespace
}  // namespace kestrun::rt
