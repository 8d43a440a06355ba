#pragma once

namespace kestrun::game {

struct Game;

// The opening of a battle: the screen, the monster groups and their numbers,
// every monster built, first identification, surprise both ways and the offer
// to negotiate. A battle called by a chest's trap (SysWord(BattleChain) = 1)
// opens on the screen as it is. Returns how the battle goes on; who was
// surprised is also left in Game::Battle.Surprise.
enum class OpeningResult { Fight, PartySurprised, MonstersSurprised, Negotiated };
OpeningResult openBattle(Game& g);

}  // namespace kestrun::game
