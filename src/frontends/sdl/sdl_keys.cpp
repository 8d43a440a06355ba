#include "frontends/sdl/sdl_keys.h"

#include <array>

#include "frontends/keys.h"

namespace kestrun::fe {

namespace {

// The keypad's second meanings, used while Num Lock is off.
std::optional<SDL_Keycode> keypadEditingKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_KP_8:
      return SDLK_UP;
    case SDLK_KP_2:
      return SDLK_DOWN;
    case SDLK_KP_4:
      return SDLK_LEFT;
    case SDLK_KP_6:
      return SDLK_RIGHT;
    case SDLK_KP_7:
      return SDLK_HOME;
    case SDLK_KP_5:
      return SDLK_CLEAR;
    case SDLK_KP_0:
      return SDLK_INSERT;
    case SDLK_KP_PERIOD:
      return SDLK_DELETE;
    default:
      return std::nullopt;
  }
}

// The window's keys that have a console code, by their platform-free name.
std::optional<SpecialKey> specialKeyOf(SDL_Keycode key) {
  switch (key) {
    case SDLK_RIGHT:
      return SpecialKey::Right;
    case SDLK_LEFT:
      return SpecialKey::Left;
    case SDLK_UP:
      return SpecialKey::Up;
    case SDLK_DOWN:
      return SpecialKey::Down;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return SpecialKey::Enter;
    case SDLK_ESCAPE:
      return SpecialKey::Escape;
    case SDLK_HOME:
      return SpecialKey::Home;
    case SDLK_CLEAR:
      return SpecialKey::Clear;
    case SDLK_INSERT:
      return SpecialKey::Insert;
    case SDLK_DELETE:
      return SpecialKey::Delete;
    case SDLK_BACKSPACE:
      return SpecialKey::Backspace;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<uint8_t> consoleKeyCode(SDL_Keycode key, uint16_t modifiers) {
  if ((modifiers & KMOD_NUM) == 0) key = keypadEditingKey(key).value_or(key);
  const std::optional<SpecialKey> special = specialKeyOf(key);
  if (!special) return std::nullopt;
  return consoleKeyCode(*special, (modifiers & KMOD_SHIFT) != 0);
}

bool isFullscreenToggle(SDL_Keycode key, uint16_t modifiers) {
  return (key == SDLK_RETURN || key == SDLK_KP_ENTER) && (modifiers & KMOD_ALT) != 0;
}

std::string screenshotName(const std::tm& time) {
  std::array<char, 32> name{};
  std::strftime(name.data(), name.size(), "kestrun-%Y%m%d-%H%M%S.png", &time);
  return name.data();
}

}  // namespace kestrun::fe
