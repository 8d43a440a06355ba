#pragma once

// The pieces of the chest and the gold after a victory, shared by the chest
// menu, the traps and the treasure.
namespace kestrun::game {

struct Game;

struct Chest {
  int kind = 0;     // the encounter kind (4 the square's own monster)
  int members = 0;  // the members able to act when the battle was won
  int monster = 0;  // the first group's monster
  int trap = 0;     // 0..14, or 15 for none
};

// The trap springs on the party; `victim` is the position of the member who
// opened the chest or tried to disarm it.
void springTrap(Game& g, int trap, int victim);

// The chest's items, handed to the members who have room for them.
void handOutItems(Game& g, const Chest& chest);
// The battle's gold, shared by every member.
void handOutGold(Game& g, const Chest& chest);

}  // namespace kestrun::game
