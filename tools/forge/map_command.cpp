#include <cctype>
#include <fstream>
#include <iostream>
#include <map>

#include "commands.h"
#include "floor_plan.h"
#include "game_files.h"
#include "plan_pictures.h"
#include "runtime/sjis.h"
#include "source_folder.h"

namespace kestrun::forge {

namespace fs = std::filesystem;

namespace {

constexpr int kLastFloor = 15;

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The file of one floor's plan: FILE itself for a single floor, else FILE
// with "-N" before its extension.
fs::path planFileName(const fs::path& file, int floor, bool single) {
  if (single) return file;
  fs::path named = file;
  named.replace_filename(file.stem().string() + "-" + std::to_string(floor) +
                         file.extension().string());
  return named;
}

std::string writeWhole(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  if (!out.flush()) return "cannot write " + path.string();
  return {};
}

std::string writePlan(const plan::FloorPlan& plan, const fs::path& path) {
  const std::string extension = lowered(path.extension().string());
  if (extension == ".svg") return writeWhole(path, plan::renderSvg(plan));
  if (extension == ".txt") return writeWhole(path, plan::renderText(plan));
  return plan::writePng(path.string(), plan::renderRaster(plan));
}

// The floors to draw, read from a source folder or from built files.
struct MapFloors {
  game::ScenarioTables scenario;
  std::map<int, game::FloorTables> floors;
};

bool readSource(const fs::path& src, MapFloors& into, std::ostream& err) {
  Problems problems;
  const SourceFolder folder = loadSourceFolder(src, problems);
  for (const std::string& line : problems.lines()) err << line << "\n";
  if (!problems.empty()) {
    err << "kestrun-forge: " << problems.size()
        << " problem(s); the plans show the floors whose drawings could be read\n";
  }
  into.scenario = folder.scenario.tables;
  for (const auto& [number, floor] : folder.floors) {
    if (floor.drawn) into.floors[number] = floor.tables;
  }
  return true;
}

bool readBuilt(const fs::path& outdir, const std::string& letter, MapFloors& into,
               std::ostream& err) {
  if (!fs::is_directory(outdir)) {
    err << "kestrun-forge: " << outdir.string() << " is not a folder\n";
    return false;
  }
  std::string current = game::scenarioFileName(letter);
  return readGameFiles(outdir, current, err, [&] {
           into.scenario = loadScenario(letter);
           for (int floor = 1; floor <= kLastFloor; ++floor) {
             current = game::floorFileName(letter, floor);
             if (fs::exists(current)) into.floors[floor] = loadFloor(letter, floor).tables;
           }
           return 0;
         }) == 0;
}

}  // namespace

int mapCommand(const MapRequest& request, std::ostream& out, std::ostream& err) {
  if (request.output.empty() && !request.text) {
    err << "kestrun-forge: map needs -o FILE (.png, .svg or .txt) or --text\n";
    return 2;
  }
  const std::string extension = lowered(request.output.extension().string());
  if (!request.output.empty() && extension != ".png" && extension != ".svg" &&
      extension != ".txt") {
    err << "kestrun-forge: -o " << request.output.string()
        << ": the plan's file ends in .png, .svg or .txt\n";
    return 2;
  }
  if (!request.letter.empty() && request.letter.size() != 1) {
    err << "kestrun-forge: the scenario letter is one character\n";
    return 2;
  }
  MapFloors read;
  const bool readable = request.letter.empty()
                            ? readSource(request.source, read, err)
                            : readBuilt(request.source, request.letter, read, err);
  if (!readable) return 1;
  if (request.floor) {
    if (!read.floors.count(*request.floor)) {
      err << "kestrun-forge: " << request.source.string() << " has no floor " << *request.floor
          << "\n";
      return 1;
    }
    read.floors = {{*request.floor, read.floors.at(*request.floor)}};
  }
  if (read.floors.empty()) {
    err << "kestrun-forge: " << request.source.string() << " has no floor to draw\n";
    return 1;
  }
  const plan::Names names(read.scenario);
  const std::string title = rt::toUtf8(read.scenario.ScenarioText(0));
  for (const auto& [number, tables] : read.floors) {
    const plan::FloorPlan floorPlan = plan::makePlan(tables, number, title, names);
    if (request.text) out << plan::renderText(floorPlan) << "\n";
    if (request.output.empty()) continue;
    const fs::path file = planFileName(request.output, number, read.floors.size() == 1);
    if (const std::string problem = writePlan(floorPlan, file); !problem.empty()) {
      err << "kestrun-forge: " << problem << "\n";
      return 1;
    }
    (request.text ? err : out) << "wrote " << file.string() << " (floor " << number << ")\n";
  }
  return 0;
}

}  // namespace kestrun::forge
