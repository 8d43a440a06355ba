#pragma once

#include <optional>

#include "game/battle/battle_end.h"

namespace kestrun::game {

struct Game;

// The battle's turns, from the first after the opening until the battle
// ends: victory, flight, defeat or a spell that took the party away.
BattleEnding playTurns(Game& g);

// One turn: commands, the run attempt, the monsters' choices, the ticks and
// the end of the turn; the battle's end when it is over. The first turn
// follows the opening and has no start-of-turn housekeeping.
std::optional<BattleEnding> playTurn(Game& g, bool first);

// The pieces of one turn, in their order.

// Everybody's initiative for the turn; members in mud lose a little.
void rollInitiative(Game& g);
// Someone's command is to run.
bool someoneRuns(const Game& g);
// The run attempt: true when the party got away.
bool runAttempt(Game& g);
// The party gets away: back to the square it came from, the sleepers awake.
void escape(Game& g);
// In mud, members who fight or use an item lose 3..5 more initiative.
void mudSlowsFighters(Game& g);
// The ticks from 100 down to 1; false when a spell took the party away.
bool playTicks(Game& g, bool partyActs);
// The housekeeping after the ticks; the battle's end when it is over.
std::optional<BattleEnding> endOfTurn(Game& g);

// End-of-turn pieces on their own.
// The living monsters of each group move down to its first places; empty
// groups give way to the later ones.
void closeUpGroups(Game& g);
// With the range rule, groups marked to keep away drift backwards.
void driftGroups(Game& g);

}  // namespace kestrun::game
