#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrun::rt {
class TextScreen;
}

namespace kestrun::fe {

// A place on the text screen that offers a key: a menu line (a digit or a
// letter followed by its label, "１　宿屋", "0 外に出る", "1  直接戦闘"), a
// letter of "Hit Y - N Key", or "Hit Any Key". Clicking it, or pressing a
// controller's button on it, types its key. Found from the text alone: the
// front end knows nothing of the screens that show them.
struct ScreenEntry {
  int column = 0;
  int row = 0;
  int width = 1;  // in cells
  uint8_t key = 0;
  bool operator==(const ScreenEntry&) const = default;
};

// The entries of the screen, row by row, left to right. Menu lines count only
// on a screen that asks something (a "?" or a "Hit ... Key"): elsewhere
// numbered lines are a list, as the party's lines in the maze are.
std::vector<ScreenEntry> findScreenEntries(const rt::TextScreen& text);

// The entry covering the cell, if any.
std::optional<ScreenEntry> entryAt(const std::vector<ScreenEntry>& entries, int column, int row);

// The entry a highlight moves to from entry `from` in direction (dx, dy):
// the nearest one whose centre lies that way, keeping to the same row when
// moving sideways. `from` itself when there is none.
size_t entryToward(const std::vector<ScreenEntry>& entries, size_t from, int dx, int dy);

}  // namespace kestrun::fe
