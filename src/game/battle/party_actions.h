#pragma once

namespace kestrun::game {

struct Game;

// What a party member does when his turn comes: the member at marching
// position `position` carries out his command in his battle row
// and his command becomes 0.

// Command 1: his blows at the monster he is aimed at.
void memberFights(Game& g, int position);
// Command 2: the spell of BattleParty(CommandSpell), paid for, through SPL
// or the miracle.
void memberCasts(Game& g, int position);
// Command slot x 10 + 4: the spell of the item in that slot, which may
// break.
void memberUsesItem(Game& g, int position);
// Command 3: the dispelling of the group he is aimed at.
void memberDispels(Game& g, int position);

// The spell or item just used took the party out of the battle
// (SysWord(Outcome) 2000 or 2500).
bool partyLeftBySpell(const Game& g);

}  // namespace kestrun::game
