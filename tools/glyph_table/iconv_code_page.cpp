// Code page 932 through glibc's iconv, for the tool that writes the tables
// the program carries instead (the program's own is runtime/code_page.cpp).
#include <iconv.h>

#include <array>
#include <stdexcept>
#include <string>

#include "runtime/code_page.h"

namespace kestrun::rt {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // The whole input converted; empty when it cannot be.
  std::string convert(std::string_view in) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    std::array<char, 16> buffer{};
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return {};
    return std::string(buffer.data(), buffer.size() - outLeft);
  }

 private:
  iconv_t handle_;
};

}  // namespace

char32_t codePointOf(std::string_view sjisChar) {
  if (sjisChar.empty()) return 0;
  if (static_cast<uint8_t>(sjisChar[0]) < 0x80) return static_cast<uint8_t>(sjisChar[0]);
  static Converter fromShiftJis("UTF-8", "CP932");
  const std::string utf8 = fromShiftJis.convert(sjisChar);
  const auto* u = reinterpret_cast<const unsigned char*>(utf8.data());
  // The first character of what came out.
  if (utf8.size() >= 2 && (u[0] & 0xE0) == 0xC0) return (u[0] & 0x1F) << 6 | (u[1] & 0x3F);
  if (utf8.size() >= 3 && (u[0] & 0xF0) == 0xE0) {
    return (u[0] & 0x0F) << 12 | (u[1] & 0x3F) << 6 | (u[2] & 0x3F);
  }
  return utf8.empty() ? 0 : u[0];
}

uint16_t shiftJisCodeOf(char32_t codePoint) {
  if (codePoint < 0x80) return static_cast<uint16_t>(codePoint);
  if (codePoint >= 0x10000 || (codePoint >= 0xD800 && codePoint < 0xE000)) return 0;
  static Converter toShiftJis("CP932", "UTF-8");
  std::string utf8;
  if (codePoint < 0x800) {
    utf8 = {static_cast<char>(0xC0 | codePoint >> 6), static_cast<char>(0x80 | (codePoint & 0x3F))};
  } else {
    utf8 = {static_cast<char>(0xE0 | codePoint >> 12),
            static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)),
            static_cast<char>(0x80 | (codePoint & 0x3F))};
  }
  const std::string sjis = toShiftJis.convert(utf8);
  if (sjis.size() == 1) return static_cast<uint8_t>(sjis[0]);
  if (sjis.size() == 2)
    return static_cast<uint16_t>(static_cast<uint8_t>(sjis[0]) << 8 |
                                 static_cast<uint8_t>(sjis[1]));
  return 0;
}

}  // namespace kestrun::rt
