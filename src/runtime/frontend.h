#pragma once

#include <cstdint>
#include <string_view>

namespace kestrun::rt {

class TextScreen;
class GraphicsPlane;

// Where a front end delivers what the player does.
class InputSink {
 public:
  virtual ~InputSink() = default;
  // A key code (special keys as the codes of keyboard.h, characters as bytes).
  virtual void keyCode(uint8_t code) = 0;
  // Typed text in UTF-8; it enters the key buffer as its Shift-JIS bytes.
  virtual void text(std::string_view utf8) = 0;
  // The window's close box, or a signal that ends the program.
  virtual void closeRequested() = 0;
};

// The platform layer: shows frames, delivers input, sleeps and tells time.
// It knows nothing of the game.
class Frontend {
 public:
  virtual ~Frontend() = default;
  // Shows the current screen.
  virtual void present(const TextScreen& text, const GraphicsPlane& graphics) = 0;
  // Blocks until input arrives or `timeoutMs` passes (-1: no limit) and
  // delivers what came. Never spins.
  virtual void waitEvents(InputSink& sink, int timeoutMs) = 0;
  // Delivers what has arrived, without waiting.
  virtual void pollEvents(InputSink& sink) = 0;
  // Pauses; window messages are not processed meanwhile.
  virtual void sleep(int milliseconds) = 0;
  // Milliseconds on a steady clock (virtual in headless mode).
  virtual uint64_t milliseconds() = 0;
  // False when no player is there to type (headless): a wait for input with
  // no scripted keys left then ends the session.
  virtual bool interactive() const = 0;
};

}  // namespace kestrun::rt
