#include "frontends/tty/tty_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontends/tty/tty_frame.h"
#include "runtime/graphics.h"
#include "runtime/sjis.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {
namespace {

void fill(rt::GraphicsPlane& plane, int x1, int y1, int x2, int y2, uint32_t rgb) {
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) plane.pixels()[y * rt::kPlaneWidth + x] = rgb;
  }
}

TEST(TerminalReplies, DeviceAttributesKittyAndCellSize) {
  const TerminalReplies xterm = parseTerminalReplies("\x1b[6;20;10t\x1b[?63;1;2;4;6;9;15;22cq");
  EXPECT_TRUE(xterm.complete);
  EXPECT_TRUE(xterm.sixel);
  EXPECT_FALSE(xterm.kitty);
  EXPECT_EQ(xterm.cell, (CellPixels{10, 20}));
  EXPECT_EQ(xterm.rest, "q");
  EXPECT_EQ(chooseDrawing(TtyGraphics::Auto, xterm), GraphicsDrawing::Sixel);

  const TerminalReplies kitty = parseTerminalReplies("\x1b_Gi=31;OK\x1b\\\x1b[?62;c");
  EXPECT_TRUE(kitty.kitty);
  EXPECT_FALSE(kitty.sixel);
  EXPECT_EQ(chooseDrawing(TtyGraphics::Auto, kitty), GraphicsDrawing::Kitty);

  // A terminal class of 4 is not the sixel attribute; no answer yet is incomplete.
  const TerminalReplies plain = parseTerminalReplies("\x1b[?4;6c");
  EXPECT_FALSE(plain.sixel);
  EXPECT_EQ(chooseDrawing(TtyGraphics::Auto, plain), GraphicsDrawing::Cells);
  EXPECT_FALSE(parseTerminalReplies("\x1b[?63;4").complete);
  // What the player chose wins over what the terminal says.
  EXPECT_EQ(chooseDrawing(TtyGraphics::Cells, xterm), GraphicsDrawing::Cells);
  EXPECT_EQ(chooseDrawing(TtyGraphics::Kitty, plain), GraphicsDrawing::Kitty);
}

TEST(SixelImage, PaintsTheMaskedCellsScaledToTheTerminalCells) {
  rt::GraphicsPlane plane;
  fill(plane, 0, 0, 7, 17, 0xFF0000);   // cell 0 red
  fill(plane, 8, 0, 15, 17, 0xFFFFFF);  // cell 1 white, outside the mask
  const std::string image = sixelImage(plane.pixels(), {0, 0, 2}, {8, 18}, {true, false});
  EXPECT_EQ(image.rfind("\x1bP0;1;0q\"1;1;16;18", 0), 0u);
  EXPECT_NE(image.find("#0;2;100;0;0"), std::string::npos);
  EXPECT_EQ(image.find(";100;100;100"), std::string::npos);
  // Three bands of six rows, eight red columns each, the rest transparent.
  EXPECT_NE(image.find("#0!8~$-#0!8~$-#0!8~$\x1b\\"), std::string::npos);
  // Cells of 4 x 9 pixels: the image is half as large, every second pixel.
  const std::string half = sixelImage(plane.pixels(), {0, 0, 2}, {4, 9}, {true, true});
  EXPECT_NE(half.find("\"1;1;8;9"), std::string::npos);
  EXPECT_NE(half.find("#0!4~$#1!4?!4~$-#0!4F$#1!4?!4F$\x1b\\"), std::string::npos) << half;
}

TEST(SixelImage, AtMostSixteenColoursTheRestNearest) {
  rt::GraphicsPlane plane;
  for (int x = 0; x < 64; ++x) fill(plane, x, 0, x, 17, 0x010101u * static_cast<uint32_t>(x * 4));
  const std::string image =
      sixelImage(plane.pixels(), {0, 0, 8}, {8, 18}, std::vector<bool>(8, true));
  EXPECT_NE(image.find("#15;2;"), std::string::npos);
  EXPECT_EQ(image.find("#16;2;"), std::string::npos);
}

