#include "source_folder.h"

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "game/state/fields.h"
#include "runtime/sjis.h"
#include "runtime/values.h"
#include "scenario_check.h"

namespace kestrun::forge {

namespace fs = std::filesystem;

namespace {

constexpr int kLastFloor = 15;

std::optional<std::string> readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The game shows a message file from column 9 of rows 1 to 20.
constexpr int kMessageRows = 20;
constexpr size_t kMessageWidth = 80 - 9;

// messages/N.txt: UTF-8 lines, stored as Shift-JIS lines ending in CR LF.
// Lines the message window cuts off are findings.
std::optional<std::string> messageBytes(const fs::path& path, Problems& problems,
                                        std::vector<Finding>& findings) {
  auto text = readBytes(path);
  if (!text) {
    problems.add({path.string(), 0}, "cannot be read");
    return std::nullopt;
  }
  std::istringstream in(*text);
  std::string line, out;
  int number = 0;
  bool clean = true;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string bad = unencodableCharacters(line);
    if (!bad.empty()) {
      problems.add({path.string(), number}, "holds characters Shift-JIS cannot encode: " + bad);
      clean = false;
    }
    const std::string sjis = rt::toShiftJis(line);
    if (sjis.size() > kMessageWidth) {
      findings.push_back({{path.string(), number},
                          "the line is " + std::to_string(sjis.size()) +
                              " bytes in Shift-JIS; the message window shows " +
                              std::to_string(kMessageWidth) + " (a full-width character is 2)"});
    }
    if (number == kMessageRows + 1) {
      findings.push_back({{path.string(), number},
                          "the message window shows " + std::to_string(kMessageRows) +
                              " lines; this line and those after it are never shown"});
    }
    out += sjis + "\r\n";
  }
  if (!clean) return std::nullopt;
  return out;
}

class FolderLoader {
 public:
  FolderLoader(const fs::path& dir, Problems& problems) : dir_(dir), problems_(problems) {}

  SourceFolder load() {
    if (!fs::is_directory(dir_)) {
      problems_.add({dir_.string(), 0}, "is not a folder");
      return std::move(out_);
    }
    auto scenarioFile = SourceFile::load(dir_ / "scenario.toml", problems_);
    if (!scenarioFile) return std::move(out_);
    out_.scenario = readScenarioSource(*scenarioFile, problems_);
    readTopLevelFiles();
    readAssets("pictures", ".bmp", "G.BMP");
    readAssets("monsters", ".bmp", "M.BMP");
    readAssets("messages", ".txt", "C.DAT");
    checkLinks();
    checkSquareFiles();
    checkRosterFloors();
    checkRanges(out_, problems_);
    return std::move(out_);
  }

 private:
  void readTopLevelFiles() {
    static const std::regex floorName(R"(floor-([0-9]+)\.toml)");
    for (const auto& entry : sortedEntries(dir_)) {
      const std::string name = entry.filename().string();
      std::smatch match;
      if (name == "scenario.toml" || fs::is_directory(entry)) continue;
      if (name == "roster.toml") {
        readRoster(entry);
      } else if (std::regex_match(name, match, floorName)) {
        readFloor(entry, std::stoi(match[1]));
      } else if (entry.extension() == ".toml") {
        problems_.add({entry.string(), 0},
                      "is not a source file kestrun-forge knows (floor-N.toml, roster.toml)");
      }
    }
  }

  static std::vector<fs::path> sortedEntries(const fs::path& dir) {
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(dir)) entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    return entries;
  }

  void readFloor(const fs::path& path, int number) {
    if (number < 1 || number > kLastFloor) {
      problems_.add({path.string(), 0}, "floors are numbered 1 to 15");
      return;
    }
    auto file = SourceFile::load(path, problems_);
    if (!file) return;
    out_.floors[number] = readFloorSource(*file, number, out_.scenario.tables.ScenarioId(0),
                                          out_.scenario.words, problems_);
  }

