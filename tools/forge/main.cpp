#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <optional>

#include "commands.h"
#include "suggestion.h"

namespace {

constexpr int kUsageError = 2;

int usageError(const std::string& message) {
  std::cerr << "kestrun-forge: " << message << "\n";
  return kUsageError;
}

// A first word that is no command gets a suggestion, not the parser's "A
// subcommand is required".
std::optional<std::string> unknownSubcommand(const CLI::App& cli, int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '-') return std::nullopt;
  std::vector<std::string> names;
  for (const CLI::App* sub : cli.get_subcommands({})) names.push_back(sub->get_name());
  const std::string given = argv[1];
  if (std::find(names.begin(), names.end(), given) != names.end()) return std::nullopt;
  return "unknown command \"" + given + "\"" + kestrun::forge::didYouMean(given, names) +
         "; see kestrun-forge --help";
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

  auto* roster = cli.add_subcommand(
      "roster",
      "Print a saved roster as text, read where the game keeps it (for a read-only or "
      "installed scenario folder, the user's data folder)");
  roster->add_option("DIR", outdir, "Scenario folder with the game's files")->required();
  roster->add_option("LETTER", letter, "The scenario's letter")->required();

  auto* start = cli.add_subcommand("new", "Write a small commented scenario to start from");
  start->add_option("DIR", src, "New source folder (must not exist, or be empty)")->required();
  start->add_option("--letter", letter, "The scenario's letter (default A)")->default_val("A");
  MapRequest map;
  auto* mapCmd = cli.add_subcommand(
      "map",
      "Draw floor plans of a source folder SRC, or of the built files of scenario LETTER "
      "in folder SRC. With several floors -o FILE writes one file per floor, named FILE "
      "with -N before its extension (plan.png: plan-1.png, plan-2.png ...)");
  mapCmd->add_option("SRC", map.source, "Source folder, or folder with the game's files")
      ->required();
  mapCmd->add_option("LETTER", map.letter, "The scenario's letter, to read built files");
  int mapFloor = 0;
  mapCmd->add_option("--floor", mapFloor, "Only this floor")->check(CLI::Range(1, 15));
  mapCmd->add_option("-o,--output", map.output, "The plan's file: .png, .svg or .txt");
  mapCmd->add_flag("--text", map.text, "Print the plans in the terminal (UTF-8 box drawing)");

  PlayRequest play;
  auto* playCmd = cli.add_subcommand(
      "play",
      "Check and build SRC into a fresh temporary folder, place the party (of the source's "
      "roster.toml or --party; without a party its first sound characters in town form one) "
      "and start the kestrun beside this program there (the scenario letter and the resume "
      "key are typed ahead); the folder is removed afterwards");
  playCmd->add_option("SRC", play.source, "Source folder")->required();
  playCmd->add_option("--at", play.at,
                      "Start on this square: FLOOR,X,Y[,FACING] (facing north, east, south, west "
                      "or 0..3; default north)");
  playCmd->add_option("--party", play.party,
                      "A roster file (the form of roster.toml) instead of the source's");
  playCmd->add_option("--keys", play.keys, "Keys typed after the resume key (kestrun --keys)");
  playCmd->add_option("--keys-file", play.keysFile, "The same from a file");
  for (const char* passed : {"--frontend", "--seed", "--trace", "--trace-png", "--dump-png",
                             "--dump-screen", "--scale"}) {
    playCmd->add_option_function<std::string>(
        passed,
        [&play, passed](const std::string& value) {
          play.gameOptions.insert(play.gameOptions.end(), {passed, value});
        },
        "Passed to kestrun");
  }
  playCmd->add_flag_callback(
      "--fullscreen", [&play] { play.gameOptions.push_back("--fullscreen"); }, "Passed to kestrun");
  std::vector<std::string> webArgs;
  auto* web = cli.add_subcommand("web", "Write a scenario as a static web page into OUTDIR");
  web->add_option("ARGS", webArgs, "SRC OUTDIR (a source folder), or BUILT LETTER OUTDIR")
      ->expected(2, 3)
      ->required();

  cli.set_version_flag("--version", std::string("kestrun-forge ") + KESTRUN_VERSION);
  if (auto unknown = unknownSubcommand(cli, argc, argv)) return usageError(*unknown);
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
  if (start->parsed()) return newCommand(src, letter, std::cout, std::cerr);
  if (mapCmd->parsed()) {
    if (mapFloor != 0) map.floor = mapFloor;
    return mapCommand(map, std::cout, std::cerr);
  }
  if (playCmd->parsed()) return playCommand(play, argv[0], std::cerr);
  if (web->parsed()) return webCommand(webArgs, std::cout, std::cerr);
  return rosterCommand(outdir, letter, std::cout, std::cerr);
}
