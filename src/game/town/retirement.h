#pragma once

namespace kestrun::game {

struct Game;

// Days lived since the age of 15.
double ageInDays(const Game& g, int c);
// The years a character of his race lives: the race's span, or 80 when the
// scenario has no races.
int lifeSpanYears(const Game& g, int c);
// The inn and the castle send a character older than his life span home.
bool isPastLifeSpan(const Game& g, int c);
// The farewell screen; the character is lost and leaves the party.
void retire(Game& g, int c);

}  // namespace kestrun::game
