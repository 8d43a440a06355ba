#include "app/roster_check.h"

#include <memory>

#include "game/state/roster_file.h"
#include "game/state/scenario_file.h"
#include "runtime/errors.h"
#include "runtime/files.h"

namespace kestrun::app {

namespace {

constexpr int kFile = 1;

template <typename Read>
void readFile(const std::string& path, Read read) {
  rt::FileTable files;
  files.OPEN(path, rt::FileMode::Input, rt::FileAccess::Read, kFile);
  read(files);
  files.closeAll();
}

std::string unreadable(const std::string& what, const rt::RuntimeError& error) {
  if (error.code() == rt::err::FileNotFound) return "there is no " + what;
  return "the " + what + " cannot be read (error " + std::to_string(error.code()) + ")";
}

}  // namespace

std::string rosterProblem(const std::string& scenarioFile, const std::string& rosterFile) {
  auto scenario = std::make_unique<game::ScenarioTables>();
  try {
    readFile(scenarioFile, [&](rt::FileTable& files) {
      game::readScenarioTexts(files, kFile, *scenario);
      game::readScenarioRest(files, kFile, *scenario);
    });
  } catch (const rt::RuntimeError& error) {
    return unreadable("scenario file", error);
  }
  game::unscrambleScenario(*scenario);
  auto roster = std::make_unique<game::RosterTables>();
  game::RosterSeal seal;
  try {
    readFile(rosterFile,
             [&](rt::FileTable& files) { game::readRoster(files, kFile, *roster, seal); });
  } catch (const rt::RuntimeError& error) {
    return unreadable("roster file", error);
  }
  const game::RosterLinks links = game::unscrambleRoster(*roster, seal);
  const game::RosterVerdict verdict = game::checkRoster(*roster, links, scenario->ScenarioId(0));
  if (verdict == game::RosterVerdict::Sound) return {};
  return std::string("the roster is refused: ") + game::describeVerdict(verdict);
}

}  // namespace kestrun::app
