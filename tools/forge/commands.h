#pragma once

#include <filesystem>
#include <iosfwd>
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
int rosterCommand(const std::filesystem::path& outdir, const std::string& letter, std::ostream& out,
                  std::ostream& err);
// `web SRC OUTDIR` or `web BUILT LETTER OUTDIR`: the scenario as a web page.
int webCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestrun::forge
