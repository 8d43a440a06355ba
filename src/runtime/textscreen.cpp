#include "runtime/textscreen.h"

#include "runtime/sjis.h"

namespace kestrun::rt {

uint32_t textColourRgb(uint8_t colour, bool halfIntensity) {
  static constexpr uint32_t full[8] = {0x000000, 0x0000FF, 0xFF0000, 0xFF00FF,
                                       0x00FF00, 0x00FFFF, 0xFFFF00, 0xFFFFFF};
  static constexpr uint32_t half[8] = {0x808080, 0x000080, 0x800000, 0x800080,
                                       0x008000, 0x008080, 0x808000, 0xC0C0C0};
  return (halfIntensity ? half : full)[colour & 7];
}

void TextScreen::moveTo(int column, int row) {
  column_ = column;
  row_ = row;
}

void TextScreen::setColours(uint8_t fg, uint8_t bg, bool halfIntensity) {
  fg_ = fg;
  bg_ = bg;
  half_ = halfIntensity;
}

void TextScreen::clear() {
  for (auto& row : cells_) row.fill(TextCell{' ', fg_, bg_, half_});
  column_ = row_ = 0;
  ++version_;
}

void TextScreen::write(std::string_view sjis) {
  for (size_t i = 0; i < sjis.size();) {
    const size_t length = charLength(sjis, i);
    // A double-byte character never straddles two rows.
    if (column_ + static_cast<int>(length) > kColumns) newLine();
    for (size_t k = 0; k < length; ++k) put(static_cast<uint8_t>(sjis[i + k]));
    i += length;
  }
}

void TextScreen::put(uint8_t ch) {
  cells_[row_][column_] = TextCell{ch, fg_, bg_, half_};
  ++column_;
  ++version_;
}

void TextScreen::separate(Sep sep) {
  switch (sep) {
    case Sep::EndLine:
      newLine();
      break;
    case Sep::Zone: {
      constexpr int zone = 14;
      const int next = (column_ / zone + 1) * zone;
      if (next + zone > kColumns) {
        newLine();
      } else {
        while (column_ < next) put(' ');
      }
      break;
    }
    case Sep::Semicolon:
      break;
  }
}

void TextScreen::newLine() {
  column_ = 0;
  if (++row_ >= kRows) {
    scroll();
    row_ = kRows - 1;
  }
}

void TextScreen::scroll() {
  for (int r = 0; r + 1 < kRows; ++r) cells_[r] = cells_[r + 1];
  cells_[kRows - 1].fill(TextCell{' ', fg_, bg_, half_});
  ++version_;
}

void TextScreen::eraseBack(int width) {
  for (int k = 0; k < width; ++k) {
    if (column_ == 0) {
      if (row_ == 0) return;
      --row_;
      column_ = kColumns;
    }
    --column_;
    cells_[row_][column_] = TextCell{' ', fg_, bg_, half_};
  }
  ++version_;
}

}  // namespace kestrun::rt
