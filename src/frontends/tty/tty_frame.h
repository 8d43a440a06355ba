#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrun::rt {
class TextScreen;
class GraphicsPlane;
}  // namespace kestrun::rt

namespace kestrun::fe {

// One 8-bit channel of a 0xRRGGBB colour (shift 16 red, 8 green, 0 blue).
inline int colourChannel(uint32_t rgb, int shift) {
  return static_cast<int>((rgb >> shift) & 0xFF);
}

// How far apart two colours look: the squared distance of their channels.
inline int colourDistance(uint32_t a, uint32_t b) {
  int sum = 0;
  for (const int shift : {16, 8, 0}) {
    const int d = colourChannel(a, shift) - colourChannel(b, shift);
    sum += d * d;
  }
  return sum;
}

// The 16 terminal colours: 0..7 the normal set (black, red, green, yellow,
// blue, magenta, cyan, white), 8..15 the bright set.
inline constexpr uint8_t kAnsiBlack = 0;
// The terminal's own background, as clearScreen() leaves it.
inline constexpr uint8_t kDefaultBackground = 0xFF;

// The terminal colour closest to an RGB colour (0xRRGGBB). Without
// `allowBlack` a lit pixel never turns into black.
uint8_t nearestAnsiColour(uint32_t rgb, bool allowBlack = true);

// The graphics under one text cell as a braille pattern: the cell's 8 x 18
// pixels in a 2 x 4 grid of sub-blocks, a dot for each sub-block with a lit
// pixel, in the colour of the commonest lit pixel (the brighter on a tie).
// Only the edges of a filled area count: its inside (pixels whose four
// neighbours have their colour) stays black, so a filled dark square is an
// outline, as thin as a line, not a field of dots.
struct BrailleCell {
  uint8_t dots = 0;  // the bits of U+2800 + dots
  uint8_t colour = kAnsiBlack;
  bool operator==(const BrailleCell&) const = default;
};
BrailleCell brailleCell(std::span<const uint32_t> plane, int column, int row);

// What one cell of the terminal shows.
struct TerminalCell {
  std::string glyph = " ";  // UTF-8; empty in the right half of a wide character
  uint8_t fg = 7;
  uint8_t bg = kDefaultBackground;
  uint8_t width = 1;  // 2 in the left half of a wide character, 0 in its right half
  // Shown by an image the terminal draws (sixel); never written as text.
  bool image = false;
  bool operator==(const TerminalCell&) const = default;
};

// 80 x 24 cells, row by row.
using TerminalFrame = std::vector<TerminalCell>;

// How the graphics plane reaches the terminal.
enum class GraphicsDrawing : uint8_t {
  Cells,  // braille dots in the cells that hold no text
  Sixel,  // sixel images in those cells (TerminalCell::image)
  Kitty,  // images beneath the text; the cells themselves stay blank
};

struct FrameOptions {
  GraphicsDrawing drawing = GraphicsDrawing::Cells;
  // Rows an image may cover; below them the cells draw the graphics (a sixel
  // image on the terminal's last row would scroll the screen).
  int imageRows = 24;
};

TerminalFrame blankFrame();
// The text grid, with the graphics plane showing in blank cells that have no
// background colour. Every cell has an explicit background, black where the
// game has none, as in the window. A graphics cell that is all black is a
// blank cell in every mode.
TerminalFrame buildFrame(const rt::TextScreen& text, const rt::GraphicsPlane& graphics,
                         const FrameOptions& options = {});

// The output that turns what the terminal shows (`shown`) into `wanted`; every
// cell is placed by its own cursor position, so the terminal's idea of
// character widths cannot shift the layout. Image cells are left to the
// images. `shown` becomes `wanted`.
std::string drawChanges(const TerminalFrame& wanted, TerminalFrame& shown);

// Clears the terminal in its default colours; what it shows is then blankFrame().
std::string clearScreen();

// Shown instead of the game while the terminal is below 80 x 24, in Japanese
// and English, cut to the terminal's width and height. Keys typed meanwhile
// are dropped: the player cannot see the screen they would act on.
std::string enlargeNotice(int terminalColumns, int terminalRows);

}  // namespace kestrun::fe
