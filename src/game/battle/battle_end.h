#pragma once

namespace kestrun::game {

struct Game;

// How a battle ended.
enum class BattleEnding { Victory, Fled, Defeat, Negotiated, LeftBySpell };

// Victory, flight, defeat, negotiation or a spell: experience and gold
// shared, drained levels paid, rooms cleared, the chest after a victory, the
// outcome left in SysWord(Outcome).
void endBattle(Game& g, BattleEnding ending);

}  // namespace kestrun::game
