#include "frontends/keys.h"

#include <array>
#include <utility>

#include "runtime/keyboard.h"

namespace kestrun::fe {

uint8_t consoleKeyCode(SpecialKey key, bool shift) {
  switch (key) {
    case SpecialKey::Right:
      return rt::key::Right;
    case SpecialKey::Left:
      return rt::key::Left;
    case SpecialKey::Up:
      return rt::key::Up;
    case SpecialKey::Down:
      return rt::key::Down;
    case SpecialKey::Enter:
      return rt::key::Enter;
    case SpecialKey::Escape:
      return rt::key::Escape;
    case SpecialKey::Home:
      return shift ? rt::key::ShiftHome : rt::key::Home;
    case SpecialKey::Clear:
      return rt::key::ShiftHome;
    case SpecialKey::Insert:
      return rt::key::Insert;
    case SpecialKey::Delete:
      return rt::key::Delete;
    case SpecialKey::Backspace:
      break;
  }
  return rt::key::Backspace;
}

std::optional<SpecialKey> specialKeyOfBrowserName(std::string_view name) {
  // The browser has already given the keypad its Num Lock meaning.
  static constexpr std::array<std::pair<std::string_view, SpecialKey>, 12> kNames{{
      {"ArrowRight", SpecialKey::Right},
      {"ArrowLeft", SpecialKey::Left},
      {"ArrowUp", SpecialKey::Up},
      {"ArrowDown", SpecialKey::Down},
      {"Enter", SpecialKey::Enter},
      {"Escape", SpecialKey::Escape},
      {"Home", SpecialKey::Home},
      {"Clear", SpecialKey::Clear},
      {"Insert", SpecialKey::Insert},
      {"Delete", SpecialKey::Delete},
      {"Backspace", SpecialKey::Backspace},
      {"Esc", SpecialKey::Escape},
  }};
  for (const auto& [known, key] : kNames) {
    if (known == name) return key;
  }
  return std::nullopt;
}

}  // namespace kestrun::fe
