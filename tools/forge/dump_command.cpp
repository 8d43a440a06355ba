#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>

#include "commands.h"
#include "floor_source.h"
#include "game_files.h"
#include "roster_source.h"
#include "runtime/errors.h"
#include "runtime/sjis.h"
#include "scenario_source.h"
#include "source_folder.h"

namespace kestrun::forge {

namespace fs = std::filesystem;

namespace {

void writeText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw fs::filesystem_error("cannot write", path, {});
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A message file's Shift-JIS lines as UTF-8 lines.
std::string messageText(const std::string& sjis) {
  std::istringstream in(sjis);
  std::string line, text;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    text += rt::toUtf8(line) + "\n";
  }
  return text;
}

// <HEX>G.BMP, <HEX>M.BMP and <HEX>C.DAT go to pictures/, monsters/ and
// messages/ under their decimal numbers.
int dumpAssets(const fs::path& outdir, const fs::path& src) {
  static const std::regex assetName(R"(([0-9A-F]{1,5})(G\.BMP|M\.BMP|C\.DAT))");
  int count = 0;
  for (const auto& entry : fs::directory_iterator(outdir)) {
    const std::string name = entry.path().filename().string();
    std::smatch match;
    if (!std::regex_match(name, match, assetName)) continue;
    const std::string number = std::to_string(std::stoi(match[1], nullptr, 16));
    const std::string kind = match[2];
    if (kind == "C.DAT") {
      writeText(src / "messages" / (number + ".txt"), messageText(readBytes(entry.path())));
    } else {
      const fs::path to = src / (kind == "G.BMP" ? "pictures" : "monsters") / (number + ".bmp");
      fs::create_directories(to.parent_path());
      fs::copy_file(entry.path(), to);
    }
    ++count;
  }
  return count;
}

}  // namespace

int dumpCommand(const fs::path& outdir, const std::string& letter, const fs::path& src,
                std::ostream& out, std::ostream& err) {
  if (letter.size() != 1) {
    err << "kestrun-forge: the scenario letter is one character\n";
    return 2;
  }
  if (fs::exists(src) && !(fs::is_directory(src) && fs::is_empty(src))) {
    err << "kestrun-forge: " << src.string() << " exists and is not an empty folder\n";
    return 1;
  }
  const fs::path target = fs::absolute(src);
  std::string current = game::scenarioFileName(letter);
  return readGameFiles(outdir, current, err, [&] {
    const game::ScenarioTables scenario = loadScenario(letter);
    const Vocabularies words = wordsOfTables(scenario);
    writeText(target / "scenario.toml", writeScenarioSource(scenario, letter));
    int floors = 0;
    for (int n = 1; n <= 15; ++n) {
      current = game::floorFileName(letter, n);
      if (!fs::exists(current)) continue;
      const LoadedFloor floor = loadFloor(letter, n);
      writeText(target / floorSourceName(n),
                writeFloorSource(floor.tables, floor.seal, n, scenario.ScenarioId(0), words));
      ++floors;
    }
    current = game::rosterFileName(letter);
    bool roster = false;
    if (fs::exists(current)) {
      const LoadedRoster r = loadRoster(letter, scenario);
      if (r.verdict != game::RosterVerdict::Sound) {
        err << "kestrun-forge: warning: " << current << " fails its checks ("
            << game::describeVerdict(r.verdict) << "); dumped as it reads\n";
      }
      writeText(target / "roster.toml",
                writeRosterSource(r.tables, static_cast<int32_t>(r.seal.key), scenario, words));
      roster = true;
    }
    current = "the pictures and message files";
    const int assets = dumpAssets(".", target);
    out << "dumped scenario " << letter << " into " << src.string() << ": " << floors
        << " floor(s), " << assets << " other file(s)" << (roster ? ", the roster" : "") << "\n";
    return 0;
  });
}

}  // namespace kestrun::forge
