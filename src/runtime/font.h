#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrun::rt {

// Glyphs for the text grid and graphics text, read from a Unifont .hex file:
// 8 x 16 for single-byte characters, 16 x 16 for double-byte ones.
class Font {
 public:
  // The files tried in order when no path is given.
  static const std::vector<std::string>& defaultPaths();
  // Loads the first readable default file; false when there is none.
  bool loadDefault();
  // Loads a .hex file; false when it cannot be read.
  bool load(const std::string& path);
  bool loaded() const { return !glyphs_.empty(); }

  // The glyph of one Shift-JIS character, by its code: the byte for a
  // single-byte character, lead x 256 + trail for a double-byte one. `width`
  // is 8 or 16; in each of the 16 rows bit (width - 1) is the leftmost pixel.
  // Null when the font has no glyph for it.
  struct Glyph {
    uint8_t width;
    uint16_t rows[16];
  };
  const Glyph* glyph(uint16_t sjisCode) const;

 private:
  std::vector<Glyph> glyphs_;
  std::vector<int32_t> indexBySjis_;  // 65536 entries, -1 = no glyph
};

// Draws the glyph's set pixels in `rgb` with its top-left corner at (x, y) into
// an image of imageWidth x imageHeight pixels, clipped at the image's edges.
void drawGlyph(const Font::Glyph& glyph, int x, int y, uint32_t rgb, std::span<uint32_t> image,
               int imageWidth, int imageHeight);

}  // namespace kestrun::rt
