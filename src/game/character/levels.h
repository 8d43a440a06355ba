#pragma once

namespace kestrun::game {

struct Game;

// The experience a character of class `cls` needs for `level` (2 and up) as
// the training grounds' table shows it: geometric growth up to level
// Setting(LinearLevel) + 1, a constant step after it, kept below 1,000,000,000.
double experienceTableValue(const Game& g, int cls, int level);

// WorkLong(0) = the total experience at which the character in SysWord(ActingSlot)
// reaches his next level.
void LVCALC(Game& g);

// Moves the whole party's gold to the member in SysWord(ActingSlot), unless together
// it is above the gold cap.
void GTAK(Game& g);

// The item in slot SysWord(BreakingSlot) of the character in SysWord(ActingSlot) breaks into
// its remains (possibly nothing).
void ITBR(Game& g);

// The party comes back to town: dungeon state cleared, position and
// temporary armour forgotten, ailments healed as the scenario says, and
// members who are not sound leave the party.
void KIKAN(Game& g);

}  // namespace kestrun::game
