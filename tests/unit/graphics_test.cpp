#include "runtime/graphics.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "runtime/composite.h"
#include "runtime/errors.h"
#include "runtime/font.h"
#include "runtime/sjis.h"
#include "runtime/textscreen.h"
#include "test_support.h"

namespace kestrun::rt {
namespace {

using namespace literals;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kBlue = 0x0000FF;

size_t countPixels(const GraphicsPlane& plane, uint32_t rgb) {
  return std::count(plane.pixels().begin(), plane.pixels().end(), rgb);
}

const Font* defaultFont() {
  return &Font::builtIn();
}

uint16_t codeOf(std::string_view sjisChar) {
  if (sjisChar.size() == 1) return static_cast<uint8_t>(sjisChar[0]);
  return static_cast<uint16_t>(static_cast<uint8_t>(sjisChar[0]) << 8 |
                               static_cast<uint8_t>(sjisChar[1]));
}

bool glyphBit(const Font::Glyph& glyph, int column, int row) {
  return glyph.rows[row] >> (glyph.width - 1 - column) & 1;
}

TEST(GraphicsClear, EveryKindOfDrawingIsClearedEvenRightAfterAnEarlierClear) {
  GraphicsPlane plane;
  const std::vector<uint32_t> image(4, kRed);
  const std::vector<std::function<void()>> drawings = {
      [&] { plane.LINE(0, 0, 10, 10, 15); },
      [&] { plane.PSET(3, 3, 15); },
      [&] { plane.PAINT(0, 0, 15, std::vector<double>{1}); },
      [&] { plane.drawText(0, 0, "A", 15, *defaultFont()); },
      [&] { plane.blitStretched(image, 2, 2, 0, 0, 8, 8); },
      [&] { plane.pixels()[5] = kRed; },
  };
  for (size_t i = 0; i < drawings.size(); ++i) {
    plane.clear();
    plane.clear();  // a blank plane: nothing to do
    const uint64_t blank = plane.version();
    drawings[i]();
    EXPECT_NE(plane.version(), blank) << "drawing " << i;
    plane.clear();
    EXPECT_EQ(countPixels(plane, 0), plane.pixels().size()) << "drawing " << i;
  }
}

TEST(GraphicsLine, DrawsBothEndPointsAndColourZeroErasesIt) {
  GraphicsPlane plane;
  plane.LINE(10, 20, 110, 57, 15);
  EXPECT_EQ(plane.pixel(10, 20), kWhite);
  EXPECT_EQ(plane.pixel(110, 57), kWhite);
  // A connected line has one pixel per step along its longer axis.
  EXPECT_EQ(countPixels(plane, kWhite), 101u);

  plane.LINE(10, 20, 110, 57, 0);
  EXPECT_EQ(countPixels(plane, 0), plane.pixels().size());

  plane.LINE(300, 5, 300, 0, 9);
  EXPECT_EQ(countPixels(plane, 0x00FF00), 6u);
}

TEST(GraphicsLine, BoxesFillOrOutlineWithTheirEdges) {
  GraphicsPlane plane;
  plane.LINE(50, 40, 20, 10, 1, BoxMode::Filled);
  EXPECT_EQ(countPixels(plane, kGrey), 31u * 31u);
  EXPECT_EQ(plane.pixel(20, 10), kGrey);
  EXPECT_EQ(plane.pixel(50, 40), kGrey);
  EXPECT_EQ(plane.pixel(19, 10), 0u);
  EXPECT_EQ(plane.pixel(50, 41), 0u);

  GraphicsPlane outline;
  outline.LINE(20, 10, 50, 40, 15, BoxMode::Outline);
  EXPECT_EQ(countPixels(outline, kWhite), 4u * 30u);
  EXPECT_EQ(outline.pixel(20, 25), kWhite);
  EXPECT_EQ(outline.pixel(50, 25), kWhite);
  EXPECT_EQ(outline.pixel(35, 10), kWhite);
  EXPECT_EQ(outline.pixel(35, 40), kWhite);
  EXPECT_EQ(outline.pixel(21, 11), 0u);
  EXPECT_EQ(outline.pixel(35, 25), 0u);
}

TEST(GraphicsArguments, ColoursAndCoordinatesAreChecked) {
  GraphicsPlane plane;
  EXPECT_EQ(errorCodeOf([&] { plane.LINE(0, 0, 10, 10, 16); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([&] { plane.PSET(0, 0, -1); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([&] { plane.LINE(0, 0, 40000, 10, 15); }), err::Overflow);
  EXPECT_EQ(errorCodeOf([&] { plane.PSET(0, -40000, 15); }), err::Overflow);
  const std::vector<double> badBorder = {15, 16};
  EXPECT_EQ(errorCodeOf([&] { plane.PAINT(5, 5, 3, badBorder); }), err::IllegalArgument);
  EXPECT_EQ(countPixels(plane, 0), plane.pixels().size());

  // Coordinates round half to even.
  plane.PSET(2.5, 3.5, 15);
  EXPECT_EQ(plane.pixel(2, 4), kWhite);
  EXPECT_EQ(graphicsColourRgb(13), 0xFFFF00u);
  EXPECT_EQ(graphicsColourRgb(2), 0x000080u);
}

TEST(GraphicsClipping, DrawingOffThePlaneIsClipped) {
  GraphicsPlane plane;
  plane.LINE(-1000, -1000, 2000, 2000, 15);
  EXPECT_EQ(plane.pixel(0, 0), kWhite);
  EXPECT_EQ(plane.pixel(431, 431), kWhite);
  EXPECT_EQ(countPixels(plane, kWhite), 432u);

  GraphicsPlane boxes;
  boxes.LINE(-50, -50, 9, 9, 5, BoxMode::Filled);
  EXPECT_EQ(countPixels(boxes, kRed), 100u);
  boxes.LINE(630, 420, 32000, 32000, 3, BoxMode::Outline);
  EXPECT_EQ(boxes.pixel(639, 431), 0u);
  EXPECT_EQ(boxes.pixel(630, 431), kBlue);
  EXPECT_EQ(boxes.pixel(639, 420), kBlue);
  boxes.LINE(-30000, -30000, -1, -1, 15, BoxMode::Filled);
  boxes.PSET(640, 0, 15);
  boxes.PSET(0, 432, 15);
  EXPECT_EQ(countPixels(boxes, kWhite), 0u);
}

TEST(GraphicsPaint, FillsInsideItsBorderOnly) {
  GraphicsPlane plane;
  plane.LINE(100, 100, 200, 150, 15, BoxMode::Outline);
  const std::vector<double> white = {15};
  plane.PAINT(150, 125, 5, white);
  EXPECT_EQ(countPixels(plane, kRed), 99u * 49u);
  EXPECT_EQ(plane.pixel(101, 101), kRed);
  EXPECT_EQ(plane.pixel(100, 101), kWhite);
  EXPECT_EQ(plane.pixel(99, 125), 0u);

  // Starting on a border pixel or off the plane does nothing.
  plane.PAINT(100, 100, 9, white);
  plane.PAINT(-5, 10, 9, white);
  EXPECT_EQ(countPixels(plane, 0x00FF00), 0u);
}

TEST(GraphicsPaint, LeaksOutOfAnOpenBox) {
  GraphicsPlane plane;
  plane.LINE(100, 100, 200, 150, 15, BoxMode::Outline);
  plane.PSET(200, 120, 0);
  const std::vector<double> white = {15};
  plane.PAINT(150, 125, 5, white);
  EXPECT_EQ(plane.pixel(0, 0), kRed);
  EXPECT_EQ(plane.pixel(639, 431), kRed);
  EXPECT_EQ(countPixels(plane, kWhite), 2u * 101u + 2u * 49u - 1);
}

TEST(GraphicsPaint, StopsAtAnyOfSeveralBorderColours) {
  GraphicsPlane plane;
  plane.LINE(100, 100, 200, 150, 15, BoxMode::Outline);
  plane.LINE(150, 100, 150, 150, 13);
  const std::vector<double> borders = {15, 13};
  plane.PAINT(120, 120, 5, borders);
  EXPECT_EQ(plane.pixel(149, 120), kRed);
  EXPECT_EQ(plane.pixel(151, 120), 0u);

  // Only the listed colours bound the fill: the yellow divider is painted over.
  GraphicsPlane single;
  single.LINE(100, 100, 200, 150, 15, BoxMode::Outline);
  single.LINE(150, 101, 150, 149, 13);
  const std::vector<double> white = {15};
  single.PAINT(120, 120, 5, white);
  EXPECT_EQ(single.pixel(150, 120), kRed);
  EXPECT_EQ(single.pixel(180, 120), kRed);
}

TEST(GraphicsPaint, FollowsWindingPassagesAndCrossesFillColouredPixels) {
  GraphicsPlane plane;
  plane.LINE(0, 0, 300, 200, 15, BoxMode::Outline);
  // Teeth alternately from the top and the bottom make one serpentine passage.
  for (int x = 10; x < 300; x += 10) {
    if (x % 20 == 0) {
      plane.LINE(x, 0, x, 190, 15);
    } else {
      plane.LINE(x, 10, x, 200, 15);
    }
  }
  // A wall in the fill colour is no border: the fill passes it.
  plane.LINE(51, 100, 59, 100, 5);
  const std::vector<double> white = {15};
  plane.PAINT(5, 5, 5, white);
  size_t unfilled = 0;
  for (int y = 1; y < 200; ++y) {
    for (int x = 1; x < 300; ++x) unfilled += plane.pixel(x, y) == 0;
  }
  EXPECT_EQ(unfilled, 0u);
  EXPECT_EQ(plane.pixel(301, 100), 0u);
}

// The pixels 4-connected to (x, y) through pixels that are not `border`,
// found the slow way.
std::vector<uint8_t> reachable(const GraphicsPlane& plane, int x, int y, uint32_t border) {
  std::vector<uint8_t> seen(plane.pixels().size(), 0);
  std::vector<std::pair<int, int>> pending{{x, y}};
  while (!pending.empty()) {
    const auto [px, py] = pending.back();
    pending.pop_back();
    if (px < 0 || py < 0 || px >= kPlaneWidth || py >= kPlaneHeight) continue;
    const size_t i = static_cast<size_t>(py) * kPlaneWidth + px;
    if (seen[i] || plane.pixel(px, py) == border) continue;
    seen[i] = 1;
    pending.insert(pending.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
  }
  return seen;
}

TEST(GraphicsPaint, FillsExactlyWhatIsReachableAmongCrossingLines) {
  for (const double fill : {15.0, 5.0}) {  // the fill colour as border, and not
    GraphicsPlane plane;
    uint32_t seed = 12345;
    auto next = [&seed](int range) {
      seed = seed * 1103515245 + 12345;
      return static_cast<int>((seed >> 8) % range);
    };
    for (int i = 0; i < 12; ++i) {
      plane.LINE(next(640), next(432), next(640), next(432), 15);
    }
    plane.PSET(320, 216, 0);
    const std::vector<uint8_t> expected = reachable(plane, 320, 216, kWhite);
    const std::vector<uint32_t> before(plane.pixels().begin(), plane.pixels().end());
    const std::vector<double> white = {15};
    plane.PAINT(320, 216, fill, white);
    const uint32_t fillRgb = graphicsColourRgb(static_cast<uint8_t>(fill));
    size_t wrong = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
      wrong += plane.pixels()[i] != (expected[i] ? fillRgb : before[i]);
    }
    EXPECT_GT(std::count(expected.begin(), expected.end(), 1), 100000);
    EXPECT_EQ(wrong, 0u) << "fill " << fill;
  }
}

TEST(GraphicsText, DrawsGlyphsOverTheBackground) {
  const Font* font = defaultFont();
  if (!font) GTEST_SKIP() << "no Unifont file installed";
  GraphicsPlane plane;
  plane.LINE(0, 0, 639, 431, 3, BoxMode::Filled);
  plane.drawText(20, 30, "Aあ"_sj + "A", 13, *font);
  const Font::Glyph* a = font->glyph('A');
  const Font::Glyph* hiragana = font->glyph(codeOf("あ"_sj));
  ASSERT_TRUE(a && hiragana);
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < 8; ++column) {
      const uint32_t expectedA = glyphBit(*a, column, row) ? 0xFFFF00 : kBlue;
      EXPECT_EQ(plane.pixel(20 + column, 30 + row), expectedA);
      EXPECT_EQ(plane.pixel(44 + column, 30 + row), expectedA);
    }
    for (int column = 0; column < 16; ++column) {
      const uint32_t expected = glyphBit(*hiragana, column, row) ? 0xFFFF00 : kBlue;
      EXPECT_EQ(plane.pixel(28 + column, 30 + row), expected);
    }
  }

  GraphicsPlane edge;
  edge.drawText(636, 425, "AAA", 15, *font);
  edge.drawText(-4, -8, "A", 15, *font);
  EXPECT_EQ(errorCodeOf([&] { edge.drawText(0, 0, "A", 16, *font); }), err::IllegalArgument);

  GraphicsPlane untouched;
  untouched.drawText(0, 0, "ABC", 15, Font{});
  EXPECT_EQ(countPixels(untouched, 0), untouched.pixels().size());
}

TEST(GraphicsBlit, StretchesByNearestPixelAndClips) {
  const std::vector<uint32_t> image = {0x111111, 0x222222, 0x333333, 0x444444};
  GraphicsPlane plane;
  plane.blitStretched(image, 2, 2, 10, 20, 4, 6);
  EXPECT_EQ(plane.pixel(10, 20), 0x111111u);
  EXPECT_EQ(plane.pixel(11, 22), 0x111111u);
  EXPECT_EQ(plane.pixel(12, 22), 0x222222u);
  EXPECT_EQ(plane.pixel(13, 25), 0x444444u);
  EXPECT_EQ(plane.pixel(10, 23), 0x333333u);
  EXPECT_EQ(plane.pixel(14, 20), 0u);
  EXPECT_EQ(plane.pixel(10, 26), 0u);

  GraphicsPlane clipped;
  clipped.blitStretched(image, 2, 2, -2, -2, 4, 4);
  EXPECT_EQ(clipped.pixel(0, 0), 0x444444u);
  EXPECT_EQ(clipped.pixel(2, 0), 0u);
  clipped.blitStretched(image, 2, 2, 630, 420, 120, 120);
  EXPECT_EQ(clipped.pixel(639, 431), 0x111111u);
}

TEST(GraphicsPlaneState, EveryChangeCountsAndClearBlanks) {
  GraphicsPlane plane;
  const uint64_t before = plane.version();
  plane.PSET(1, 1, 15);
  EXPECT_GT(plane.version(), before);
  const uint64_t drawn = plane.version();
  plane.clear();
  EXPECT_GT(plane.version(), drawn);
  EXPECT_EQ(countPixels(plane, 0), plane.pixels().size());
}

class FontFile : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove(path_); }
  std::string write(const std::string& content) {
    std::ofstream(path_, std::ios::binary) << content;
    return path_.string();
  }

 private:
  std::filesystem::path path_ = std::filesystem::temp_directory_path() /
                                ("kestrun_font_" + std::to_string(::getpid()) + ".hex");
};

TEST_F(FontFile, ReadsValidLinesAndSkipsGarbledOnes) {
  const std::string hex =
      "garbage without colon\n"
      "0042:00FF\n"
      "zz41:0000000018242442427E424242420000\n"
      "0041:0000000018242442427e424242420000\r\n"
      "0041:FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\n"
      "3042:000000000000000000000000000000FF\n"
      "0043:00000000000000000000000000000G00\n"
      "4E00:00000000000000000000000000000000000000000000000000000000000000\n"
      "FF76:000808087F0909090911111222224400";
  Font font;
  ASSERT_TRUE(font.load(write(hex)));
  const Font::Glyph* a = font.glyph('A');
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->width, 8);
  EXPECT_EQ(a->rows[4], 0x18);
  EXPECT_EQ(a->rows[9], 0x7E);
  EXPECT_EQ(font.glyph('B'), nullptr);
  EXPECT_EQ(font.glyph('C'), nullptr);
  EXPECT_EQ(font.glyph(codeOf("一"_sj)), nullptr);
  EXPECT_NE(font.glyph(codeOf("ｶ"_sj)), nullptr);

