#pragma once

#include <SDL_keycode.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace kestrun::fe {

// The console key code of a key pressed in the window. Characters are not
// here: they arrive as text input. Keys the console has no code for give none.
std::optional<uint8_t> consoleKeyCode(SDL_Keycode key, uint16_t modifiers);

// Alt+Enter switches between window and full screen.
bool isFullscreenToggle(SDL_Keycode key, uint16_t modifiers);

// "kestrun-YYYYMMDD-HHMMSS.png" for a screenshot taken at that local time.
std::string screenshotName(const std::tm& time);

}  // namespace kestrun::fe
