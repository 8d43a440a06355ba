#pragma once

#include <optional>
#include <string>

#include "game/state/tables.h"

// Putting a roster's party on a square of the dungeon, as the game leaves a
// party that was saved and suspended there: the town menu then offers to
// resume on that square.
namespace kestrun::forge {

struct Spot {
  int floor = 1;
  int x = 0;
  int y = 0;
  int facing = 0;  // 0 north, 1 east, 2 south, 3 west
};

// Reads "FLOOR,X,Y[,FACING]" (facing as a word or 0..3); a sentence in
// `problem` when it is not one.
std::optional<Spot> parseSpot(const std::string& text, std::string& problem);

// Places the party at the spot: the position words and each member's place
// (floor and level, facing and square). A roster without a party gets one
// of its first sound characters in town, up to `partySize`. Returns what
// went wrong, or nothing.
std::string placeParty(game::RosterTables& roster, const Spot& at, int partySize);

// The party is saved in the dungeon (the town menu's key 8).
bool isPartyInDungeon(const game::RosterTables& roster);

}  // namespace kestrun::forge
