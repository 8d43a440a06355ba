#pragma once

#include <string>

// The pieces of the training grounds, shared between its screens.
namespace kestrun::game {

struct Game;

// Waits for single keys until one's value (a non-digit counts as 0) lies in
// low..high, and returns it.
int readKeyNumber(Game& g, int low, int high);
// A line input at column, row; the row is blanked from the column on, so
// that text left of the question stays and an earlier answer goes.
std::string askFromColumn(Game& g, int column, int row, const std::string& prompt);
// The value of such an answer (0 for no number; infinite when too large).
double askNumberFromColumn(Game& g, int column, int row, const std::string& prompt);
// Asks on one line until the answer is "Y", "y", "+" (true) or "N", "n",
// "-" (false).
bool askYesNoLine(Game& g, int column, int row, const std::string& prompt);
// A typed name: the first 12 bytes, never splitting a double-byte character.
std::string nameFromLine(const std::string& line);

// Which stats a class requirement is checked on.
enum class StatsChecked { Used, All };
// The character in `slot` meets the minimums of class `cls` and, when
// alignments are used, the class is open to his alignment.
bool qualifiesForClass(const Game& g, int slot, int cls, StatsChecked stats);

enum class SpellKind { Holy = 0, Magic = 1 };
// Classes are numbered by their skills; these tell which spells one casts.
bool castsSpells(int cls, SpellKind kind);
// The class learns spells of this kind from character level 1.
bool learnsFromFirstLevel(const Game& g, int cls, SpellKind kind);
// Offers every level-1 spell of the kind to slot's character (only those of
// his school when `bySchool`); each is learned by its chance plus the
// Faith or Knowledge bonus. Returns how many were offered.
int learnFirstLevelSpells(Game& g, int slot, SpellKind kind, bool bySchool);
// The now and maximum spell-point fields of the kind in CharLong.
int spellPointsNowField(SpellKind kind);
int spellPointsMaxField(SpellKind kind);

// Empties a roster record: the per-floor flag of field 10 stays with the
// row, the age counter starts again.
void resetCharacterRecord(Game& g, int slot);
// The character sheet of slot, without the current-stats row.
void showSheet(Game& g, int slot);

void createCharacter(Game& g);
void manageRoster(Game& g);
// The class change of slot's character, from the class list to the new
// class; returns whether the class was changed.
bool changeClass(Game& g, int slot);
void showExperienceTable(Game& g);
void deleteAllCharacters(Game& g);
void startNewGame(Game& g);

}  // namespace kestrun::game
