#include <cstdlib>
#include <fstream>
#include <iostream>

#include "commands.h"
#include "game_files.h"
#include "runtime/errors.h"
#include "scenario_check.h"
#include "source_folder.h"

namespace kestrun::forge {

namespace fs = std::filesystem;

namespace {

void printProblems(const Problems& problems, std::ostream& out) {
  for (const auto& line : problems.lines()) out << line << "\n";
}

// The scenario-wide findings: the game runs them, so a scenario in progress
// still builds, but the author hears of them.
void printWarnings(const SourceFolder& folder, const fs::path& outdir, std::ostream& err) {
  for (const Finding& f : checkScenarioWide(folder))
    err << placed(f.where, "warning: " + f.sentence) << "\n";
  for (const std::string& w : sharedFolderWarnings(folder, outdir))
    err << "kestrun-forge: warning: " << w << "\n";
}

// A fresh directory beside the output folder; removed unless kept.
class TemporaryDirectory {
 public:
  explicit TemporaryDirectory(const fs::path& parent) {
    std::string pattern = (parent / ".kestrun-forge-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      throw fs::filesystem_error("cannot make a temporary folder", parent,
                                 std::error_code(errno, std::generic_category()));
    }
    path_ = pattern;
    fs::permissions(path_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
  }
  ~TemporaryDirectory() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }
  void release() { path_.clear(); }

 private:
  fs::path path_;
};

void writeAsset(const AssetFile& asset) {
  if (asset.bytes) {
    std::ofstream out(asset.gameName, std::ios::binary);
    out << *asset.bytes;
    if (!out.flush()) throw fs::filesystem_error("cannot write", fs::path(asset.gameName), {});
  } else {
    fs::copy_file(asset.from, asset.gameName);
  }
}

// Writes every file into the current directory.
void writeFiles(const SourceFolder& folder, bool writeRoster) {
  const ScenarioSource& s = folder.scenario;
  saveScenario(s.letter, s.tables);
  for (const auto& [number, floor] : folder.floors) {
    saveFloor(s.letter, number, {floor.tables, floor.seal});
  }
  if (writeRoster) {
    const RosterSource roster = folder.roster ? *folder.roster : newRoster(s.tables);
    saveRoster(s.letter, roster.tables, roster.key, s.tables.ScenarioId(0));
  }
  for (const AssetFile& asset : folder.assets) writeAsset(asset);
}

// Moves the written files into the output folder (or the whole folder into
// its place when there is none yet).
void moveInto(TemporaryDirectory& written, const fs::path& outdir) {
  if (!fs::exists(outdir)) {
    fs::rename(written.path(), outdir);
    written.release();
    return;
  }
  for (const auto& entry : fs::directory_iterator(written.path())) {
    fs::rename(entry.path(), outdir / entry.path().filename());
  }
}

}  // namespace

int buildCommand(const fs::path& src, const fs::path& outdir, bool newRosterFlag, std::ostream& out,
                 std::ostream& err) {
  Problems problems;
  const SourceFolder folder = loadSourceFolder(src, problems);
  if (!problems.empty()) {
    printProblems(problems, err);
    err << "kestrun-forge: " << problems.size() << " problem(s); nothing was written\n";
    return 1;
  }
  try {
    const fs::path target = fs::absolute(outdir).lexically_normal();
    if (fs::exists(target) && !fs::is_directory(target)) {
      err << "kestrun-forge: " << outdir.string() << " is not a folder\n";
      return 1;
    }
    printWarnings(folder, target, err);
    fs::create_directories(target.parent_path());
    const fs::path roster = target / game::rosterFileName(folder.scenario.letter);
    const bool writeRoster = newRosterFlag || !fs::exists(roster);
    TemporaryDirectory written(target.parent_path());
    {
      InDirectory inside(written.path());
      writeFiles(folder, writeRoster);
    }
    moveInto(written, target);
    out << "built scenario " << folder.scenario.letter << " into " << outdir.string() << ": "
        << folder.floors.size() << " floor(s), " << folder.assets.size() << " other file(s)"
        << (writeRoster ? ", a new roster" : ", the roster kept") << "\n";
    return 0;
  } catch (const rt::RuntimeError& e) {
    err << "kestrun-forge: writing failed with error " << e.code() << "; nothing was written\n";
  } catch (const fs::filesystem_error& e) {
    err << "kestrun-forge: " << e.what() << "\n";
  }
  return 1;
}

int checkCommand(const fs::path& src, std::ostream& out) {
  Problems problems;
  const SourceFolder folder = loadSourceFolder(src, problems);
  for (const Finding& f : checkScenarioWide(folder)) problems.add(f.where, f.sentence);
  printProblems(problems, out);
  if (problems.empty()) {
    out << src.string() << ": no problems\n";
    return 0;
  }
  out << problems.size() << " problem(s)\n";
  return 1;
}

}  // namespace kestrun::forge
