#pragma once

#include <string>

#include "game/state/tables.h"
#include "runtime/files.h"

namespace kestrun::game {

// The roster file <letter>-C.DAT: names, character records, the 32-bit
// values, the key R with the scenario link V and checksum W, the map memory,
// the party state and the shop stock; numbers scrambled with R.

struct RosterSeal {
  float key = 0;       // R, stored plain
  float link = 0;      // V: the scenario identity, scrambled
  float checksum = 0;  // W: the global checksum, scrambled
};

// Reads blocks 1 to 7 as stored.
void readRoster(rt::FileTable& files, int fileNumber, RosterTables& r, RosterSeal& seal);
// Subtracts the offsets of key R and returns the plain link and checksum.
struct RosterLinks {
  double link;
  double checksum;
};
RosterLinks unscrambleRoster(RosterTables& r, const RosterSeal& seal);

// The character checksum of slot c: its last three digits live in CharRec(c, ChecksumAndSchools).
int32_t characterChecksum(const RosterTables& r, int c);
// The global checksum over the map memory and the shop stock.
int32_t globalChecksum(const RosterTables& r);

// Why a roster is refused, if it is.
enum class RosterVerdict { Sound, OtherScenario, WrongGlobalChecksum, WrongCharacterChecksum };
RosterVerdict checkRoster(const RosterTables& r, const RosterLinks& links, float scenarioId);
// Why a roster is refused, in words for tools ("sound" when it is not).
const char* describeVerdict(RosterVerdict verdict);

// Stamps every character's checksum into field 9 (the schools above it stay).
void sealCharacters(RosterTables& r);
// Writes blocks 1 to 7 from plain, sealed tables with key R.
void writeRoster(rt::FileTable& files, int fileNumber, const RosterTables& r, int32_t key,
                 float scenarioId);

// "<letter>-C.DAT"
std::string rosterFileName(const std::string& letter);
// The file a save writes in full before it replaces the roster with it.
std::string rosterTempName(const std::string& letter);
// True for the name of the roster of any letter.
bool isSavedRoster(const std::string& name);
// True for the names of the roster of any letter and of its save in progress:
// the only files the game writes.
bool isRosterFile(const std::string& name);

}  // namespace kestrun::game
