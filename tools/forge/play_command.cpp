#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "commands.h"
#include "game/state/fields.h"
#include "game_files.h"
#include "party_placement.h"
#include "source_folder.h"

namespace kestrun::forge {

namespace fs = std::filesystem;

namespace {

constexpr int kFailed = 1;

// A folder of its own under the system's temporary folder, removed with
// everything in it when the try is over.
class TryFolder {
 public:
  TryFolder() {
    std::string pattern = (fs::temp_directory_path() / "kestrun-play-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      throw fs::filesystem_error("cannot make a temporary folder", fs::temp_directory_path(),
                                 std::error_code(errno, std::generic_category()));
    }
    path_ = pattern;
  }
  ~TryFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TryFolder(const TryFolder&) = delete;
  TryFolder& operator=(const TryFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The game beside this forge: both sit in the build folder, or both were
// installed into the same folder.
fs::path gameBeside(const std::string& forgePath) {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) self = fs::absolute(forgePath, error);
  return self.parent_path() / "kestrun";
}

std::optional<std::string> readText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The roster the try starts from: --party, the source's, or an empty one.
std::optional<RosterSource> startingRoster(const PlayRequest& request, const SourceFolder& folder,
                                           std::ostream& err) {
  if (request.party.empty())
    return folder.roster ? *folder.roster : newRoster(folder.scenario.tables);
  Problems problems;
  auto file = SourceFile::load(request.party, problems);
  std::optional<RosterSource> roster;
  if (file) {
    roster = readRosterSource(*file, folder.scenario.tables, folder.scenario.words, problems);
  }
  if (problems.empty()) return roster;
  for (const std::string& line : problems.lines()) err << line << "\n";
  err << "kestrun-forge: " << problems.size() << " problem(s) in " << request.party.string()
      << "\n";
  return std::nullopt;
}

// Runs the game and waits for it; the forge leaves Ctrl-C to the game and
// cleans up after it.
int runGame(const fs::path& game, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  std::string program = game.string();
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  struct sigaction ignore {
  }, oldInterrupt{}, oldQuit{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGINT, &ignore, &oldInterrupt);
  sigaction(SIGQUIT, &ignore, &oldQuit);
  const pid_t child = fork();
  if (child == 0) {
    sigaction(SIGINT, &oldInterrupt, nullptr);
    sigaction(SIGQUIT, &oldQuit, nullptr);
    execv(program.c_str(), argv.data());
    std::perror(("kestrun-forge: cannot start " + program).c_str());
    _exit(127);
  }
  int status = 0;
  if (child > 0) {
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }
  sigaction(SIGINT, &oldInterrupt, nullptr);
  sigaction(SIGQUIT, &oldQuit, nullptr);
  if (child < 0) return kFailed;
  return WIFEXITED(status) ? WEXITSTATUS(status) : kFailed;
}

}  // namespace

int playCommand(const PlayRequest& request, const std::string& forgePath, std::ostream& err) {
  std::optional<Spot> spot;
  if (!request.at.empty()) {
    std::string problem;
    spot = parseSpot(request.at, problem);
    if (!spot) {
      err << "kestrun-forge: " << problem << "\n";
      return 2;
    }
  }
  const fs::path game = gameBeside(forgePath);
  if (access(game.c_str(), X_OK) != 0) {
    err << "kestrun-forge: the game is not beside the forge (" << game.string() << ")\n";
    return kFailed;
  }
  std::string userKeys = request.keys;
  if (!request.keysFile.empty()) {
    const auto text = readText(request.keysFile);
    if (!text) {
      err << "kestrun-forge: cannot read " << request.keysFile.string() << "\n";
      return kFailed;
    }
    userKeys += *text;
  }
  try {
    TryFolder folder;
    const fs::path built = folder.path() / "scenario";
    std::ostringstream report;
    if (buildCommand(request.source, built, true, report, err) != 0) return kFailed;
    Problems ignored;  // the build has judged the source
    const SourceFolder source = loadSourceFolder(request.source, ignored);
    std::optional<RosterSource> roster = startingRoster(request, source, err);
    if (!roster) return kFailed;
    const std::string& letter = source.scenario.letter;
    if (spot) {
      if (!source.floors.count(spot->floor)) {
        err << "kestrun-forge: --at: the source has no floor " << spot->floor << "\n";
        return kFailed;
      }
      const int partySize = static_cast<int>(source.scenario.tables.Setting(game::PartySize));
      if (std::string problem = placeParty(roster->tables, *spot, partySize); !problem.empty()) {
        err << "kestrun-forge: --at: " << problem << " (give a roster with --party FILE.toml)\n";
        return kFailed;
      }
    }
    {
      InDirectory inside(built);
      fs::remove(game::rosterFileName(letter));
      saveRoster(letter, roster->tables, roster->key, source.scenario.tables.ScenarioId(0));
    }
    // The scenario letter at the title, then the town menu's resume key.
    const std::string typedAhead =
        letter + "{Enter}" + (isPartyInDungeon(roster->tables) ? "8" : "") + userKeys;
    const fs::path keys = folder.path() / "keys.txt";
    std::ofstream(keys, std::ios::binary) << typedAhead;
    std::vector<std::string> arguments = {"--dir", built.string(), "--keys-file", keys.string()};
    arguments.insert(arguments.end(), request.gameOptions.begin(), request.gameOptions.end());
    return runGame(game, arguments);
  } catch (const rt::RuntimeError& e) {
    err << "kestrun-forge: writing the roster failed with error " << e.code() << "\n";
  } catch (const fs::filesystem_error& e) {
    err << "kestrun-forge: " << e.what() << "\n";
  }
  return kFailed;
}

}  // namespace kestrun::forge
