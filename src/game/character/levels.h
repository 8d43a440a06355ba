#pragma once

namespace kestrun::game {

struct Game;

// The experience a character of class `cls` needs for `level` (2 and up) as
// the training grounds' table shows it: geometric growth up to level
// Setting(58) + 1, a constant step after it, kept below 1,000,000,000.
double experienceTableValue(const Game& g, int cls, int level);

}  // namespace kestrun::game
