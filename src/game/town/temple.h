#pragma once

namespace kestrun::game {

struct Game;

// Town facility 4: heals and revives the characters in town for a fee paid
// by a party member, and takes cursed items away. Returns to the town menu
// with key 0.
void Temple(Game& g);

// The temple's fee for the character in slot c, from his level and the sum
// of his ailments (one fee for the dead or spirits).
float healingFee(const Game& g, int c);

// The percentage chance that the dead or a spirit in slot c comes back.
double revivalChance(const Game& g, int c);

}  // namespace kestrun::game
