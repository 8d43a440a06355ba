#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kestrun::fe::pad {

// The on-screen pad for touch screens, as data: the front ends draw it and send
// the key codes its buttons stand for. It knows nothing of the game; its keys
// are the ones the game's menus and prompts ask for.

// A place on the pad's grid, in cells.
struct Cell {
  int row = 0;
  int column = 0;
  int width = 1;
};

// A button that types one key.
struct Button {
  std::string_view label;  // UTF-8
  uint8_t code;            // the console key code it types
  Cell cell;
};

// A line where a name is typed with the device's own keyboard (and its input
// method); its button sends the text, then Enter.
struct TextField {
  Cell cell;
  std::string_view hint;
  Button submit;
};

struct Layout {
  int rows;
  int columns;
  std::span<const Button> buttons;
  TextField field;
};

// The pad every front end shows.
const Layout& layout();

// The layout as JSON, for a page to draw:
// {"rows":R,"columns":C,"buttons":[{"label":..,"code":..,"row":..,"column":..,
// "width":..},..],"field":{"row":..,"column":..,"width":..,"hint":..,"submit":{..}}}
std::string toJson(const Layout& layout);

}  // namespace kestrun::fe::pad
