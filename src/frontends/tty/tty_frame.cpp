#include "frontends/tty/tty_frame.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>

#include "runtime/graphics.h"
#include "runtime/sjis.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {

namespace {

constexpr std::array<uint32_t, 16> kAnsiRgb = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// Raises a dark colour to the brightness of the dim terminal colours, keeping
// its hue, so a faint pixel matches its hue rather than the nearest dim colour.
uint32_t atLeastDimColour(uint32_t rgb) {
  const int brightest =
      std::max({colourChannel(rgb, 16), colourChannel(rgb, 8), colourChannel(rgb, 0)});
  if (brightest == 0) return 0x808080;
  if (brightest >= 0x80) return rgb;
  uint32_t raised = 0;
  for (const int shift : {16, 8, 0}) {
    raised |= static_cast<uint32_t>(colourChannel(rgb, shift) * 0x80 / brightest) << shift;
  }
  return raised;
}

int brightness(uint32_t rgb) {
  return colourChannel(rgb, 16) + colourChannel(rgb, 8) + colourChannel(rgb, 0);
}

uint32_t pixelAt(std::span<const uint32_t> plane, int x, int y) {
  return plane[static_cast<size_t>(y) * rt::kPlaneWidth + x] & 0xFFFFFF;
}

// A pixel whose four neighbours have its colour lies inside a filled area;
// the plane's border counts as more of the fill.
bool isInsideFill(std::span<const uint32_t> plane, int x, int y, uint32_t rgb) {
  const auto same = [&](int nx, int ny) {
    if (nx < 0 || ny < 0 || nx >= rt::kPlaneWidth || ny >= rt::kPlaneHeight) return true;
    return pixelAt(plane, nx, ny) == rgb;
  };
  return same(x - 1, y) && same(x + 1, y) && same(x, y - 1) && same(x, y + 1);
}

// Bit of U+2800 for the dot in sub-block column x (0..1), row y (0..3).
constexpr uint8_t brailleBit(int x, int y) {
  constexpr std::array<std::array<uint8_t, 4>, 2> bits = {
      {{0x01, 0x02, 0x04, 0x40}, {0x08, 0x10, 0x20, 0x80}}};
  return bits[x][y];
}

// The cell's pixel rows split into four sub-blocks of 4 or 5 rows.
constexpr int subBlockTop(int y) {
  return y * rt::kCellHeight / 4;
}

std::string utf8Of(char32_t code) {
  std::string out;
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
  return out;
}

bool isTrailByte(uint8_t b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Single-byte characters with a visible form: ASCII and half-width katakana.
bool isVisibleSingleByte(uint8_t ch) {
  return (ch > 0x20 && ch < 0x7F) || (ch >= 0xA1 && ch <= 0xDF);
}

std::string singleByteGlyph(uint8_t ch) {
  if (ch < 0x80) return std::string(1, static_cast<char>(ch));
  return utf8Of(0xFF61 + (ch - 0xA1));
}

const std::string& doubleByteGlyph(uint8_t lead, uint8_t trail) {
  static std::unordered_map<uint16_t, std::string> cache;
  const auto code = static_cast<uint16_t>(lead << 8 | trail);
  auto found = cache.find(code);
  if (found == cache.end()) {
    const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    found = cache.emplace(code, rt::toUtf8(std::string_view(bytes, 2))).first;
  }
  return found->second;
}

bool isAllBlack(std::span<const uint32_t> plane, int column, int row) {
  for (int y = row * rt::kCellHeight; y < (row + 1) * rt::kCellHeight; ++y) {
    const uint32_t* line = plane.data() + static_cast<size_t>(y) * rt::kPlaneWidth;
    for (int x = column * rt::kCellWidth; x < (column + 1) * rt::kCellWidth; ++x) {
      if ((line[x] & 0xFFFFFF) != 0) return false;
    }
  }
  return true;
}

TerminalCell graphicsCell(std::span<const uint32_t> plane, int column, int row,
                          const FrameOptions& options) {
  const bool imageRow = row < options.imageRows;
  if (options.drawing == GraphicsDrawing::Kitty && imageRow) return {" ", 7, kAnsiBlack, 1};
  if (options.drawing == GraphicsDrawing::Sixel && imageRow) {
    if (isAllBlack(plane, column, row)) return {" ", 7, kAnsiBlack, 1};
    return {"", 7, kAnsiBlack, 1, true};
  }
  const BrailleCell braille = brailleCell(plane, column, row);
  if (braille.dots == 0) return {" ", 7, kAnsiBlack, 1};
  return {utf8Of(0x2800 + braille.dots), braille.colour, kAnsiBlack, 1};
}

uint8_t textForeground(const rt::TextCell& cell) {
  return nearestAnsiColour(rt::textColourRgb(cell.fg, cell.halfIntensity));
}

// The window is black behind everything; painting that black on every cell
// keeps a light-themed terminal looking the same, and colour-0 text invisible.
uint8_t textBackground(const rt::TextCell& cell) {
  if (cell.bg == 0) return kAnsiBlack;
  return nearestAnsiColour(rt::textColourRgb(cell.bg, cell.halfIntensity));
}

// Fills one row; a double-byte character takes the cell it starts in and the
// next. Cells without a visible character let the graphics show, unless they
// have a background colour.
void buildRow(const rt::TextScreen& text, std::span<const uint32_t> plane, int row,
              const FrameOptions& options, TerminalCell* cells) {
  for (int column = 0; column < rt::kColumns; ++column) {
    const rt::TextCell& cell = text.cell(column, row);
    const bool doubleByte = rt::isLeadByte(cell.ch) && column + 1 < rt::kColumns &&
                            isTrailByte(text.cell(column + 1, row).ch);
    if (doubleByte) {
      const uint8_t fg = textForeground(cell);
      const uint8_t bg = textBackground(cell);
      cells[column] = {doubleByteGlyph(cell.ch, text.cell(column + 1, row).ch), fg, bg, 2};
      cells[++column] = {"", fg, bg, 0};
    } else if (isVisibleSingleByte(cell.ch)) {
      cells[column] = {singleByteGlyph(cell.ch), textForeground(cell), textBackground(cell), 1};
    } else if (cell.bg == 0) {
      cells[column] = graphicsCell(plane, column, row, options);
    } else {
      cells[column] = {" ", 7, textBackground(cell), 1};
    }
  }
}

// The cursor and colours the terminal is known to have; -1 / unknown until set.
class TerminalWriter {
 public:
  explicit TerminalWriter(std::string& out) : out_(out) {}

  void put(int column, int row, const TerminalCell& cell) {
    if (cell.width == 2) {
      // Blank the right half first: a terminal that draws this character
      // one column wide leaves no stale byte there.
      putNarrow(column + 1, row, " ", cell.fg, cell.bg);
      moveTo(column, row);
      out_ += cell.glyph;
      column_ = -1;  // the terminal may have advanced one column or two
      return;
    }
    putNarrow(column, row, cell.glyph, cell.fg, cell.bg);
  }

 private:
  void putNarrow(int column, int row, std::string_view glyph, uint8_t fg, uint8_t bg) {
    if (column != column_ || row != row_) moveTo(column, row);
    setColours(fg, bg);
    out_ += glyph;
    column_ = column + 1 < rt::kColumns ? column + 1 : -1;
  }

  void moveTo(int column, int row) {
    out_ += "\x1b[" + std::to_string(row + 1) + ';' + std::to_string(column + 1) + 'H';
    column_ = column;
    row_ = row;
  }

  void setColours(uint8_t fg, uint8_t bg) {
    if (fg == fg_ && bg == bg_) return;
    const int fgCode = fg < 8 ? 30 + fg : 90 + fg - 8;
    const int bgCode = bg == kDefaultBackground ? 49 : bg < 8 ? 40 + bg : 100 + bg - 8;
    out_ += "\x1b[" + std::to_string(fgCode) + ';' + std::to_string(bgCode) + 'm';
    fg_ = fg;
    bg_ = bg;
  }

  std::string& out_;
  int column_ = -1;
  int row_ = -1;
  int fg_ = -1;
  int bg_ = -1;
};

// The start of a line of text that fits in `columns` terminal columns; the
// characters outside ASCII count two columns, as the notice's Japanese does.
std::string fitToColumns(std::string_view utf8, int columns) {
  std::string out;
  int used = 0;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const int width = lead < 0x80 ? 1 : 2;
    if (used + width > std::max(columns, 1)) break;
    out += utf8.substr(i, length);
    used += width;
    i += length;
  }
  return out;
}

}  // namespace

