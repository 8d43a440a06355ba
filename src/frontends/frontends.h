#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "runtime/frontend.h"

namespace kestrun::rt {
class Font;
}

namespace kestrun::fe {

// A front end that cannot start (no display, no terminal, no UTF-8 locale);
// the message tells the player what to do.
class FrontendError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct WindowOptions {
  int scale = 0;  // 0: as large as fits the screen, else that integer factor
  bool fullscreen = false;
  std::string screenshotDir;  // where F12 saves its pictures (empty: the current directory)
  // The on-screen pad from the start; else a double click, a touch or the
  // controller's Back button shows it.
  bool showPad = false;
};

// A resizable window showing the 640 x 432 image, integer-scaled. It lives in
// a module of its own (lib/kestrun/sdl.so), loaded by the first call;
// FrontendError when the module cannot be loaded.
std::unique_ptr<rt::Frontend> makeSdlFrontend(const WindowOptions& options, const rt::Font& font);
// How the terminal draws the graphics plane: asked of the terminal (auto),
// a sixel or kitty image beneath the text, or braille dots in the cells.
enum class TtyGraphics : uint8_t { Auto, Sixel, Kitty, Cells };
// The choice named auto, sixel, kitty or cells.
std::optional<TtyGraphics> ttyGraphicsNamed(std::string_view name);
// The terminal: text in UTF-8 with ANSI colours, graphics as images where the
// terminal can show them, else in the cells that hold no text.
std::unique_ptr<rt::Frontend> makeTtyFrontend(TtyGraphics graphics);
// No screen and no player: virtual time, every wait returns at once.
std::unique_ptr<rt::Frontend> makeHeadlessFrontend();

// Saves a width x height 0xRRGGBB image as PNG; false when it cannot be written.
bool savePng(const std::string& path, const uint32_t* pixels, int width, int height);

}  // namespace kestrun::fe
