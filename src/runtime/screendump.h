#pragma once

#include <string>

namespace kestrun::rt {

class TextScreen;

// The screen as text: 24 lines, each row decoded from Shift-JIS to UTF-8 with
// trailing blanks removed; a line "--"; then 24 lines of 80 hexadecimal
// digits, the foreground colour of each cell.
std::string screenDump(const TextScreen& screen);

}  // namespace kestrun::rt
