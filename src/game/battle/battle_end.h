#pragma once

namespace kestrun::game {

struct Game;

// How a battle ended.
enum class BattleEnding { Victory, Fled, Defeat, Negotiated, LeftBySpell };

// Victory, flight, defeat, negotiation or a spell: experience and gold
// shared, drained levels paid, rooms cleared, the chest after a victory, the
// outcome left in SysWord(Outcome), the screen cleared.
//
// When the chest's trap called monsters, endBattle returns right after the
// chest with SysWord(BattleChain) = 1 and nothing more done: FIGHT then
// starts the next battle at once (the opening's frame, EncounterKind 3), and
// that battle's own end pays the levels, clears the room and closes.
void endBattle(Game& g, BattleEnding ending);

}  // namespace kestrun::game
