#include "runtime/composite.h"

#include <algorithm>

#include "runtime/font.h"
#include "runtime/graphics.h"
#include "runtime/sjis.h"
#include "runtime/textscreen.h"

namespace kestrun::rt {

namespace {

bool isTrailByte(uint8_t b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

void fillCellBackground(const TextCell& cell, int column, int row, std::span<uint32_t> out) {
  const uint32_t rgb = textColourRgb(cell.bg, cell.halfIntensity);
  uint32_t* top = out.data() + static_cast<size_t>(row) * kCellHeight * kPlaneWidth +
                  static_cast<size_t>(column) * kCellWidth;
  for (int y = 0; y < kCellHeight; ++y) std::fill_n(top + y * kPlaneWidth, kCellWidth, rgb);
}

// Draws one text row's glyphs; a double-byte character is the lead byte's cell
// and the trail byte's cell, drawn in the lead cell's colour.
void drawRowGlyphs(const TextScreen& text, int row, const Font& font, std::span<uint32_t> out) {
  for (int column = 0; column < kColumns; ++column) {
    const TextCell& cell = text.cell(column, row);
    uint16_t code = cell.ch;
    if (isLeadByte(cell.ch)) {
      if (column + 1 >= kColumns || !isTrailByte(text.cell(column + 1, row).ch)) continue;
      code = static_cast<uint16_t>(code << 8 | text.cell(++column, row).ch);
    }
    const Font::Glyph* glyph = font.glyph(code);
    if (!glyph) continue;
    const int x = (code > 0xFF ? column - 1 : column) * kCellWidth;
    drawGlyph(*glyph, x, row * kCellHeight + 1, textColourRgb(cell.fg, cell.halfIntensity), out,
              kPlaneWidth, kPlaneHeight);
  }
}

}  // namespace

void composite(const TextScreen& text, const GraphicsPlane& graphics, const Font* font,
               std::span<uint32_t> out) {
  const std::span<const uint32_t> plane = graphics.pixels();
  if (out.size() < plane.size()) return;
  std::copy(plane.begin(), plane.end(), out.begin());
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const TextCell& cell = text.cell(column, row);
      if (cell.bg != 0) fillCellBackground(cell, column, row, out);
    }
    if (font && font->loaded()) drawRowGlyphs(text, row, *font, out);
  }
}

}  // namespace kestrun::rt
