#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kestrun::rt {

// Glyphs for the text grid and graphics text: 8 x 16 for single-byte
// characters, 16 x 16 for double-byte ones. The program carries every glyph
// Shift-JIS text can show (builtIn(), made at build time from a Unifont .hex
// file); load() reads such a file itself.
class Font {
 public:
  // The glyph of one Shift-JIS character. `width` is 8 or 16; in each of the
  // 16 rows bit (width - 1) is the leftmost pixel.
  struct Glyph {
    uint8_t width;
    uint16_t rows[16];
  };
  // A glyph number of the index that names no glyph.
  static constexpr uint16_t kNoGlyph = 0xFFFF;
  // Index slots: one per single byte, then 192 trail bytes (0x40..0xFF) for
  // each of the 60 lead bytes.
  static constexpr size_t kSingleByteSlots = 0x100;
  static constexpr size_t kTrailsPerLead = 0xC0;
  static constexpr size_t kLeadBytes = 60;
  static constexpr size_t kIndexSlots = kSingleByteSlots + kLeadBytes * kTrailsPerLead;
  // The index slot of a character code (the byte of a single-byte character,
  // lead x 256 + trail of a double-byte one); nullopt when Shift-JIS has no
  // such code.
  static std::optional<size_t> slotOf(uint16_t sjisCode);

  Font() = default;
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // The glyphs the program carries.
  static const Font& builtIn();
  // Loads a Unifont .hex file, keeping the glyphs of Shift-JIS characters;
  // false when it cannot be read or holds none of them.
  bool load(const std::string& path);
  bool loaded() const { return !glyphs_.empty(); }

  // Null when the font has no glyph for the character.
  const Glyph* glyph(uint16_t sjisCode) const;

  // The tables behind glyph(): every glyph once, and for each index slot the
  // number of its glyph or kNoGlyph.
  std::span<const Glyph> glyphs() const { return glyphs_; }
  std::span<const uint16_t> index() const { return index_; }

 private:
  Font(std::span<const Glyph> glyphs, std::span<const uint16_t> index)
      : glyphs_(glyphs), index_(index) {}

  std::span<const Glyph> glyphs_;
  std::span<const uint16_t> index_;
  std::vector<Glyph> loadedGlyphs_;
  std::vector<uint16_t> loadedIndex_;
};

// Draws the glyph's set pixels in `rgb` with its top-left corner at (x, y) into
// an image of imageWidth x imageHeight pixels, clipped at the image's edges.
void drawGlyph(const Font::Glyph& glyph, int x, int y, uint32_t rgb, std::span<uint32_t> image,
               int imageWidth, int imageHeight);

}  // namespace kestrun::rt
