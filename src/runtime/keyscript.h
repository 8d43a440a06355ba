#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace kestrun::rt {

// A key script that cannot be read; the message names the offending part.
class KeyScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Turns a typed-ahead key script into key codes: characters stand for
// themselves (non-ASCII text as its Shift-JIS bytes), a newline or {Enter} is
// Enter, {Up} {Down} {Left} {Right} {Esc} {Home} {Ins} {Del} {Bs} are those
// keys, and {{ is a literal "{".
std::vector<uint8_t> parseKeyScript(std::string_view utf8);

}  // namespace kestrun::rt
