#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/font.h"

// The glyphs the program carries, written at build time by
// tools/glyph_table from the Unifont package (glyph_table.cpp in the build
// folder).
namespace kestrun::rt::glyph_table {

extern const Font::Glyph kGlyphs[];
extern const size_t kGlyphCount;
extern const uint16_t kIndex[Font::kIndexSlots];

}  // namespace kestrun::rt::glyph_table