  // A narrow glyph of a double-byte character is centred in 16 columns.
  const Font::Glyph* hiragana = font.glyph(codeOf("あ"_sj));
  ASSERT_NE(hiragana, nullptr);
  EXPECT_EQ(hiragana->width, 16);
  EXPECT_EQ(hiragana->rows[15], 0x0FF0);
}

TEST_F(FontFile, FailsWithoutUsableGlyphs) {
  Font font;
  EXPECT_FALSE(font.load("/nonexistent/font.hex"));
  EXPECT_FALSE(font.load(write("0001:00000000000000000000000000000000\n")));
  EXPECT_FALSE(font.loaded());
  EXPECT_EQ(font.glyph('A'), nullptr);
}

TEST(FontBuiltIn, HasGlyphsForTheGameText) {
  const Font* font = defaultFont();
  ASSERT_NE(font->glyph('A'), nullptr);
  EXPECT_EQ(font->glyph('A')->width, 8);
  ASSERT_NE(font->glyph(codeOf("あ"_sj)), nullptr);
  EXPECT_EQ(font->glyph(codeOf("あ"_sj))->width, 16);
  ASSERT_NE(font->glyph(codeOf("ｶ"_sj)), nullptr);
  EXPECT_EQ(font->glyph(codeOf("ｶ"_sj))->width, 8);
  ASSERT_NE(font->glyph(codeOf("○"_sj)), nullptr);
  EXPECT_EQ(font->glyph(0x80), nullptr);
  EXPECT_EQ(font->glyph(0x8540), nullptr);
}

// The table made at build time holds what reading the Unifont file gives, for
// every character code.
TEST(FontBuiltIn, EqualsTheUnifontFileItWasMadeFrom) {
  Font read;
  if (!read.load("/usr/share/unifont/unifont_jp.hex") &&
      !read.load("/usr/share/unifont/unifont.hex")) {
    GTEST_SKIP() << "no Unifont file installed";
  }
  const Font& builtIn = Font::builtIn();
  size_t glyphs = 0;
  for (uint32_t code = 0; code < 0x10000; ++code) {
    const Font::Glyph* expected = read.glyph(static_cast<uint16_t>(code));
    const Font::Glyph* carried = builtIn.glyph(static_cast<uint16_t>(code));
    ASSERT_EQ(carried == nullptr, expected == nullptr) << std::hex << code;
    if (!expected) continue;
    ++glyphs;
    ASSERT_EQ(carried->width, expected->width) << std::hex << code;
    ASSERT_TRUE(
        std::equal(std::begin(carried->rows), std::end(carried->rows), std::begin(expected->rows)))
        << std::hex << code;
  }
  EXPECT_GT(glyphs, 7000u);
}

// Only codes Shift-JIS can hold have a place in the table.
TEST(FontBuiltIn, SlotsCoverEveryShiftJisCodeOnce) {
  std::vector<bool> used(Font::kIndexSlots, false);
  size_t codes = 0;
  for (uint32_t code = 0; code < 0x10000; ++code) {
    const std::optional<size_t> slot = Font::slotOf(static_cast<uint16_t>(code));
    if (!slot) continue;
    ASSERT_LT(*slot, Font::kIndexSlots);
    EXPECT_FALSE(used[*slot]) << std::hex << code;
    used[*slot] = true;
    ++codes;
  }
  EXPECT_EQ(codes, Font::kIndexSlots);
  EXPECT_FALSE(Font::slotOf(0x813F));
  EXPECT_FALSE(Font::slotOf(0xA040));
  EXPECT_TRUE(Font::slotOf(0xFCFF));
}

class CompositeImage : public ::testing::Test {
 protected:
  void SetUp() override {
    font_ = defaultFont();
    if (!font_) GTEST_SKIP() << "no Unifont file installed";
    plane_.LINE(0, 0, 639, 431, 10, BoxMode::Filled);
  }
  void compose() { composite(text_, plane_, font_, out_); }
  uint32_t at(int x, int y) const { return out_[y * kPlaneWidth + x]; }
  // Expects the glyph in `fg` one pixel down in the cell, `bg` around its pixels.
  void expectGlyph(const Font::Glyph& glyph, int column, int row, uint32_t fg, uint32_t bg) {
    const int left = column * kCellWidth;
    const int top = row * kCellHeight;
    for (int x = 0; x < glyph.width; ++x) {
      EXPECT_EQ(at(left + x, top), bg);
      EXPECT_EQ(at(left + x, top + 17), bg);
      for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(at(left + x, top + 1 + y), glyphBit(glyph, x, y) ? fg : bg) << x << "," << y;
      }
    }
  }

