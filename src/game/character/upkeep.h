#pragma once

namespace kestrun::game {

struct Game;

// What the party's items do to one member per step: the sum of the healing
// values and the sum of the draining ones (ItemTable(i, ItemRegeneration) MOD 100 - 50 over
// every slot, an empty slot reading item 0).
struct Regeneration {
  double plus = 0;
  double minus = 0;
  double net() const { return plus + minus; }
};
Regeneration regenerationOf(const Game& g, int c);

// The poison of one step for a member with `maxHitPoints`: a tenth of the
// maximum, two thirds of that when the member's Health x 2 + Luck beats the
// draw `resistDraw` (RND x (stat scale x 5 + 10)), at least 1.
double poisonDamage(double maxHitPoints, double healthTwiceAndLuck, double resistDraw);

// A fifth of the maximum hit points, the line below which a healing item
// keeps poison away and a draining one stops draining.
double weakLine(double maxHitPoints);

// The step upkeep: poison and the carried items' regeneration and drain for
// every member, with the marks and hit points on the party panel.
void CCHEC(Game& g);

// The party clean-up: the lost leave the party, the dead move behind the
// living and the disabled behind the well (equals keep their order), then
// the party panel is drawn unless the dungeon picture has the screen.
void CCHEC2(Game& g);

// Puts every member back at the place BattleOrder recorded when the battle
// began, with his battle row.
void CCHEC4(Game& g);

}  // namespace kestrun::game