TEST(KittyImage, CompressedBeneathTheText) {
  rt::GraphicsPlane plane;
  fill(plane, 0, 0, 63, 17, 0x00FF00);
  const std::string image = kittyImage(plane.pixels(), {0, 0, 8}, 5);
  EXPECT_EQ(image.rfind("\x1b_Ga=T,f=24,o=z,s=64,v=18,i=5,p=1,c=8,r=1,C=1,z=-1,q=2,m=0;", 0), 0u);
  // One colour: a zlib stream of repeats, far below the 4608 characters of
  // the raw pixels, in one chunk. (zlib header 78 01, then the fixed code.)
  EXPECT_LT(image.size(), 200u);
  EXPECT_NE(image.find(";eAFj"), std::string::npos);
  // Varied pixels take several chunks of at most 4096 characters.
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 18; ++y)
      plane.pixels()[y * rt::kPlaneWidth + x] = 0x9E3779u * (x * 18 + y + 1);
  }
  const std::string noisy = kittyImage(plane.pixels(), {0, 0, 8}, 5);
  EXPECT_NE(noisy.find(",m=1;"), std::string::npos);
  EXPECT_NE(noisy.find("\x1b\\\x1b_Gm=0;"), std::string::npos);
}

rt::TextScreen textWith(int column, int row, const char* ascii) {
  rt::TextScreen text;
  text.moveTo(column, row);
  text.write(ascii);
  return text;
}

TEST(ImageLayer, SendsOnlyWhatChanged) {
  rt::GraphicsPlane plane;
  fill(plane, 100, 40, 300, 41, 0xFFFFFF);  // a line across rows 2, tiles 1..4
  rt::TextScreen text = textWith(0, 0, "A");
  const FrameOptions sixel{GraphicsDrawing::Sixel, 23};
  ImageLayer layer(GraphicsDrawing::Sixel, {8, 18});
  TerminalFrame frame = buildFrame(text, plane, sixel);
  const std::string first = layer.update(frame, plane.pixels());
  size_t images = 0;
  for (size_t at = first.find("\x1bP"); at != std::string::npos; at = first.find("\x1bP", at + 1))
    ++images;
  EXPECT_EQ(images, 4u);
  EXPECT_NE(first.find("\x1b[3;9H\x1bP"), std::string::npos);
  EXPECT_EQ(layer.update(frame, plane.pixels()), "");
  // One pixel more: only its tile goes again.
  fill(plane, 600, 40, 600, 40, 0xFF0000);
  frame = buildFrame(text, plane, sixel);
  const std::string step = layer.update(frame, plane.pixels());
  EXPECT_NE(step.find("\x1b[3;73H\x1bP"), std::string::npos);
  EXPECT_EQ(step.find("\x1bP", step.find("\x1bP") + 1), std::string::npos);
  // After a clear everything is sent again.
  layer.forget();
  EXPECT_NE(layer.update(frame, plane.pixels()).find("\x1b[3;9H"), std::string::npos);
}

TEST(ImageFrames, ImageCellsAreLeftToTheImageAndTextStaysText) {
  rt::GraphicsPlane plane;
  fill(plane, 0, 0, 639, 431, 0x808080);
  rt::TextScreen text = textWith(5, 5, "X");
  const TerminalFrame sixel = buildFrame(text, plane, {GraphicsDrawing::Sixel, 23});
  EXPECT_TRUE(sixel[5 * rt::kColumns + 4].image);
  EXPECT_FALSE(sixel[5 * rt::kColumns + 5].image);
  EXPECT_EQ(sixel[5 * rt::kColumns + 5].glyph, "X");
  // The last row keeps the cell drawing: the inside of a fill is black.
  EXPECT_FALSE(sixel[23 * rt::kColumns + 40].image);
  EXPECT_EQ(sixel[23 * rt::kColumns + 40].glyph, " ");
  TerminalFrame shown = blankFrame();
  const std::string out = drawChanges(sixel, shown);
  EXPECT_EQ(out.find("\x1b[6;5H"), std::string::npos);  // the image cell is not written
  const TerminalFrame kitty = buildFrame(text, plane, {GraphicsDrawing::Kitty, 24});
  EXPECT_EQ(kitty[5 * rt::kColumns + 4].glyph, " ");
  EXPECT_FALSE(kitty[5 * rt::kColumns + 4].image);
}

}  // namespace
}  // namespace kestrun::fe
