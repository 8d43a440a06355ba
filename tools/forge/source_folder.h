#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "floor_source.h"
#include "roster_source.h"
#include "scenario_source.h"

namespace kestrun::forge {

// A file copied into the output under its hexadecimal game name.
struct AssetFile {
  std::string gameName;              // "1AG.BMP", "3C.DAT" ...
  std::filesystem::path from;        // pictures are copied as they are
  std::optional<std::string> bytes;  // message files: Shift-JIS with CR LF line ends
};

// Everything a source folder holds, read and checked.
struct SourceFolder {
  ScenarioSource scenario;
  std::map<int, FloorSource> floors;
  std::optional<RosterSource> roster;
  std::vector<AssetFile> assets;
  // What the game runs but the author most likely did not mean (see
  // scenario_check.h); check reports them as problems, build as warnings.
  std::vector<Finding> findings;
};

// Reads every file of the folder and checks what spans files (floor links,
// the first floor's up stairs, the pictures and messages squares show).
SourceFolder loadSourceFolder(const std::filesystem::path& dir, Problems& problems);

// The folder's file names: floor-N.toml, pictures/N.bmp, monsters/N.bmp,
// messages/N.txt.
std::string floorSourceName(int floor);

}  // namespace kestrun::forge
