#include "runtime/sjis.h"

#include <array>
#include <unordered_map>

#include "runtime/code_page.h"

namespace kestrun::rt {

namespace {

size_t utf8Length(uint8_t lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// The code point of one UTF-8 sequence; 0 when it is not a well-formed one
// (cut short, a continuation byte out of place, an overlong form, more than
// three bytes).
char32_t decodeUtf8(std::string_view sequence) {
  const auto* u = reinterpret_cast<const unsigned char*>(sequence.data());
  if (utf8Length(u[0]) != sequence.size()) return 0;
  for (size_t i = 1; i < sequence.size(); ++i) {
    if ((u[i] & 0xC0) != 0x80) return 0;
  }
  switch (sequence.size()) {
    case 2: {
      const char32_t c = (u[0] & 0x1F) << 6 | (u[1] & 0x3F);
      return c >= 0x80 ? c : 0;
    }
    case 3: {
      const char32_t c = (u[0] & 0x0F) << 12 | (u[1] & 0x3F) << 6 | (u[2] & 0x3F);
      return c >= 0x800 ? c : 0;
    }
    default:
      return 0;
  }
}

void appendUtf8Of(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::string toShiftJis(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const size_t n = std::min(utf8Length(static_cast<uint8_t>(utf8[i])), utf8.size() - i);
    if (n == 1 && static_cast<uint8_t>(utf8[i]) < 0x80) {
      out.push_back(utf8[i]);
    } else if (const char32_t c = decodeUtf8(utf8.substr(i, n)); c != 0) {
      const uint16_t code = shiftJisCodeOf(c);
      if (code >= 0x100) out.push_back(static_cast<char>(code >> 8));
      if (code != 0) out.push_back(static_cast<char>(code & 0xFF));
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
    const char32_t c = codePointOf(sjisChar);
    std::string utf8;
    appendUtf8Of(c != 0 && c < 0x10000 ? c : 0xFFFD, utf8);
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
