#include "app/roster_place.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

#include "game/state/roster_file.h"
#include "runtime/file_names.h"

namespace kestrun::app {

namespace fs = std::filesystem;

namespace {

constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string accountHome() {
  const passwd* account = ::getpwuid(::getuid());
  return account && account->pw_dir ? account->pw_dir : "";
}

// A relative XDG_DATA_HOME is ignored, as the XDG rules ask.
std::optional<fs::path> dataHomeOf(const UserFolders& user) {
  if (!user.dataHome.empty() && fs::path(user.dataHome).is_absolute()) return user.dataHome;
  if (!user.home.empty() && fs::path(user.home).is_absolute()) {
    return fs::path(user.home) / ".local" / "share";
  }
  return std::nullopt;
}

std::optional<std::string> readWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::string ownerMarkText(const fs::path& scenarioFolder) {
  return scenarioFolder.string() + "\n";
}

// A save folder may keep the scenario folder's characters when it is new,
// already this folder's, or kept for a folder that is gone (moved, or
// installed elsewhere since).
bool mayKeep(const fs::path& saveFolder, const fs::path& scenarioFolder) {
  std::error_code error;
  if (!fs::exists(saveFolder, error) && !error) return true;
  const std::optional<std::string> owner = readWhole(saveFolder / kOwnerMark);
  if (!owner || owner->empty() || owner->back() != '\n') return false;
  if (*owner == ownerMarkText(scenarioFolder)) return true;
  return !fs::is_directory(owner->substr(0, owner->size() - 1), error);
}

std::string hashOf(const std::string& text) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08x", hash);
  return digits;
}

std::string failure(const std::string& what, const fs::path& path, int errnoValue) {
  return "cannot " + what + " " + path.string() + ": " + std::strerror(errnoValue);
}

int writeAll(int descriptor, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(descriptor, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    written += static_cast<size_t>(n);
  }
  return 0;
}

// Writes a file through a synced temporary one renamed over it, so that an
// interrupted start never leaves half a roster behind.
std::string writeDurably(const fs::path& path, const std::string& bytes) {
  const fs::path temporary = path.string() + ".part";
  const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) return failure("write", temporary, errno);
  int problem = writeAll(descriptor, bytes);
  if (problem == 0 && ::fsync(descriptor) != 0) problem = errno;
  if (::close(descriptor) != 0 && problem == 0 && errno != EINTR) problem = errno;
  if (problem == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) problem = errno;
  if (problem != 0) {
    ::unlink(temporary.c_str());
    return failure("write", path, problem);
  }
  const int folder = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return {};
}

// A roster copied from a system that ignores letter case ("1-c.dat") is
// copied under its own name, and one the save folder holds in any case is
// not copied again; the game finds either way (rt::withFoundCase).
bool isRosterInAnyCase(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return game::isSavedRoster(upper);
}

bool holds(const fs::path& folder, const std::string& name) {
  std::error_code error;
  return fs::exists(rt::withFoundCase((folder / name).string()), error);
}

std::string copyMissingRosters(const fs::path& from, const fs::path& to) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
    const std::string name = entry.path().filename().string();
    if (!isRosterInAnyCase(name) || holds(to, name)) continue;
    const std::optional<std::string> bytes = readWhole(entry.path());
    if (!bytes) return "cannot read " + entry.path().string();
    if (std::string problem = writeDurably(to / name, *bytes); !problem.empty()) return problem;
  }
  if (error) return failure("list", from, error.value());
  return {};
}

RosterPlace noPlace(const fs::path& scenarioFolder, std::string problem) {
  return {scenarioFolder, scenarioFolder, false, std::move(problem)};
}

}  // namespace

UserFolders currentUserFolders() {
  UserFolders user{environment("XDG_DATA_HOME"), environment("HOME")};
  if (user.home.empty()) user.home = accountHome();
  return user;
}

bool userCanWrite(const fs::path& folder) {
  struct stat info {};
  if (::access(folder.c_str(), W_OK) != 0 || ::stat(folder.c_str(), &info) != 0) return false;
  return (info.st_mode & kAnyWrite) != 0;
}

RosterPlace findRosterPlace(const fs::path& scenarioFolder, const UserFolders& user) {
  std::error_code error;
  const fs::path folder = fs::weakly_canonical(fs::absolute(scenarioFolder, error), error);
  if (error) return noPlace(scenarioFolder, failure("find", scenarioFolder, error.value()));
  if (userCanWrite(folder) && !fs::exists(folder / kInstalledMark, error)) {
    return {folder, folder, false, {}};
  }
  const std::optional<fs::path> dataHome = dataHomeOf(user);
  if (!dataHome) {
    return noPlace(folder, "no folder for the characters of the read-only " + folder.string() +
                               ": set HOME or XDG_DATA_HOME to an absolute path");
  }
  std::string name = folder.filename().string();
  if (name.empty()) name = "root";
  const fs::path games = *dataHome / "kestrun";
  if (mayKeep(games / name, folder)) return {folder, games / name, true, {}};
  return {folder, games / (name + "-" + hashOf(folder.string())), true, {}};
}

std::string prepareRosterPlace(const RosterPlace& place) {
  if (!place.problem.empty()) return place.problem;
  if (!place.elsewhere) return {};
  std::error_code error;
  fs::create_directories(place.folder, error);
  if (error) return failure("make the folder", place.folder, error.value());
  const std::string ownerText = ownerMarkText(place.scenarioFolder);
  const fs::path mark = place.folder / kOwnerMark;
  if (readWhole(mark) != ownerText) {
    if (std::string problem = writeDurably(mark, ownerText); !problem.empty()) return problem;
  }
  return copyMissingRosters(place.scenarioFolder, place.folder);
}

void placeRosters(rt::FileTable& files, const RosterPlace& place) {
  if (!place.elsewhere) return;
  const std::string folder = place.folder.string() + "/";
  files.setPlacer([folder](const std::string& name) {
    return game::isRosterFile(name) ? folder + name : name;
  });
}

std::string describeRosterPlace(const RosterPlace& place) {
  if (!place.problem.empty()) return "Characters: " + place.problem + ".";
  if (!place.elsewhere)
    return "Characters: saved in the scenario folder " + place.folder.string() + ".";
  return "Characters: the scenario folder is read-only or installed, so they are saved in\n" +
         place.folder.string() + " (copied from the scenario folder the first time).";
}

}  // namespace kestrun::app
