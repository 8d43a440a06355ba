#pragma once

#include <filesystem>
#include <string>

#include "runtime/files.h"

namespace kestrun::app {

// The user's folders the place of the characters depends on.
struct UserFolders {
  std::string dataHome;  // XDG_DATA_HOME as set (may be empty or relative)
  std::string home;      // HOME, else the home folder of the user's account
};
UserFolders currentUserFolders();

// A file in a scenario folder that marks it as installed: its characters are
// kept in the user's data folder even when the user could write the folder,
// so that installing again or uninstalling never touches them.
inline constexpr const char* kInstalledMark = "installed-scenario";
// A file in a save folder naming the scenario folder whose characters it keeps.
inline constexpr const char* kOwnerMark = "scenario-folder";

// True when the user may change the folder: the system allows it, and the
// folder keeps at least one write permission (users whom the system lets
// write everywhere still leave alone a folder that someone made read-only).
bool userCanWrite(const std::filesystem::path& folder);

// Where the rosters of a scenario folder are read and written.
struct RosterPlace {
  std::filesystem::path scenarioFolder;  // absolute
  std::filesystem::path folder;          // absolute
  bool elsewhere = false;                // outside the scenario folder
  std::string problem;                   // why no folder could be chosen
};

// Decides the place without changing anything: the scenario folder when the
// user can write it and it is not installed, else <data home>/kestrun/<name>,
// or <name>-<hash of its path> when that folder keeps another folder's
// characters.
RosterPlace findRosterPlace(const std::filesystem::path& scenarioFolder, const UserFolders& user);

// Makes a place outside the scenario folder ready: creates it, marks it as
// this folder's, and copies in every roster of the scenario folder it does
// not hold yet. Returns what went wrong in one line, or nothing.
std::string prepareRosterPlace(const RosterPlace& place);

// Sends the game's reads and writes of roster files to the place.
void placeRosters(rt::FileTable& files, const RosterPlace& place);

// Where the characters of the folder live, in a sentence.
std::string describeRosterPlace(const RosterPlace& place);

}  // namespace kestrun::app
