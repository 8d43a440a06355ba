#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrun::fe {

// The keys that have a console code of their own rather than a character,
// named apart from any platform, so that every front end maps them alike.
enum class SpecialKey : uint8_t {
  Right,
  Left,
  Up,
  Down,
  Enter,
  Escape,
  Home,
  Clear,
  Insert,
  Delete,
  Backspace,
};

// The console key code of a special key; Shift turns Home into Shift+Home.
uint8_t consoleKeyCode(SpecialKey key, bool shift);

// The special key a browser names in its keyboard events ("ArrowUp", "Enter",
// ...); none for the keys that type characters or that the console lacks.
std::optional<SpecialKey> specialKeyOfBrowserName(std::string_view name);

}  // namespace kestrun::fe
