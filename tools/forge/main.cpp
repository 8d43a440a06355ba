#include <CLI/CLI.hpp>
#include <iostream>

#include "commands.h"

namespace {

constexpr int kUsageError = 2;

int usageError(const std::string& message) {
  std::cerr << "kestrun-forge: " << message << "\n";
  return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kestrun::forge;
  CLI::App cli{
      "kestrun-forge compiles a readable scenario source (a folder of TOML files and drawn\n"
      "maps) into the data files KESTRUN plays, and back. See docs/scenario-format.md.",
      "kestrun-forge"};
  cli.require_subcommand(1);
  std::string src, outdir, letter;
  bool newRoster = false;

  auto* build = cli.add_subcommand("build", "Check SRC and write its files into OUTDIR");
  build->add_option("SRC", src, "Source folder")->required();
  build->add_option("OUTDIR", outdir, "Folder for the game's files")->required();
  build->add_flag("--new-roster", newRoster,
                  "Write the roster even when OUTDIR already has one (it is replaced)");

  auto* dump = cli.add_subcommand("dump", "Write the source of a built scenario");
  dump->add_option("OUTDIR", outdir, "Folder with the game's files")->required();
  dump->add_option("LETTER", letter, "The scenario's letter")->required();
  dump->add_option("SRC", src, "New source folder (must not exist, or be empty)")->required();

  auto* check = cli.add_subcommand("check", "List every problem of a source folder");
  check->add_option("SRC", src, "Source folder")->required();

  auto* roster = cli.add_subcommand("roster", "Print a saved roster as text");
  roster->add_option("OUTDIR", outdir, "Folder with the game's files")->required();
  roster->add_option("LETTER", letter, "The scenario's letter")->required();

  std::vector<std::string> webArgs;
  auto* web = cli.add_subcommand("web", "Write a scenario as a static web page into OUTDIR");
  web->add_option("ARGS", webArgs, "SRC OUTDIR (a source folder), or BUILT LETTER OUTDIR")
      ->expected(2, 3)
      ->required();

  cli.set_version_flag("--version", std::string("kestrun-forge ") + KESTRUN_VERSION);
  try {
    cli.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return cli.exit(e);
  } catch (const CLI::CallForVersion&) {
    std::cout << "kestrun-forge " << KESTRUN_VERSION << "\n";
    return 0;
  } catch (const CLI::ParseError& e) {
    return usageError(e.what());
  }

  if (build->parsed()) return buildCommand(src, outdir, newRoster, std::cout, std::cerr);
  if (dump->parsed()) return dumpCommand(outdir, letter, src, std::cout, std::cerr);
  if (check->parsed()) return checkCommand(src, std::cout);
  if (web->parsed()) return webCommand(webArgs, std::cout, std::cerr);
  return rosterCommand(outdir, letter, std::cout, std::cerr);
}
