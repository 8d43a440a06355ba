#pragma once

#include <string>

#include "game/state/tables.h"
#include "runtime/files.h"

namespace kestrun::game {

// The scenario file <letter>-S.DAT: nineteen blocks of strings and numbers,
// the numbers stored scrambled with the key Setting(ScrambleKey).

// Block 1, the thirteen texts (the loader shows the title right after it).
void readScenarioTexts(rt::FileTable& files, int fileNumber, ScenarioTables& s);
// Blocks 2 to 19, as stored (still scrambled).
void readScenarioRest(rt::FileTable& files, int fileNumber, ScenarioTables& s);
// Subtracts the offsets in the loader's order and derives the experience
// factors.
void unscrambleScenario(ScenarioTables& s);
// Writes the whole file from plain tables (scrambling as it goes).
void writeScenario(rt::FileTable& files, int fileNumber, const ScenarioTables& s);

// "<letter>-S.DAT"
std::string scenarioFileName(const std::string& letter);

}  // namespace kestrun::game
