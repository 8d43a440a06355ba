#include "runtime/screendump.h"

#include <array>

#include "runtime/sjis.h"
#include "runtime/textscreen.h"

namespace kestrun::rt {

std::string screenDump(const TextScreen& screen) {
  std::string out;
  // Every column a three-byte character at most, and the colour rows.
  out.reserve(kRows * (kColumns * 3 + 1) + 3 + kRows * (kColumns + 1));
  for (int r = 0; r < kRows; ++r) {
    std::array<char, kColumns> row;
    for (int c = 0; c < kColumns; ++c) row[c] = static_cast<char>(screen.cell(c, r).ch);
    appendUtf8(std::string_view(row.data(), row.size()), out);
    out.erase(out.find_last_not_of(' ') + 1);
    out += '\n';
  }
  out += "--\n";
  static constexpr char hex[] = "0123456789ABCDEF";
  std::array<char, kColumns + 1> colours;
  colours[kColumns] = '\n';
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) colours[c] = hex[screen.cell(c, r).fg & 15];
    out.append(colours.data(), colours.size());
  }
  return out;
}

}  // namespace kestrun::rt
