#include "game_files.h"

namespace kestrun::forge {

namespace {

constexpr int kFile = 1;

// Opens a file of the current directory, runs `body` on it and closes it.
template <typename Body>
void withFile(const std::string& name, rt::FileMode mode, Body body) {
  rt::FileTable files;
  const auto access = mode == rt::FileMode::Input ? rt::FileAccess::Read : rt::FileAccess::Write;
  files.OPEN(name, mode, access, kFile);
  body(files);
  files.closeAll();
}

}  // namespace

InDirectory::InDirectory(const std::filesystem::path& dir)
    : saved_(std::filesystem::current_path()) {
  std::filesystem::current_path(dir);
}

InDirectory::~InDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(saved_, ignored);
}

game::ScenarioTables loadScenario(const std::string& letter) {
  game::ScenarioTables tables;
  withFile(game::scenarioFileName(letter), rt::FileMode::Input, [&](rt::FileTable& files) {
    game::readScenarioTexts(files, kFile, tables);
    game::readScenarioRest(files, kFile, tables);
  });
  game::unscrambleScenario(tables);
  return tables;
}

LoadedFloor loadFloor(const std::string& letter, int floor) {
  LoadedFloor f;
  game::Table<float, 5, 29> codes;
  withFile(game::floorFileName(letter, floor), rt::FileMode::Input,
           [&](rt::FileTable& files) { game::readFloor(files, kFile, f.tables, f.seal, codes); });
  game::unscrambleFloor(f.tables, f.seal, codes);
  return f;
}

LoadedRoster loadRoster(const std::string& letter, const game::ScenarioTables& scenario) {
  LoadedRoster r;
  withFile(game::rosterFileName(letter), rt::FileMode::Input,
           [&](rt::FileTable& files) { game::readRoster(files, kFile, r.tables, r.seal); });
  const game::RosterLinks links = game::unscrambleRoster(r.tables, r.seal);
  r.verdict = game::checkRoster(r.tables, links, scenario.ScenarioId(0));
  return r;
}

void saveScenario(const std::string& letter, const game::ScenarioTables& tables) {
  withFile(game::scenarioFileName(letter), rt::FileMode::Output,
           [&](rt::FileTable& files) { game::writeScenario(files, kFile, tables); });
}

void saveFloor(const std::string& letter, int floor, const LoadedFloor& f) {
  withFile(game::floorFileName(letter, floor), rt::FileMode::Output,
           [&](rt::FileTable& files) { game::writeFloor(files, kFile, f.tables, f.seal); });
}

void saveRoster(const std::string& letter, game::RosterTables tables, int32_t key,
                float scenarioId) {
  game::sealCharacters(tables);
  withFile(game::rosterFileName(letter), rt::FileMode::Output,
           [&](rt::FileTable& files) { game::writeRoster(files, kFile, tables, key, scenarioId); });
}

void reportUnreadable(std::ostream& err, const std::string& what,
                      const std::filesystem::path& outdir, int code) {
  err << "kestrun-forge: cannot read " << what << " in " << outdir.string()
      << (code == rt::err::FileNotFound ? ": no such file" : ": error " + std::to_string(code))
      << "\n";
}

}  // namespace kestrun::forge
