#pragma once

#include <cstdint>
#include <span>

namespace kestrun::rt {

class Font;
class GraphicsPlane;
class TextScreen;

// The image the player sees: the graphics plane, then every text cell's glyph
// in its foreground colour, drawn one pixel down in its 8 x 18 cell. A cell
// paints its background only when its background colour is not 0. `out` holds
// 640 x 432 pixels (0xRRGGBB). Without a font, text cells draw no glyphs.
void composite(const TextScreen& text, const GraphicsPlane& graphics, const Font* font,
               std::span<uint32_t> out);

}  // namespace kestrun::rt
