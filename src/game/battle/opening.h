#pragma once

namespace kestrun::game {

struct Game;

// The opening of a battle: the screen, the monster groups and their numbers,
// every monster built, first identification, surprise both ways and the offer
// to negotiate. Returns how the battle goes on.
enum class OpeningResult { Fight, PartySurprised, MonstersSurprised, Negotiated, NoMonsters };
OpeningResult openBattle(Game& g);

}  // namespace kestrun::game
