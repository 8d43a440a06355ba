#include "game/state/roster_file.h"

#include <algorithm>
#include <array>

#include "game/state/fields.h"
#include "game/state/record_io.h"
#include "game/state/scramble.h"
#include "runtime/errors.h"

namespace kestrun::game {

namespace f = format::roster;
using format::cycleOffset;
using format::fixedOffset;
using format::gridOffset;

namespace {

double autoMapOffset(double key, int x, int y, int k) {
  const auto& m = f::kAutoMap;
  return rt::MOD(key, m.M + x) + m.D * k + rt::MOD(x * y * k, m.P);
}

int32_t unscrambleLong(int32_t stored, double offset) {
  const double plain = static_cast<double>(stored) - offset;
  return rt::toInt32(plain);
}

// The last three digits of a checksum as field 9 keeps them: never negative,
// so the spell-school digits above them stay intact.
int32_t checksumDigits(int32_t sum) {
  return (rt::MOD(sum, 1000) + 1000) % 1000;
}

// The letters a file name could belong to: the title screen keeps at most
// one byte of the answer as the letter.
std::array<std::string, 2> possibleLetters(const std::string& name) {
  return {std::string(), name.substr(0, 1)};
}

// True when `matches` holds for a letter the name could belong to.
template <typename Matches>
bool anyLetter(const std::string& name, Matches matches) {
  const auto letters = possibleLetters(name);
  return std::any_of(letters.begin(), letters.end(), matches);
}

}  // namespace

std::string rosterFileName(const std::string& letter) {
  return letter + "-C.DAT";
}

std::string rosterTempName(const std::string& letter) {
  return rosterFileName(letter) + ".NEW";
}

bool isSavedRoster(const std::string& name) {
  return anyLetter(name, [&](const std::string& letter) { return name == rosterFileName(letter); });
}

bool isRosterFile(const std::string& name) {
  return isSavedRoster(name) ||
         anyLetter(name, [&](const std::string& letter) { return name == rosterTempName(letter); });
}

void readRoster(rt::FileTable& files, int n, RosterTables& r, RosterSeal& seal) {
  for (int c = 0; c < kRosterSlots; ++c) r.CharName(c) = readText(files, n);
  for (int c = 0; c < kRosterSlots; ++c) {
    for (int k = 0; k < 40; ++k) r.CharRec(c, k) = readSingle(files, n);
  }
  for (int c = 0; c < kRosterSlots; ++c) {
    for (int k = 0; k < 6; ++k) r.CharLong(c, k) = readLong(files, n);
  }
  seal.key = readSingle(files, n);
  seal.link = readSingle(files, n);
  seal.checksum = readSingle(files, n);
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) {
      for (int k = 0; k < 3; ++k) r.AutoMap(x, y, k) = readSingle(files, n);
    }
  }
  for (int i = 0; i < 19; ++i) r.GameState(i) = readSingle(files, n);
  for (int i = 0; i < 121; ++i) r.ShopStock(i) = readSingle(files, n);
}

RosterLinks unscrambleRoster(RosterTables& r, const RosterSeal& seal) {
  const double key = seal.key;
  for (int c = 0; c < kRosterSlots; ++c) {
    for (int k = 0; k < 40; ++k) {
      r.CharRec(c, k) = rt::toSingle(r.CharRec(c, k) - gridOffset(f::kCharRec, key, c, k));
    }
    for (int k = 0; k < 6; ++k) {
      r.CharLong(c, k) = unscrambleLong(r.CharLong(c, k), gridOffset(f::kCharLong, key, c, k));
    }
  }
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) {
      for (int k = 0; k < 3; ++k) {
        r.AutoMap(x, y, k) = rt::toSingle(r.AutoMap(x, y, k) - autoMapOffset(key, x, y, k));
      }
    }
  }
  for (int i = 0; i < 19; ++i) {
    r.GameState(i) = rt::toSingle(r.GameState(i) - cycleOffset(f::kGameState, key, i));
  }
  for (int i = 0; i < 121; ++i) {
    r.ShopStock(i) = rt::toSingle(r.ShopStock(i) - cycleOffset(f::kShopStock, key, i));
  }
  return {seal.link - fixedOffset(f::kLink, key), seal.checksum - fixedOffset(f::kChecksum, key)};
}

