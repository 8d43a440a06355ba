#pragma once

#include <filesystem>
#include <vector>

#include "source_folder.h"

// The checks of a scenario as a whole, once every file is read.
namespace kestrun::forge {

// Values the game cannot run with (settings outside the range where the
// game runs, encounter columns written high to low): problems for check
// and build alike.
void checkRanges(const SourceFolder& folder, Problems& problems);

// What the game runs but leaves the party stuck or the quest unfinishable:
// floors and squares nobody reaches, floors without a way back, stairs and
// teleports into rock, a quest item nobody can have or the lord cannot
// accept, `deepest_floor` against the floor files. With the findings made
// while reading (folder.findings), in file order.
std::vector<Finding> checkScenarioWide(const SourceFolder& folder);

// A built folder holding another scenario: its message and picture files
// carry no letter, so the two overwrite each other's.
std::vector<std::string> sharedFolderWarnings(const SourceFolder& folder,
                                              const std::filesystem::path& outdir);

// One documented range of a setting.
struct SettingRange {
  const char* key;
  int setting;
  double low, high;
  const char* why;  // what stops the game past the range
};
const std::vector<SettingRange>& settingRanges();

}  // namespace kestrun::forge
