#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "frontends/screen_entries.h"

namespace kestrun::fe {

// Play without a keyboard: clicks, taps and controller buttons become the
// key codes a keyboard would type, chosen by the entries the screen shows.
// The game sees keys only.
class EntryInput {
 public:
  enum class Button : uint8_t { Up, Down, Left, Right, Press, Back, Camp, Door, Enter };

  // The screen changed: its entries, as findScreenEntries() gives them. The
  // highlight stays on the entry of the same key when there is one.
  void screenChanged(std::vector<ScreenEntry> entries);

  // A click on a cell: the key of the entry there. On a screen that offers
  // no entry at all (the maze), the arrow key toward the click from the
  // screen's centre, and in the middle the door key, so the party can walk
  // with the mouse alone.
  std::optional<uint8_t> click(int column, int row) const;

  // A controller button. The directions move the highlight over the entries
  // (and are the arrow keys where the screen offers none); Press types the
  // highlighted entry's key (Enter without one); Back is Escape, Camp and
  // Door the maze's camp and door keys, Enter the Enter key.
  std::optional<uint8_t> button(Button pressed);

  // The highlighted entry, once a controller has been used.
  std::optional<ScreenEntry> highlighted() const;

 private:
  std::vector<ScreenEntry> entries_;
  size_t highlight_ = 0;
  bool controllerUsed_ = false;
};

}  // namespace kestrun::fe
