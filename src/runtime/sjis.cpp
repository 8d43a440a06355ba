#include "runtime/sjis.h"

#include <iconv.h>

#include <array>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace kestrun::rt {

namespace {

// The characters whose code page 932 form differs from plain Shift-JIS:
// their code page 932 UTF-8 and their bytes.
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kWindowsForms{{
    {"\xEF\xBD\x9E", "\x81\x60"},  // ～
    {"\xE2\x88\xA5", "\x81\x61"},  // ∥
    {"\xEF\xBC\x8D", "\x81\x7C"},  // －
    {"\xEF\xBF\xA0", "\x81\x91"},  // ￠
    {"\xEF\xBF\xA1", "\x81\x92"},  // ￡
    {"\xEF\xBF\xA2", "\x81\xCA"},  // ￢
    {"\xE2\x80\x95", "\x81\x5C"},  // ―
}};

enum class Direction { ToShiftJis, FromShiftJis };

class Converter {
 public:
  // Code page 932 where the C library has it; else (the browser build's C
  // library) plain Shift-JIS with the characters whose forms differ looked up
  // here, so that both builds convert alike.
  explicit Converter(Direction direction) : direction_(direction) {
    const bool toSjis = direction == Direction::ToShiftJis;
    handle_ = toSjis ? iconv_open("CP932", "UTF-8") : iconv_open("UTF-8", "CP932");
    if (handle_ != kNoHandle) return;
    plainShiftJis_ = true;
    handle_ = toSjis ? iconv_open("SHIFT_JIS", "UTF-8") : iconv_open("UTF-8", "SHIFT_JIS");
    if (handle_ == kNoHandle) throw std::runtime_error("iconv cannot convert Shift-JIS");
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one character's bytes; returns false when it cannot be converted.
  bool convert(std::string_view in, std::string& out) {
    if (plainShiftJis_ && convertWindowsForm(in, out)) return true;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    std::array<char, 16> buffer{};
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      return false;
    }
    out.append(buffer.data(), buffer.size() - outLeft);
    return true;
  }

 private:
  static inline const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);

  bool convertWindowsForm(std::string_view in, std::string& out) const {
    for (const auto& [utf8, sjis] : kWindowsForms) {
      const bool toSjis = direction_ == Direction::ToShiftJis;
      if (in == (toSjis ? utf8 : sjis)) {
        out += toSjis ? sjis : utf8;
        return true;
      }
    }
    return false;
  }

  Direction direction_;
  iconv_t handle_;
  bool plainShiftJis_ = false;
};

Converter& toSjisConverter() {
  static Converter c(Direction::ToShiftJis);
  return c;
}
Converter& fromSjisConverter() {
  static Converter c(Direction::FromShiftJis);
  return c;
}

size_t utf8Length(uint8_t lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

std::string toShiftJis(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const size_t n = std::min(utf8Length(static_cast<uint8_t>(utf8[i])), utf8.size() - i);
    if (n == 1 && static_cast<uint8_t>(utf8[i]) < 0x80) {
      out.push_back(utf8[i]);
    } else {
      toSjisConverter().convert(utf8.substr(i, n), out);
    }
    i += n;
  }
  return out;
}

namespace {

// What one Shift-JIS character becomes in UTF-8, looked up once and kept:
// the code page has no shift states, so a character always converts alike.
// Each entry packs up to three UTF-8 bytes and their count; 0 is not yet
// looked up.
class Utf8Cache {
 public:
  // Writes the character's UTF-8 bytes at `to`; returns their count.
  size_t write(std::string_view sjisChar, char* to) {
    uint32_t& entry = entries_[key(sjisChar)];
    if (entry == 0) entry = lookUp(sjisChar);
    const size_t length = entry >> 24;
    for (size_t i = 0; i < length; ++i) to[i] = static_cast<char>(entry >> (8 * i));
    return length;
  }

 private:
  static size_t key(std::string_view sjisChar) {
    const auto lead = static_cast<uint8_t>(sjisChar[0]);
    return sjisChar.size() == 1 ? lead : (size_t{lead} << 8) | static_cast<uint8_t>(sjisChar[1]);
  }
  static uint32_t lookUp(std::string_view sjisChar) {
    std::string utf8;
    if (!fromSjisConverter().convert(sjisChar, utf8) || utf8.empty() || utf8.size() > 3) {
      utf8 = "\xEF\xBF\xBD";
    }
    uint32_t packed = static_cast<uint32_t>(utf8.size()) << 24;
    for (size_t i = 0; i < utf8.size(); ++i) {
      packed |= uint32_t{static_cast<uint8_t>(utf8[i])} << (8 * i);
    }
    return packed;
  }
  std::array<uint32_t, 0x10000> entries_{};
};

Utf8Cache& utf8Cache() {
  static Utf8Cache cache;
  return cache;
}

}  // namespace

void appendUtf8(std::string_view sjis, std::string& out) {
  // Three UTF-8 bytes at most for every byte, written in place.
  const size_t start = out.size();
  out.resize(start + 3 * sjis.size());
  char* to = out.data() + start;
  for (size_t i = 0; i < sjis.size();) {
    const size_t n = charLength(sjis, i);
    if (static_cast<uint8_t>(sjis[i]) < 0x80) {
      *to++ = sjis[i];
    } else {
      to += utf8Cache().write(sjis.substr(i, n), to);
    }
    i += n;
  }
  out.resize(static_cast<size_t>(to - out.data()));
}

std::string toUtf8(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size() * 3 / 2);
  appendUtf8(sjis, out);
  return out;
}

char32_t codePointOf(std::string_view sjisChar) {
  if (sjisChar.empty()) return 0;
  const uint8_t b = static_cast<uint8_t>(sjisChar[0]);
  if (b < 0x80) return b;
  std::string utf8;
  if (!fromSjisConverter().convert(sjisChar, utf8) || utf8.empty()) return 0;
  const auto* u = reinterpret_cast<const unsigned char*>(utf8.data());
  switch (utf8Length(u[0])) {
    case 2:
      return ((u[0] & 0x1F) << 6) | (u[1] & 0x3F);
    case 3:
      return ((u[0] & 0x0F) << 12) | ((u[1] & 0x3F) << 6) | (u[2] & 0x3F);
    case 4:
      return ((u[0] & 0x07) << 18) | ((u[1] & 0x3F) << 12) | ((u[2] & 0x3F) << 6) | (u[3] & 0x3F);
    default:
      return u[0];
  }
}

namespace literals {
const std::string& operator""_sj(const char* text, size_t length) {
  // Literals have static storage, so their address identifies them.
  static std::unordered_map<const char*, std::string> cache;
  auto it = cache.find(text);
  if (it == cache.end()) {
    it = cache.emplace(text, toShiftJis(std::string_view(text, length))).first;
  }
  return it->second;
}
}  // namespace literals

}  // namespace kestrun::rt
