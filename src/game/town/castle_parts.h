#pragma once

// The pieces of the castle's level judgement, shared between its files.
namespace kestrun::game {

struct Game;

// The maximum hit points after a level gain to `newLevel`, before the cap.
double raisedHitPointMaximum(Game& g, int c, int newLevel);

// The stat changes of a level gain, random or placed by the player as the
// scenario says; a stat falling below 1 loses the character.
void changeStatsAtLevelUp(Game& g, int c);

// The highest value stat s reaches by level gains, with the sex adjustment
// `adjustment` when the limit follows the race.
double levelUpStatLimit(const Game& g, int c, int s, double adjustment);

// The points to place, by age: young characters gain, old ones lose.
int placedPoints(Game& g, int c);
// The player places `points` (lowers stats when negative), one per stat.
void placeStatPoints(Game& g, int c, int points);

// How much class skills move the roll of a random change of stat s: below 0
// favours a rise.
int classBias(const Game& g, int c, int s);

}  // namespace kestrun::game
