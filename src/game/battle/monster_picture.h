#pragma once

#include <string>

namespace kestrun::game {

struct Game;

// The file of picture `number`: the number in upper-case hexadecimal and
// "M.BMP" (26 is 1AM.BMP).
std::string pictureFileName(int number);
// The picture the group shows now: its identified or its unidentified one
// (0 = none).
int groupPictureNumber(const Game& g, int group);

// Draws the picture of the monsters of group place `group` in its corner, or
// the notice that the picture file is missing.
void showGroupPicture(Game& g, int group);

}  // namespace kestrun::game
