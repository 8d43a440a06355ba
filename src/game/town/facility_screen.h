#pragma once

#include <optional>

namespace kestrun::game {

struct Game;

// What the town facilities draw the same way.

// The name of facility n (ScenarioText(n)) centred on `row`.
void showFacilityTitle(Game& g, int facility, int row);

// The party panel below row `panelRow`, with the position numbers.
void showNumberedParty(Game& g, int panelRow);

// "誰が入りますか ?", with "Hit 0 - n Key" under it when asked for, and a
// key from 0 to the party size. Returns the position chosen, 0 for nobody.
int askWhoComesIn(Game& g, bool withKeyHint);

// Which member comes in: a party of one at once, otherwise chosen on a clear
// screen with the numbered party panel (and the facility's name when one is
// given). Returns the position, 0 when the player leaves.
int chooseVisitor(Game& g, std::optional<int> titleFacility);

}  // namespace kestrun::game
