#pragma once

namespace kestrun::game {

struct Game;

// The inn: a guest rests in the lobby (spell points, one day) or in a room
// week by week (spell points and hit points, a week of age and the room's
// price each), until healed or out of gold.
void Inn(Game& g);

}  // namespace kestrun::game
