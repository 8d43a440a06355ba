#pragma once

namespace kestrun::game {

struct Game;

// The start of every turn after the first: the corners cleared, the groups
// identified again and their pictures, the group list, the mud check.
void startOfTurn(Game& g);

// Every member's command for the turn, with the confirmation; writes
// the command fields of BattleParty, GroupAim, Battle.AliveCount and Battle.RunChosen.
// Called every turn: a surprised party (Battle.Surprise 2) gets the panel
// and no commands at all.
void chooseCommands(Game& g);

}  // namespace kestrun::game