uint8_t nearestAnsiColour(uint32_t rgb, bool allowBlack) {
  if (!allowBlack) rgb = atLeastDimColour(rgb);
  uint8_t best = allowBlack ? 0 : 1;
  for (uint8_t i = best + 1; i < kAnsiRgb.size(); ++i) {
    if (colourDistance(rgb, kAnsiRgb[i]) < colourDistance(rgb, kAnsiRgb[best])) best = i;
  }
  return best;
}

BrailleCell brailleCell(std::span<const uint32_t> plane, int column, int row) {
  struct Tally {
    uint32_t rgb;
    int count;
  };
  std::vector<Tally> tallies;
  BrailleCell result;
  const int left = column * rt::kCellWidth;
  const int top = row * rt::kCellHeight;
  for (int sy = 0; sy < 4; ++sy) {
    for (int y = top + subBlockTop(sy); y < top + subBlockTop(sy + 1); ++y) {
      for (int x = left; x < left + rt::kCellWidth; ++x) {
        const uint32_t rgb = pixelAt(plane, x, y);
        if (rgb == 0 || isInsideFill(plane, x, y, rgb)) continue;
        result.dots |= brailleBit((x - left) * 2 / rt::kCellWidth, sy);
        auto tally = std::find_if(tallies.begin(), tallies.end(),
                                  [rgb](const Tally& t) { return t.rgb == rgb; });
        if (tally == tallies.end()) {
          tallies.push_back({rgb, 1});
        } else {
          ++tally->count;
        }
      }
    }
  }
  if (tallies.empty()) return result;
  const Tally* chosen = &tallies.front();
  for (const Tally& t : tallies) {
    if (t.count > chosen->count ||
        (t.count == chosen->count && brightness(t.rgb) > brightness(chosen->rgb))) {
      chosen = &t;
    }
  }
  result.colour = nearestAnsiColour(chosen->rgb, false);
  return result;
}