  void readRoster(const fs::path& path) {
    auto file = SourceFile::load(path, problems_);
    if (!file) return;
    out_.roster = readRosterSource(*file, out_.scenario.tables, out_.scenario.words, problems_);
  }

  // folder/N<ext> becomes <N in hexadecimal><suffix>.
  void readAssets(const char* folder, const char* extension, const char* suffix) {
    const fs::path dir = dir_ / folder;
    if (!fs::is_directory(dir)) return;
    static const std::regex numbered(R"(([0-9]+))");
    for (const auto& path : sortedEntries(dir)) {
      const std::string stem = path.stem().string();
      if (path.extension() != extension || !std::regex_match(stem, numbered) || stem.size() > 6) {
        problems_.add({path.string(), 0},
                      std::string("is not named N") + extension + " with N a decimal number");
        continue;
      }
      const int number = std::stoi(stem);
      AssetFile asset{rt::HEX(number) + suffix, fs::absolute(path), std::nullopt};
      if (std::string_view(suffix) == "C.DAT") {
        asset.bytes = messageBytes(path, problems_, out_.findings);
        if (!asset.bytes) continue;
        messages_.insert(number);
      } else if (std::string_view(suffix) == "G.BMP") {
        pictures_.insert(number);
      }
      out_.assets.push_back(asset);
    }
  }

  void checkLinks() {
    auto first = out_.floors.find(1);
    if (first == out_.floors.end()) {
      problems_.add({(dir_ / floorSourceName(1)).string(), 0},
                    "is missing: the party enters the dungeon on floor 1");
    } else if (first->second.drawn && !first->second.hasUpStairs) {
      problems_.add(first->second.place,
                    "floor 1 has no up stairs (code 7, 'U'): the party arrives from town on it");
    }
    for (const auto& [number, floor] : out_.floors) {
      for (const FloorLink& link : floor.links) {
        if (link.floor < 0 || link.floor > kLastFloor) {
          problems_.add(link.where, link.what + " leads to floor " + std::to_string(link.floor) +
                                        ", outside 1 to 15");
        } else if (link.floor > 0 && !out_.floors.count(link.floor)) {
          problems_.add(link.where, link.what + " leads to floor " + std::to_string(link.floor) +
                                        ", which has no " + floorSourceName(link.floor));
        }
      }
    }
  }

  // A party or character saved in the dungeon stands on a floor of the source.
  void checkRosterFloors() {
    if (!out_.roster) return;
    const RosterSource& r = *out_.roster;
    checkFloorExists(r.partyPlace, static_cast<int>(r.tables.GameState(game::FloorAndFacing) / 100),
                     "the party");
    for (const auto& [place, floor] : r.leftOn) checkFloorExists(place, floor, "the character");
  }

  void checkFloorExists(const Place& place, int floor, const std::string& who) {
    if (floor == 0 || out_.floors.count(floor)) return;
    problems_.add(place, who + " is on floor " + std::to_string(floor) + ", which has no " +
                             floorSourceName(floor));
  }

  void checkSquareFiles() {
    for (const auto& [number, floor] : out_.floors) {
      for (const SquareFile& file : floor.files) {
        const bool found =
            file.isPicture ? pictures_.count(file.number) : messages_.count(file.number);
        if (found) continue;
        problems_.add(file.where,
                      std::string("the square shows ") +
                          (file.isPicture ? "pictures/" + std::to_string(file.number) + ".bmp"
                                          : "messages/" + std::to_string(file.number) + ".txt") +
                          ", which the source does not have");
      }
    }
  }

  fs::path dir_;
  Problems& problems_;
  SourceFolder out_;
  std::set<int> pictures_, messages_;
};

}  // namespace

std::string floorSourceName(int floor) {
  return "floor-" + std::to_string(floor) + ".toml";
}

SourceFolder loadSourceFolder(const fs::path& dir, Problems& problems) {
  return FolderLoader(dir, problems).load();
}

}  // namespace kestrun::forge
