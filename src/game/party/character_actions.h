#pragma once

namespace kestrun::game {

struct Game;

// A party member's sheet and his actions outside battle: the player picks
// the member (the only one is taken at once), then acts for him until he
// goes back; 0 at the member choice returns to the caller.
void CHARA(Game& g);

}  // namespace kestrun::game
