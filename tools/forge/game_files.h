#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "game/state/floor_file.h"
#include "game/state/roster_file.h"
#include "game/state/scenario_file.h"
#include "runtime/errors.h"
#include "runtime/files.h"

// Reading and writing the game's files in a folder, through the game's own
// readers and writers.
namespace kestrun::forge {

// Makes `dir` the current directory for as long as it lives: the game's file
// operations take plain names, as the game uses them.
class InDirectory {
 public:
  explicit InDirectory(const std::filesystem::path& dir);
  ~InDirectory();
  InDirectory(const InDirectory&) = delete;
  InDirectory& operator=(const InDirectory&) = delete;

 private:
  std::filesystem::path saved_;
};

struct LoadedFloor {
  game::FloorTables tables;
  game::FloorSeal seal;  // plain
};

struct LoadedRoster {
  game::RosterTables tables;
  game::RosterSeal seal;
  game::RosterVerdict verdict = game::RosterVerdict::Sound;
};

// Each raises rt::RuntimeError when a file cannot be read (63: missing).
game::ScenarioTables loadScenario(const std::string& letter);
// Tells why `what` in `outdir` could not be read (a missing file or the
// game's error code).
void reportUnreadable(std::ostream& err, const std::string& what,
                      const std::filesystem::path& outdir, int code);

// Runs `read` inside `outdir` and returns its status. A game file that cannot
// be read is reported under `what` (the file being read at the time) and
// gives status 1.
template <typename Read>
int readGameFiles(const std::filesystem::path& outdir, const std::string& what, std::ostream& err,
                  Read read) {
  try {
    InDirectory inside(outdir);
    return read();
  } catch (const rt::RuntimeError& e) {
    reportUnreadable(err, what, outdir, e.code());
  } catch (const std::filesystem::filesystem_error& e) {
    err << "kestrun-forge: " << e.what() << "\n";
  }
  return 1;
}
LoadedFloor loadFloor(const std::string& letter, int floor);
LoadedRoster loadRoster(const std::string& letter, const game::ScenarioTables& scenario);

void saveScenario(const std::string& letter, const game::ScenarioTables& tables);
void saveFloor(const std::string& letter, int floor, const LoadedFloor& f);
// Seals the characters and writes the roster with key R.
void saveRoster(const std::string& letter, game::RosterTables tables, int32_t key,
                float scenarioId);

}  // namespace kestrun::forge
