#include "runtime/code_page.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "runtime/sjis.h"

namespace kestrun::rt {
namespace {

// glibc's own conversion, which the carried tables were made from.
std::string iconvConvert(const char* to, const char* from, const std::string& in) {
  iconv_t handle = iconv_open(to, from);
  EXPECT_NE(handle, reinterpret_cast<iconv_t>(-1));
  char buffer[16];
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  char* outPtr = buffer;
  size_t outLeft = sizeof buffer;
  const bool converted =
      iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
  iconv_close(handle);
  return converted ? std::string(buffer, sizeof buffer - outLeft) : std::string();
}

std::string utf8Of(char32_t c) {
  if (c < 0x80) return std::string(1, static_cast<char>(c));
  if (c < 0x800) return {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
  return {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
          static_cast<char>(0x80 | (c & 0x3F))};
}

TEST(CodePage, UnicodeToShiftJisAsIconvConvertsIt) {
  for (char32_t c = 0x80; c < 0x10000; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    ASSERT_EQ(toShiftJis(utf8Of(c)), iconvConvert("CP932", "UTF-8", utf8Of(c)))
        << std::hex << static_cast<uint32_t>(c);
  }
}

TEST(CodePage, ShiftJisToUnicodeAsIconvConvertsIt) {
  for (uint32_t code = 0x80; code < 0x10000; ++code) {
    if (!codeSlot(static_cast<uint16_t>(code))) continue;
    const std::string sjis =
        code < 0x100 ? std::string(1, static_cast<char>(code))
                     : std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const std::string expected = iconvConvert("UTF-8", "CP932", sjis);
    ASSERT_EQ(toUtf8(sjis), expected.empty() ? "\xEF\xBF\xBD" : expected) << std::hex << code;
  }
}

TEST(CodePage, MalformedUtf8IsDropped) {
  EXPECT_EQ(toShiftJis("a\xC0\x80z"), "az");                          // an overlong NUL
  EXPECT_EQ(toShiftJis("a\xED\xA0\x80z"), "az");                      // a surrogate
  EXPECT_EQ(toShiftJis("a\xE3\x81"), "a");                            // cut short
  EXPECT_EQ(toShiftJis("a\xF0\x9F\x98\x80z"), "az");                  // beyond the basic plane
  EXPECT_EQ(toShiftJis("a\x81z"), "az");                              // a lone continuation byte
  EXPECT_EQ(toShiftJis("\xE3\x81\x82\xEF\xBD\xB6"), "\x82\xA0\xB6");  // あ and half-width ｶ
}

}  // namespace
}  // namespace kestrun::rt