int32_t characterChecksum(const RosterTables& r, int c) {
  int64_t sum = 0;
  for (int k = 0; k < 40; ++k) {
    if (k != 9) sum += rt::MOD(r.CharRec(c, k), 3 + k % 5);
  }
  for (int k = 0; k < 6; ++k) sum += rt::MOD(r.CharLong(c, k), 131 + 2 * k);
  return static_cast<int32_t>(sum);
}

int32_t globalChecksum(const RosterTables& r) {
  int64_t sum = 0;
  for (float v : r.AutoMap.raw()) sum += rt::MOD(v, 6);
  for (int i = 1; i < 121; ++i) sum += rt::MOD(r.ShopStock(i), 7);
  return static_cast<int32_t>(sum);
}

RosterVerdict checkRoster(const RosterTables& r, const RosterLinks& links, float scenarioId) {
  if (links.link != scenarioId) return RosterVerdict::OtherScenario;
  if (links.checksum != globalChecksum(r)) return RosterVerdict::WrongGlobalChecksum;
  for (int c = 0; c < kRosterSlots; ++c) {
    const int32_t sum = characterChecksum(r, c);
    const int32_t stored = rt::MOD(r.CharRec(c, ChecksumAndSchools), 1000);
    // Older writers kept a negative sum's remainder as it was; both forms match.
    if (stored != rt::MOD(sum, 1000) && stored != checksumDigits(sum)) {
      return RosterVerdict::WrongCharacterChecksum;
    }
  }
  return RosterVerdict::Sound;
}

const char* describeVerdict(RosterVerdict verdict) {
  switch (verdict) {
    case RosterVerdict::Sound:
      return "sound";
    case RosterVerdict::OtherScenario:
      return "it belongs to another scenario";
    case RosterVerdict::WrongGlobalChecksum:
      return "its map and shop checksum is wrong";
    case RosterVerdict::WrongCharacterChecksum:
      return "a character's checksum is wrong";
  }
  return "";
}

void sealCharacters(RosterTables& r) {
  for (int c = 0; c < kRosterSlots; ++c) {
    const double field = r.CharRec(c, ChecksumAndSchools);
    const double schools = field - rt::MOD(field, 1000);
    r.CharRec(c, ChecksumAndSchools) =
        rt::toSingle(schools + checksumDigits(characterChecksum(r, c)));
  }
}

void writeRoster(rt::FileTable& files, int n, const RosterTables& r, int32_t key,
                 float scenarioId) {
  for (int c = 0; c < kRosterSlots; ++c) writeText(files, n, r.CharName(c));
  for (int c = 0; c < kRosterSlots; ++c) {
    for (int k = 0; k < 40; ++k) {
      writeNumber(files, n, r.CharRec(c, k) + gridOffset(f::kCharRec, key, c, k));
    }
  }
  for (int c = 0; c < kRosterSlots; ++c) {
    for (int k = 0; k < 6; ++k) {
      writeNumber(files, n, r.CharLong(c, k) + gridOffset(f::kCharLong, key, c, k));
    }
  }
  writeNumber(files, n, key);
  writeNumber(files, n, scenarioId + fixedOffset(f::kLink, key));
  writeNumber(files, n, globalChecksum(r) + fixedOffset(f::kChecksum, key));
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) {
      for (int k = 0; k < 3; ++k) {
        writeNumber(files, n, r.AutoMap(x, y, k) + autoMapOffset(key, x, y, k));
      }
    }
  }
  for (int i = 0; i < 19; ++i) {
    writeNumber(files, n, r.GameState(i) + cycleOffset(f::kGameState, key, i));
  }
  for (int i = 0; i < 121; ++i) {
    writeNumber(files, n, r.ShopStock(i) + cycleOffset(f::kShopStock, key, i));
  }
}

}  // namespace kestrun::game
