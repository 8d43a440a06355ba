#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "runtime/sjis.h"

namespace kestrun::rt {

// The Shift-JIS code of a code point (the byte of a single-byte character,
// lead x 256 + trail of a double-byte one); 0 when code page 932 has none.
// (codePointOf() of sjis.h goes the other way.)
uint16_t shiftJisCodeOf(char32_t codePoint);

// The place of a character code in tables indexed by code: one per single
// byte, then 192 trail bytes (0x40..0xFF) for each of the 60 lead bytes;
// nullopt when Shift-JIS has no such code.
constexpr size_t kCodeSlots = 0x100 + 60 * 0xC0;
inline std::optional<size_t> codeSlot(uint16_t sjisCode) {
  if (sjisCode < 0x100) return sjisCode;
  const auto lead = static_cast<uint8_t>(sjisCode >> 8);
  const size_t trail = sjisCode & 0xFF;
  if (!isLeadByte(lead) || trail < 0x40) return std::nullopt;
  const size_t leadNumber = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1);
  return 0x100 + leadNumber * 0xC0 + (trail - 0x40);
}

}  // namespace kestrun::rt

// Code page 932 as tables, written at build time by tools/glyph_table from
// glibc's iconv (into glyph_table.cpp in the build folder, beside the glyphs),
// so that the program converts text without iconv and alike on every system.
namespace kestrun::rt::code_page {

// The code point of every Shift-JIS code, by codeSlot(); 0 where it has none.
extern const char16_t kCodePoints[kCodeSlots];

// The Shift-JIS code of each code point that has one, sorted by code point.
struct FromUnicode {
  char16_t codePoint;
  uint16_t code;
};
extern const FromUnicode kFromUnicode[];
extern const size_t kFromUnicodeCount;

}  // namespace kestrun::rt::code_page
