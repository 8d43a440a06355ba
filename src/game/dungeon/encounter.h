#pragma once

#include "game/dungeon/dungeon_flow.h"

namespace kestrun::game {

struct Game;

// Encounter kinds, as the battle reads them from SysWord(EncounterSource).
inline constexpr int kRandomEncounter = 1;
inline constexpr int kMarkedSquareEncounter = 2;
inline constexpr int kBattleSquareEncounter = 3;
inline constexpr int kGuardianEncounter = 4;

// A battle of `kind` (FIGHT) and what follows it: home after a flight to
// town, the sleepers wake, and the party goes on while anyone still stands.
Flow encounterBattle(Game& g, int kind);

// Nobody in the party has status 1 or 1001 (an empty party included).
bool nobodyStands(const Game& g);
// Every member is dead, a spirit or lost (an empty party included).
bool partyIsDead(const Game& g);

// The two catastrophes: the whole party down, or materialised in rock.
// The members stay where they fell, findable by a later party; the roster is
// written and the town menu follows.
enum class Catastrophe { WipedOut, InRock };
Flow partyLost(Game& g, Catastrophe how);

// Where the members are left, in their fields LevelAndFloor and LeftAt, so
// that a later party can find them on this square.
void leaveMembersHere(Game& g);

// The party is no more: every GameState word and every battle row cleared.
void clearParty(Game& g);

}  // namespace kestrun::game
