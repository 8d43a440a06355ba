#pragma once

#include <string_view>

namespace kestrun::game {

struct Game;

// The screen of the exploration loop: the view inside its frame, the party
// panel below it, and the message window in the view's centre.

// The box in colour 15 around the view.
void drawViewFrame(Game& g);

// Redraws the view from the party's square: a dark square without enough
// light is blacked out (and puts out a weak light), otherwise the walls are
// drawn. The text on the screen stays; the party panel follows unless the
// dungeon picture has the screen.
void refreshView(Game& g);

// The party panel from row 15, with the position numbers when asked, unless
// the dungeon picture has the screen (SysWord(DisplayMode) = 2).
void showPartyPanel(Game& g, bool withNumbers);

// The message window: a box in colour 13 from (200, 135) to (440, 242) with
// its inside cleared, over the party panel. Closing it clears the box and
// blanks rows 8..13 from column 19.
void openMessageWindow(Game& g);
void closeMessageWindow(Game& g);

// The graphics word of a move ("  Go  ", " Right " ...) in colour 13 at the
// view's centre for `hundredths` of a second, and the small box it takes.
void showMoveWord(Game& g, std::string_view word, int x, int hundredths);
void clearMoveWord(Game& g);

// Reads keys until none is waiting.
void drainKeys(Game& g);

}  // namespace kestrun::game
