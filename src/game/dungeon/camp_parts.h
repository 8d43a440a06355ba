#pragma once

#include "game/dungeon/dungeon_flow.h"

// The camp's longer choices, each back at the camp screen when done.
namespace kestrun::game {

struct Game;

void reorderParty(Game& g);
// Disbanding (true) or suspending (false) after "本当に..してよろしいですか ?":
// false when the player says no; suspending ends the program.
bool leaveTheParty(Game& g, bool disband);
void searchForCharacters(Game& g);
void shareTheGold(Game& g);
void changeSettings(Game& g);

// Roster slot c was left on the party's square (any facing) and is not in
// the party.
bool isLeftHere(const Game& g, int c);

}  // namespace kestrun::game
