#include "runtime/font.h"
#include "runtime/glyph_table.h"

namespace kestrun::rt {

// The table is constant data in the program: nothing is read or built at start.
const Font& Font::builtIn() {
  static const Font font(std::span<const Glyph>(glyph_table::kGlyphs, glyph_table::kGlyphCount),
                         glyph_table::kIndex);
  return font;
}

}  // namespace kestrun::rt
