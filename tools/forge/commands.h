#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The commands of kestrun-forge. Each returns the exit status: 0 done,
// 1 a bad source or unreadable files (with messages on `err`).
namespace kestrun::forge {

int buildCommand(const std::filesystem::path& src, const std::filesystem::path& outdir,
                 bool newRoster, std::ostream& out, std::ostream& err);
int checkCommand(const std::filesystem::path& src, std::ostream& out);
int dumpCommand(const std::filesystem::path& outdir, const std::string& letter,
                const std::filesystem::path& src, std::ostream& out, std::ostream& err);
// Writes a small commented scenario into DIR (new, or empty) that checks
// clean, builds and plays.
int newCommand(const std::filesystem::path& dir, const std::string& letter, std::ostream& out,
               std::ostream& err);
// Reads the roster where the game keeps it (the user's data folder for a
// read-only or installed scenario folder).
int rosterCommand(const std::filesystem::path& dir, const std::string& letter, std::ostream& out,
                  std::ostream& err);
// `web SRC OUTDIR` or `web BUILT LETTER OUTDIR`: the scenario as a web page.
int webCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Floor plans of a source folder, or of built files when `letter` is given.
struct MapRequest {
  std::filesystem::path source;
  std::string letter;
  std::optional<int> floor;
  std::filesystem::path output;  // .png, .svg or .txt; empty: none
  bool text = false;             // the text plan on `out`
};
int mapCommand(const MapRequest& request, std::ostream& out, std::ostream& err);

// Builds a source into a fresh temporary folder, places the party and runs
// the game there.
struct PlayRequest {
  std::filesystem::path source;
  std::string at;               // "FLOOR,X,Y[,FACING]", empty: where the roster leaves the party
  std::filesystem::path party;  // a roster.toml to use instead of the source's
  std::string keys;             // --keys
  std::filesystem::path keysFile;
  std::vector<std::string> gameOptions;  // passed to kestrun as they are
};
int playCommand(const PlayRequest& request, const std::string& forgePath, std::ostream& err);

}  // namespace kestrun::forge
