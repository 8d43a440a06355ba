#include "frontends/entry_input.h"

#include <algorithm>
#include <cstdlib>

#include "runtime/graphics.h"
#include "runtime/keyboard.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {

namespace {

// The maze's keys for the camp and for opening the door ahead.
constexpr uint8_t kCampKey = 'C';
constexpr uint8_t kDoorKey = 'K';

std::optional<uint8_t> arrowKey(int dx, int dy) {
  if (dx > 0) return rt::key::Right;
  if (dx < 0) return rt::key::Left;
  if (dy < 0) return rt::key::Up;
  if (dy > 0) return rt::key::Down;
  return std::nullopt;
}

}  // namespace

void EntryInput::screenChanged(std::vector<ScreenEntry> entries) {
  const std::optional<uint8_t> key =
      highlight_ < entries_.size() ? std::optional(entries_[highlight_].key) : std::nullopt;
  entries_ = std::move(entries);
  const auto same = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const ScreenEntry& e) { return key && e.key == *key; });
  highlight_ = same == entries_.end() ? 0 : static_cast<size_t>(same - entries_.begin());
}

std::optional<uint8_t> EntryInput::click(int column, int row) const {
  if (const auto entry = entryAt(entries_, column, row)) return entry->key;
  if (!entries_.empty()) return std::nullopt;
  // Twice the distance from the centre, in pixels: the middle opens the door
  // ahead, elsewhere the axis that is further away wins.
  const int dx = (column * 2 + 1 - rt::kColumns) * rt::kCellWidth;
  const int dy = (row * 2 + 1 - rt::kRows) * rt::kCellHeight;
  if (std::abs(dx) * 6 < rt::kPlaneWidth && std::abs(dy) * 6 < rt::kPlaneHeight) return kDoorKey;
  if (std::abs(dx) >= std::abs(dy)) return arrowKey(dx, 0);
  return arrowKey(0, dy);
}

std::optional<uint8_t> EntryInput::button(Button pressed) {
  controllerUsed_ = true;
  int dx = 0;
  int dy = 0;
  switch (pressed) {
    case Button::Press:
      if (highlight_ < entries_.size()) return entries_[highlight_].key;
      return rt::key::Enter;
    case Button::Back:
      return rt::key::Escape;
    case Button::Camp:
      return kCampKey;
    case Button::Door:
      return kDoorKey;
    case Button::Enter:
      return rt::key::Enter;
    case Button::Up:
      dy = -1;
      break;
    case Button::Down:
      dy = 1;
      break;
    case Button::Left:
      dx = -1;
      break;
    case Button::Right:
      dx = 1;
      break;
  }
  if (entries_.empty()) return arrowKey(dx, dy);
  highlight_ = entryToward(entries_, highlight_, dx, dy);
  return std::nullopt;
}

std::optional<ScreenEntry> EntryInput::highlighted() const {
  if (!controllerUsed_ || highlight_ >= entries_.size()) return std::nullopt;
  return entries_[highlight_];
}

}  // namespace kestrun::fe
