#pragma once

namespace kestrun::game {

struct Game;

// Draws the picture of the monsters of group place `group` in its corner, or
// the notice that the picture file is missing.
void showGroupPicture(Game& g, int group);

}  // namespace kestrun::game
