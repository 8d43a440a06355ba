#include "runtime/screendump.h"

#include "runtime/sjis.h"
#include "runtime/textscreen.h"

namespace kestrun::rt {

std::string screenDump(const TextScreen& screen) {
  std::string out;
  for (int r = 0; r < kRows; ++r) {
    std::string row;
    for (int c = 0; c < kColumns; ++c) row.push_back(static_cast<char>(screen.cell(c, r).ch));
    std::string line = toUtf8(row);
    line.erase(line.find_last_not_of(' ') + 1);
    out += line;
    out += '\n';
  }
  out += "--\n";
  static constexpr char hex[] = "0123456789ABCDEF";
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) out.push_back(hex[screen.cell(c, r).fg & 15]);
    out += '\n';
  }
  return out;
}

}  // namespace kestrun::rt
