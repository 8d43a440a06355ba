#pragma once

#include <string>

#include "game/state/tables.h"
#include "runtime/files.h"

namespace kestrun::game {

// A floor file <letter>-<floor in hexadecimal>F.DAT: seven groups of numbers,
// all but the seed stored with masks built from the seed.

struct FloorSeal {
  float seed = 0;         // H1, stored plain
  float scenarioId = 0;   // H2
  float floorNumber = 0;  // H3
};

// Reads the seven groups as stored; the text codes go to `textCodes`
// (5 x 28, i-major).
void readFloor(rt::FileTable& files, int fileNumber, FloorTables& f, FloorSeal& seal,
               Table<float, 5, 29>& textCodes);
// Subtracts the masks in the reader's order and joins the floor texts.
void unscrambleFloor(FloorTables& f, FloorSeal& seal, Table<float, 5, 29>& textCodes);
// Writes a floor from plain tables; texts are cut or blank-padded to 28 bytes.
void writeFloor(rt::FileTable& files, int fileNumber, const FloorTables& f, const FloorSeal& plain);

// "<letter>-<floor in hexadecimal>F.DAT": floor 10 is "A", 16 is "10".
std::string floorFileName(const std::string& letter, int floor);

inline constexpr int kFloorTextBytes = 28;

}  // namespace kestrun::game
