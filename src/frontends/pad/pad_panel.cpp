#include "frontends/pad/pad_panel.h"

#include <algorithm>

#include "runtime/font.h"
#include "runtime/keyboard.h"
#include "runtime/sjis.h"

namespace kestrun::fe::pad {

namespace {

constexpr uint32_t kBackground = 0x101010;
constexpr uint32_t kButtonFill = 0x383838;
constexpr uint32_t kBorder = 0x909090;
constexpr uint32_t kFocusedBorder = 0xFFFFFF;
constexpr uint32_t kHighlight = 0xFFFF00;
constexpr uint32_t kLabel = 0xFFFFFF;
constexpr uint32_t kHint = 0x707070;
constexpr int kGlyphHeight = 16;

// A picture being drawn, clipped at its edges.
struct Canvas {
  std::vector<uint32_t>& pixels;
  int width;
  int height;

  void fill(const Rect& r, uint32_t rgb) {
    for (int y = std::max(r.y, 0); y < std::min(r.y + r.height, height); ++y) {
      for (int x = std::max(r.x, 0); x < std::min(r.x + r.width, width); ++x) {
        pixels[static_cast<size_t>(y) * width + x] = rgb;
      }
    }
  }
  void frame(const Rect& r, uint32_t rgb, int thickness) {
    fill({r.x, r.y, r.width, thickness}, rgb);
    fill({r.x, r.y + r.height - thickness, r.width, thickness}, rgb);
    fill({r.x, r.y, thickness, r.height}, rgb);
    fill({r.x + r.width - thickness, r.y, thickness, r.height}, rgb);
  }
};

// One character of Shift-JIS text as the font's code.
uint16_t glyphCode(std::string_view sjis, size_t at, size_t length) {
  const auto lead = static_cast<uint8_t>(sjis[at]);
  if (length == 1) return lead;
  return static_cast<uint16_t>(lead << 8 | static_cast<uint8_t>(sjis[at + 1]));
}

struct Glyphs {
  std::vector<const rt::Font::Glyph*> glyphs;
  int width = 0;
};

// The glyphs of a UTF-8 text; characters without one are left out.
Glyphs glyphsOf(const rt::Font& font, std::string_view utf8) {
  Glyphs out;
  const std::string sjis = rt::toShiftJis(utf8);
  for (size_t at = 0; at < sjis.size();) {
    const size_t length = rt::charLength(sjis, at);
    if (const rt::Font::Glyph* glyph = font.glyph(glyphCode(sjis, at, length))) {
      out.glyphs.push_back(glyph);
      out.width += glyph->width;
    }
    at += length;
  }
  return out;
}

void drawGlyphs(const Glyphs& text, int x, int y, uint32_t rgb, Canvas& canvas) {
  for (const rt::Font::Glyph* glyph : text.glyphs) {
    rt::drawGlyph(*glyph, x, y, rgb, canvas.pixels, canvas.width, canvas.height);
    x += glyph->width;
  }
}

// The last characters of a text that fit in `width` pixels: a long name
// shows its end, where the typing goes on.
Glyphs tailWithin(Glyphs text, int width) {
  while (text.width > width && !text.glyphs.empty()) {
    text.width -= text.glyphs.front()->width;
    text.glyphs.erase(text.glyphs.begin());
  }
  return text;
}

}  // namespace

Panel::Panel(const Layout& layout) : layout_(layout) {
  for (const Button& button : layout_.buttons) {
    places_.push_back({button.cell.column, button.cell.row, button.cell.width, button.code});
  }
  const TextField& field = layout_.field;
  places_.push_back({field.cell.column, field.cell.row, field.cell.width, 0});
  places_.push_back({field.submit.cell.column, field.submit.cell.row, field.submit.cell.width,
                     field.submit.code});
}

int Panel::width() const {
  return kGap + layout_.columns * (kButtonWidth + kGap);
}

int Panel::height() const {
  return kGap + layout_.rows * (kButtonHeight + kGap);
}

Rect Panel::placeRect(size_t place) const {
  const ScreenEntry& cell = places_.at(place);
  return {kGap + cell.column * (kButtonWidth + kGap), kGap + cell.row * (kButtonHeight + kGap),
          cell.width * kButtonWidth + (cell.width - 1) * kGap, kButtonHeight};
}

std::optional<size_t> Panel::placeAt(int x, int y) const {
  for (size_t place = 0; place < places_.size(); ++place) {
    if (placeRect(place).contains(x, y)) return place;
  }
  return std::nullopt;
}

const Button& Panel::buttonOf(size_t place) const {
  return place == submitPlace() ? layout_.field.submit : layout_.buttons[place];
}

Press Panel::press(size_t place) {
  if (place == fieldPlace()) {
    fieldFocused_ = true;
    return {};
  }
  fieldFocused_ = false;
  if (place != submitPlace()) return {{}, buttonOf(place).code};
  Press sent{std::move(field_), layout_.field.submit.code};
  field_.clear();
  composing_.clear();
  return sent;
}

void Panel::moveHighlight(int dx, int dy) {
  highlight_ = entryToward(places_, highlight_, dx, dy);
}

void Panel::erase() {
  while (!field_.empty() && (static_cast<uint8_t>(field_.back()) & 0xC0) == 0x80) {
    field_.pop_back();
  }
  if (!field_.empty()) field_.pop_back();
}

std::vector<uint32_t> Panel::draw(const rt::Font& font, bool showHighlight) const {
  std::vector<uint32_t> pixels(static_cast<size_t>(width()) * height(), kBackground);
  Canvas canvas{pixels, width(), height()};
  for (size_t place = 0; place < places_.size(); ++place) {
    const Rect r = placeRect(place);
    const bool field = place == fieldPlace();
    canvas.fill(r, field ? 0x000000 : kButtonFill);
    canvas.frame(r, field && fieldFocused_ ? kFocusedBorder : kBorder, 1);
    const int textY = r.y + (r.height - kGlyphHeight) / 2;
    if (field) {
      const bool hinted = field_.empty() && composing_.empty() && !fieldFocused_;
      const Glyphs text = tailWithin(
          glyphsOf(font, hinted ? layout_.field.hint : field_ + composing_), r.width - 8);
      drawGlyphs(text, r.x + 4, textY, hinted ? kHint : kLabel, canvas);
      if (fieldFocused_) canvas.fill({r.x + 4 + text.width, textY, 1, kGlyphHeight}, kLabel);
    } else {
      const Glyphs label = glyphsOf(font, buttonOf(place).label);
      drawGlyphs(label, r.x + (r.width - label.width) / 2, textY, kLabel, canvas);
    }
    if (showHighlight && place == highlight_) canvas.frame(r, kHighlight, 2);
  }
  return pixels;
}

Placement placePad(int windowWidth, int windowHeight, int imageWidth, int imageHeight, int padWidth,
                   int padHeight) {
  const int scale = std::max(1, std::min(windowWidth / imageWidth, windowHeight / imageHeight));
  const int gap = Panel::kGap * 2;
  if ((imageWidth + gap + padWidth) * scale <= windowWidth) {
    const int height = std::max(imageHeight, padHeight);
    return {imageWidth + gap + padWidth,
            height,
            {0, (height - imageHeight) / 2, imageWidth, imageHeight},
            {imageWidth + gap, height - padHeight, padWidth, padHeight},
            false};
  }
  if ((imageHeight + gap + padHeight) * scale <= windowHeight) {
    const int width = std::max(imageWidth, padWidth);
    return {width,
            imageHeight + gap + padHeight,
            {(width - imageWidth) / 2, 0, imageWidth, imageHeight},
            {(width - padWidth) / 2, imageHeight + gap, padWidth, padHeight},
            false};
  }
  return {imageWidth,
          imageHeight,
          {0, 0, imageWidth, imageHeight},
          {imageWidth - padWidth, imageHeight - padHeight, padWidth, padHeight},
          true};
}

}  // namespace kestrun::fe::pad
