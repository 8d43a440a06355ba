#pragma once

// The pieces of the party's command input that follow the menu: what to
// use, what to cast and at whom.
namespace kestrun::game {

struct Game;

// The party's commands, as BattleParty(p, Command) holds them (an item use
// is slot x 10 + kUseItem).
inline constexpr int kNoCommand = 0;
inline constexpr int kFight = 1;
inline constexpr int kCast = 2;
inline constexpr int kDispel = 3;
inline constexpr int kUseItem = 4;
inline constexpr int kGuard = 5;
inline constexpr int kRun = 6;
inline constexpr int kStartAgain = 7;

// The item the member at `position` uses and its spell's target; false when
// the player goes back to the member's menu.
bool chooseItem(Game& g, int position);
// The spell the member casts and its target; false when the player goes back.
bool chooseSpell(Game& g, int position);
// The monster group a fight, a dispel or a spell is aimed at, and the
// monster within it.
void chooseGroup(Game& g, int position, int command);

}  // namespace kestrun::game
