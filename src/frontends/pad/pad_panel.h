#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/pad/pad.h"
#include "frontends/screen_entries.h"

namespace kestrun::rt {
class Font;
}

namespace kestrun::fe::pad {

// The pad as a picture of its own, for a front end that draws pixels itself
// (the window): where its buttons lie, what a click or a controller does on
// it, the name typed into its field, and its pixels.

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool contains(int px, int py) const {
    return px >= x && py >= y && px < x + width && py < y + height;
  }
  bool operator==(const Rect&) const = default;
};

// What pressing a place of the pad gives the game: a key, or a typed name
// followed by Enter. Pressing the field only gives it the focus.
struct Press {
  std::string text;  // UTF-8, sent before the key
  std::optional<uint8_t> key;
};

class Panel {
 public:
  static constexpr int kButtonWidth = 44;
  static constexpr int kButtonHeight = 28;
  static constexpr int kGap = 4;

  explicit Panel(const Layout& layout = pad::layout());

  int width() const;
  int height() const;

  // The places of the pad: each button, then the field, then its button.
  size_t placeCount() const { return places_.size(); }
  Rect placeRect(size_t place) const;
  std::optional<size_t> placeAt(int x, int y) const;
  // Presses a place: a button's key; the field takes the focus; the field's
  // button sends the name (emptying the field) and Enter.
  Press press(size_t place);

  // The controller's highlight, moved by the d-pad like the screen's.
  size_t highlighted() const { return highlight_; }
  void moveHighlight(int dx, int dy);

  // The name field. Text goes into it while it has the focus; Enter typed
  // there sends it as its button does.
  bool fieldFocused() const { return fieldFocused_; }
  void leaveField() { fieldFocused_ = false; }
  Press submitField() { return press(submitPlace()); }
  void type(std::string_view utf8) { field_ += utf8; }
  // What the input method is composing, shown after the typed text.
  void compose(std::string_view utf8) { composing_ = utf8; }
  // Takes back the last character typed.
  void erase();
  const std::string& fieldText() const { return field_; }
  Rect fieldRect() const { return placeRect(fieldPlace()); }

  // The pad's pixels, 0xRRGGBB, width() x height(), drawn with the font.
  std::vector<uint32_t> draw(const rt::Font& font, bool showHighlight) const;

 private:
  size_t fieldPlace() const { return layout_.buttons.size(); }
  size_t submitPlace() const { return layout_.buttons.size() + 1; }
  const Button& buttonOf(size_t place) const;

  const Layout& layout_;
  // Each place as an entry of a grid of pad cells, so the highlight moves as
  // it does over the screen's entries.
  std::vector<ScreenEntry> places_;
  size_t highlight_ = 0;
  bool fieldFocused_ = false;
  std::string field_;
  std::string composing_;
};

// Where a window puts the game's image and the pad: beside the image where
// the window is wide enough at the image's scale, below it where it is tall
// enough, else over the image's lower right corner. Sizes in the window's
// pixels; the result in the logical pixels the window is scaled from.
struct Placement {
  int logicalWidth = 0;
  int logicalHeight = 0;
  Rect image;
  Rect pad;
  bool overImage = false;
};
Placement placePad(int windowWidth, int windowHeight, int imageWidth, int imageHeight, int padWidth,
                   int padHeight);

}  // namespace kestrun::fe::pad
