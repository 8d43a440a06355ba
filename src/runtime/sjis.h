#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrun::rt {

// All game text is Shift-JIS (code page 932) bytes; a double-byte character
// is two bytes and two text columns.
inline bool isLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Number of bytes of the character that starts at s[pos] (1 or 2).
inline size_t charLength(std::string_view s, size_t pos) {
  return isLeadByte(static_cast<uint8_t>(s[pos])) && pos + 1 < s.size() ? 2 : 1;
}

// UTF-8 to Shift-JIS; characters Shift-JIS cannot hold are dropped.
std::string toShiftJis(std::string_view utf8);
// Shift-JIS to UTF-8; undecodable bytes become U+FFFD.
std::string toUtf8(std::string_view sjis);
// The same, appended to `out`.
void appendUtf8(std::string_view sjis, std::string& out);
// The Unicode code point of one Shift-JIS character (1 or 2 bytes); 0 when it
// has none.
char32_t codePointOf(std::string_view sjisChar);

namespace literals {
// "シナリオ"_sj: a UTF-8 source literal as Shift-JIS bytes, converted once.
const std::string& operator""_sj(const char* text, size_t length);
}  // namespace literals

}  // namespace kestrun::rt
