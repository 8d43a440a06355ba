#include "runtime/code_page.h"

#include <algorithm>
#include <span>

namespace kestrun::rt {

char32_t codePointOf(std::string_view sjisChar) {
  if (sjisChar.empty()) return 0;
  const auto first = static_cast<uint8_t>(sjisChar[0]);
  const bool pair = sjisChar.size() >= 2 && isLeadByte(first);
  const auto code =
      static_cast<uint16_t>(pair ? first << 8 | static_cast<uint8_t>(sjisChar[1]) : first);
  const std::optional<size_t> slot = codeSlot(code);
  return slot ? code_page::kCodePoints[*slot] : 0;
}

uint16_t shiftJisCodeOf(char32_t codePoint) {
  if (codePoint < 0x80) return static_cast<uint16_t>(codePoint);
  const std::span<const code_page::FromUnicode> table(code_page::kFromUnicode,
                                                      code_page::kFromUnicodeCount);
  const auto found = std::lower_bound(
      table.begin(), table.end(), codePoint,
      [](const code_page::FromUnicode& entry, char32_t c) { return entry.codePoint < c; });
  return found != table.end() && found->codePoint == codePoint ? found->code : 0;
}

}  // namespace kestrun::rt
