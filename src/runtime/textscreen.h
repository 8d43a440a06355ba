#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/numformat.h"

namespace kestrun::rt {

inline constexpr int kColumns = 80;
inline constexpr int kRows = 24;
inline constexpr int kCellWidth = 8;
inline constexpr int kCellHeight = 18;

// One cell of the text grid: a byte of Shift-JIS text (a double-byte
// character fills two cells) and the colours it was written with.
struct TextCell {
  uint8_t ch = ' ';
  uint8_t fg = 7;
  uint8_t bg = 0;
  bool halfIntensity = false;  // written in colour mode 0 or 1
  bool operator==(const TextCell&) const = default;
};

// RGB (0xRRGGBB) of a text colour number 0..15.
uint32_t textColourRgb(uint8_t colour, bool halfIntensity);

// The 80 x 24 text grid with its cursor and current colours. Writing follows
// the console's rules: rows wrap, a double-byte character never splits, and
// moving below the last row scrolls the grid up.
class TextScreen {
 public:
  TextScreen() { clear(); }

  const TextCell& cell(int column, int row) const { return cells_[row][column]; }
  int column() const { return column_ < kColumns ? column_ : kColumns - 1; }
  int row() const { return row_; }
  uint8_t foreground() const { return fg_; }
  uint8_t background() const { return bg_; }

  // Moves the cursor (unchecked: the console checks the ranges).
  void moveTo(int column, int row);
  void setColours(uint8_t fg, uint8_t bg, bool halfIntensity);
  // Blanks every cell in the current colours and homes the cursor.
  void clear();
  // Writes Shift-JIS text at the cursor and leaves the cursor after it.
  void write(std::string_view sjis);
  // Applies a print separator: end the line, move to the next zone, or stay.
  void separate(Sep sep);
  // Moves to column 0 of the next row, scrolling below the last row.
  void newLine();
  // Removes the character before the cursor (line-input editing).
  void eraseBack(int width);
  // Current output column (0..80), the print position for zones.
  int outputColumn() const { return column_; }

  // Counts every change, so a front end can skip unchanged frames.
  uint64_t version() const { return version_; }

 private:
  void put(uint8_t ch);
  void scroll();

  std::array<std::array<TextCell, kColumns>, kRows> cells_{};
  int column_ = 0;  // kColumns means the row is full and the next byte wraps
  int row_ = 0;
  uint8_t fg_ = 7;
  uint8_t bg_ = 0;
  bool half_ = false;
  uint64_t version_ = 0;
};

}  // namespace kestrun::rt
