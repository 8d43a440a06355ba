#pragma once

namespace kestrun::game {

struct Game;

// A party member's sheet and his actions outside battle: the player picks
// the member (the only one is taken at once), then acts for him until he
// goes back; 0 at the member choice returns to the caller. It returns at
// once, too, when a spell has taken the party home, into rock or the sky
// (SysWord(Outcome) 8000 or 9000), or has taken the actor from the party.
void CHARA(Game& g);

}  // namespace kestrun::game
