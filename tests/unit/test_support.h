#pragma once

#include <string>

#include "runtime/errors.h"
#include "runtime/textscreen.h"

namespace kestrun::rt {

// The code of the run-time error the action raises, or 0 when it raises none.
template <typename Action>
int errorCodeOf(Action&& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e.code();
  }
  return 0;
}

// One row of the text grid as its bytes, trailing blanks removed.
inline std::string rowText(const TextScreen& screen, int row) {
  std::string bytes;
  for (int c = 0; c < kColumns; ++c) bytes.push_back(static_cast<char>(screen.cell(c, row).ch));
  bytes.erase(bytes.find_last_not_of(' ') + 1);
  return bytes;
}

}  // namespace kestrun::rt