TerminalFrame blankFrame() {
  return TerminalFrame(rt::kColumns * rt::kRows);
}

TerminalFrame buildFrame(const rt::TextScreen& text, const rt::GraphicsPlane& graphics,
                         const FrameOptions& options) {
  TerminalFrame frame = blankFrame();
  for (int row = 0; row < rt::kRows; ++row) {
    buildRow(text, graphics.pixels(), row, options,
             &frame[static_cast<size_t>(row) * rt::kColumns]);
  }
  return frame;
}

std::string drawChanges(const TerminalFrame& wanted, TerminalFrame& shown) {
  // A right half carries its character's colours, so it changes only together
  // with its left half, and putting the left half redraws the whole character.
  std::string out;
  TerminalWriter writer(out);
  for (int row = 0; row < rt::kRows; ++row) {
    for (int column = 0; column < rt::kColumns; ++column) {
      const size_t i = static_cast<size_t>(row) * rt::kColumns + column;
      if (wanted[i].width != 0 && !wanted[i].image && !(wanted[i] == shown[i])) {
        writer.put(column, row, wanted[i]);
      }
    }
  }
  shown = wanted;
  return out;
}

std::string clearScreen() {
  return "\x1b[0m\x1b[2J";
}

std::string enlargeNotice(int terminalColumns, int terminalRows) {
  const std::string size = std::to_string(terminalColumns) + " x " + std::to_string(terminalRows);
  const std::string lines[] = {
      "端末を 80 x 24 以上に広げてください",
      "Please enlarge the terminal to 80 x 24",
      "(今 / now: " + size + ")",
      "それまでキーは捨てられます",
      "Keys are ignored until then",
  };
  std::string out = clearScreen();
  int row = 1;
  for (const std::string& line : lines) {
    if (row > std::max(terminalRows, 1)) break;
    out += "\x1b[" + std::to_string(row++) + ";1H" + fitToColumns(line, terminalColumns);
  }
  return out;
}

}  // namespace kestrun::fe