  const Font* font_ = nullptr;
  GraphicsPlane plane_;
  TextScreen text_;
  std::vector<uint32_t> out_ = std::vector<uint32_t>(kPlaneWidth * kPlaneHeight);
};

constexpr uint32_t kTeal = 0x008080;

TEST_F(CompositeImage, GlyphsSitOnePixelDownOverTheVisiblePlane) {
  text_.moveTo(3, 2);
  text_.setColours(6, 0, false);
  text_.write("A");
  compose();
  expectGlyph(*font_->glyph('A'), 3, 2, textColourRgb(6, false), kTeal);
  EXPECT_EQ(at(2 * 8, 2 * 18 + 5), kTeal);
}

TEST_F(CompositeImage, ColouredBackgroundFillsTheWholeCell) {
  text_.moveTo(79, 23);
  text_.setColours(7, 1, true);
  text_.write("W");
  compose();
  expectGlyph(*font_->glyph('W'), 79, 23, textColourRgb(7, true), textColourRgb(1, true));
  EXPECT_EQ(at(78 * 8 + 7, 23 * 18), kTeal);
}

TEST_F(CompositeImage, DoubleByteCharactersSpanTwoCells) {
  text_.moveTo(10, 5);
  text_.setColours(4, 0, false);
  text_.write("あ"_sj);
  compose();
  expectGlyph(*font_->glyph(codeOf("あ"_sj)), 10, 5, textColourRgb(4, false), kTeal);
}

TEST_F(CompositeImage, BrokenCharactersDrawNothing) {
  text_.setColours(7, 0, false);
  text_.moveTo(79, 0);
  text_.write("\x82");
  text_.moveTo(0, 1);
  text_.write("\xA0\x80\xFD");
  compose();
  for (int y = 0; y < 2 * kCellHeight; ++y) {
    for (int x = 0; x < 3 * kCellWidth; ++x) EXPECT_EQ(at(x, y), kTeal);
    for (int x = 79 * kCellWidth; x < kPlaneWidth; ++x) EXPECT_EQ(at(x, y), kTeal);
  }
}

TEST_F(CompositeImage, WithoutAFontOnlyBackgroundsShow) {
  text_.write("Hello");
  text_.setColours(7, 2, false);
  text_.write("X");
  composite(text_, plane_, nullptr, out_);
  EXPECT_EQ(at(0, 5), kTeal);
  EXPECT_EQ(at(5 * 8 + 3, 9), textColourRgb(2, false));
}

}  // namespace
}  // namespace kestrun::rt
