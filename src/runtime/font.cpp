#include "runtime/font.h"

#include <sys/stat.h>

#include <cstdio>
#include <optional>

#include "runtime/code_page.h"
#include "runtime/sjis.h"

namespace kestrun::rt {

namespace {

constexpr int32_t kNone = -1;
constexpr int32_t kWanted = -2;
constexpr size_t kBasicPlane = 0x10000;

bool isTrailByte(int b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
bool isSingleByteCharacter(int b) {
  return (b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF);
}

// Every character code Shift-JIS text can hold: single bytes, then lead x 256 + trail.
std::vector<uint16_t> shiftJisCodes() {
  std::vector<uint16_t> codes;
  for (int b = 0; b < 0x100; ++b) {
    if (isSingleByteCharacter(b)) codes.push_back(static_cast<uint16_t>(b));
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!isLeadByte(static_cast<uint8_t>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (isTrailByte(trail)) codes.push_back(static_cast<uint16_t>(lead << 8 | trail));
    }
  }
  return codes;
}

char32_t codePointOfCode(uint16_t code) {
  if (code < 0x100) {
    const char single = static_cast<char>(code);
    return codePointOf(std::string_view(&single, 1));
  }
  const char pair[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  return codePointOf(std::string_view(pair, 2));
}

std::optional<std::string> readWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string content;
  struct stat status {};
  if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode)) {
    content.resize(static_cast<size_t>(status.st_size));
    content.resize(std::fread(content.data(), 1, content.size(), file));
  }
  const bool complete = !content.empty() && !std::ferror(file);
  std::fclose(file);
  if (!complete) return std::nullopt;
  return content;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The code point before the colon of a .hex line; nullopt when it is not hex.
std::optional<uint32_t> parseCodePoint(std::string_view text) {
  if (text.empty() || text.size() > 6) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    const int digit = hexValue(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

// The bitmap after the colon: 32 hex digits for 8 x 16, 64 for 16 x 16.
std::optional<Font::Glyph> parseBitmap(std::string_view text) {
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  if (text.size() != 32 && text.size() != 64) return std::nullopt;
  Font::Glyph glyph{};
  glyph.width = text.size() == 32 ? 8 : 16;
  const size_t digitsPerRow = glyph.width / 4;
  for (size_t row = 0; row < 16; ++row) {
    uint16_t bits = 0;
    for (size_t i = 0; i < digitsPerRow; ++i) {
      const int digit = hexValue(text[row * digitsPerRow + i]);
      if (digit < 0) return std::nullopt;
      bits = static_cast<uint16_t>(bits << 4 | digit);
    }
    glyph.rows[row] = bits;
  }
  return glyph;
}

// A narrow glyph used for a double-byte character, centred in 16 columns.
Font::Glyph widened(const Font::Glyph& narrow) {
  Font::Glyph wide{};
  wide.width = 16;
  for (size_t row = 0; row < 16; ++row)
    wide.rows[row] = static_cast<uint16_t>(narrow.rows[row] << 4);
  return wide;
}

}  // namespace

static_assert(Font::kIndexSlots == kCodeSlots);

std::optional<size_t> Font::slotOf(uint16_t sjisCode) {
  return codeSlot(sjisCode);
}

bool Font::load(const std::string& path) {
  const std::optional<std::string> content = readWholeFile(path);
  if (!content) return false;

  const std::vector<uint16_t> codes = shiftJisCodes();
  std::vector<char32_t> codePoints(codes.size());
  // Glyph number by code point; kWanted marks those Shift-JIS needs but not yet read.
  std::vector<int32_t> byCodePoint(kBasicPlane, kNone);
  for (size_t i = 0; i < codes.size(); ++i) {
    codePoints[i] = codePointOfCode(codes[i]);
    if (codePoints[i] != 0 && codePoints[i] < kBasicPlane) byCodePoint[codePoints[i]] = kWanted;
  }

  std::vector<Glyph> parsed;
  std::string_view rest(*content);
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::optional<uint32_t> codePoint = parseCodePoint(line.substr(0, colon));
    if (!codePoint || *codePoint >= kBasicPlane || byCodePoint[*codePoint] != kWanted) continue;
    if (const std::optional<Glyph> glyph = parseBitmap(line.substr(colon + 1))) {
      byCodePoint[*codePoint] = static_cast<int32_t>(parsed.size());
      parsed.push_back(*glyph);
    }
  }
  if (parsed.empty()) return false;

  std::vector<uint16_t> index(kIndexSlots, kNoGlyph);
  // The widened copy of a narrow glyph, made once however many codes use it.
  std::vector<int32_t> widenedOf(parsed.size(), kNone);
  for (size_t i = 0; i < codes.size(); ++i) {
    const int32_t found = codePoints[i] < kBasicPlane ? byCodePoint[codePoints[i]] : kNone;
    if (found < 0) continue;
    const bool doubleByte = codes[i] >= 0x100;
    int32_t number = found;
    if (doubleByte && parsed[found].width == 8) {
      if (widenedOf[found] < 0) {
        widenedOf[found] = static_cast<int32_t>(parsed.size());
        parsed.push_back(widened(parsed[found]));
      }
      number = widenedOf[found];
    } else if (!doubleByte && parsed[found].width != 8) {
      continue;  // a single-byte character must fit its one cell
    }
    index[*slotOf(codes[i])] = static_cast<uint16_t>(number);
  }

  loadedGlyphs_ = std::move(parsed);
  loadedIndex_ = std::move(index);
  glyphs_ = loadedGlyphs_;
  index_ = loadedIndex_;
  return true;
}

const Font::Glyph* Font::glyph(uint16_t sjisCode) const {
  if (index_.empty()) return nullptr;
  const std::optional<size_t> slot = slotOf(sjisCode);
  if (!slot) return nullptr;
  const uint16_t number = index_[*slot];
  return number == kNoGlyph ? nullptr : &glyphs_[number];
}

void drawGlyph(const Font::Glyph& glyph, int x, int y, uint32_t rgb, std::span<uint32_t> image,
               int imageWidth, int imageHeight) {
  for (int row = 0; row < 16; ++row) {
    const int py = y + row;
    if (py < 0 || py >= imageHeight) continue;
    const uint16_t bits = glyph.rows[row];
    if (bits == 0) continue;
    uint32_t* line = image.data() + static_cast<size_t>(py) * imageWidth;
    for (int column = 0; column < glyph.width; ++column) {
      const int px = x + column;
      if ((bits >> (glyph.width - 1 - column) & 1) && px >= 0 && px < imageWidth) line[px] = rgb;
    }
  }
}

}  // namespace kestrun::rt
