// kestrun-forge web: a scenario as a static web page. The folder it writes
// holds index.html, the page's script and style, the game (kestrun.js and
// kestrun.wasm), scenario.json naming the scenario's files, and those files
// in scenario/; any static web server serves it as it is.
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

#include "commands.h"
#include "game_files.h"
#include "runtime/sjis.h"

namespace kestrun::forge {

namespace fs = std::filesystem;

namespace {

// What the web build puts in its page folder, all needed by a published page.
const char* const kPageFiles[] = {"index.html", "page.js", "page.css", "kestrun.js",
                                  "kestrun.wasm"};
constexpr const char* kScenarioFolder = "scenario";

// A folder that cannot be published from, or to; what() is the message.
class PublishError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool holdsPage(const fs::path& folder) {
  for (const char* name : kPageFiles) {
    if (!fs::is_regular_file(folder / name)) return false;
  }
  return true;
}

// The web build this forge belongs to: <its folder>/web/page in a build
// folder (`make web`), <prefix>/share/kestrun/web when installed.
fs::path findWebBuild() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) throw PublishError("cannot tell where kestrun-forge lives");
  const fs::path beside = self.parent_path() / "web" / "page";
  if (holdsPage(beside)) return beside;
  const fs::path installed = self.parent_path().parent_path() / "share" / "kestrun" / "web";
  if (holdsPage(installed)) return installed;
  throw PublishError("no web build of the game beside this kestrun-forge (looked in " +
                     beside.string() + " and " + installed.string() +
                     "): run `make web` in the build's source folder, or install it");
}

// The game's files of scenario `letter` in a folder: its own (<letter>-...)
// and the square messages and pictures all scenarios of a folder share.
bool belongsToScenario(const std::string& name, const std::string& letter) {
  static const std::regex shared("[0-9A-F]+(C\\.DAT|G\\.BMP|M\\.BMP)");
  if (name == game::rosterTempName(letter)) return false;
  return name.rfind(letter + "-", 0) == 0 || std::regex_match(name, shared);
}

// The letter of the one scenario in a freshly built folder.
std::string onlyLetter(const fs::path& folder) {
  std::set<std::string> letters;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.size() == 7 && name.substr(1) == "-S.DAT") letters.insert(name.substr(0, 1));
  }
  if (letters.size() != 1) throw PublishError("the build did not give one scenario");
  return *letters.begin();
}

// Refuses a folder without the scenario's files, before anything is written.
void checkBuilt(const fs::path& built, const std::string& letter) {
  if (!fs::is_regular_file(built / game::scenarioFileName(letter))) {
    throw PublishError("no scenario " + letter + " in " + built.string() + " (no " +
                       game::scenarioFileName(letter) + ")");
  }
  if (!fs::is_regular_file(built / game::rosterFileName(letter))) {
    throw PublishError("scenario " + letter + " in " + built.string() + " has no roster (" +
                       game::rosterFileName(letter) +
                       "); the page starts from it: build the scenario first");
  }
}

void copyScenario(const fs::path& built, const std::string& letter, const fs::path& to) {
  fs::create_directories(to);
  for (const auto& entry : fs::directory_iterator(built)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && belongsToScenario(name, letter)) {
      fs::copy_file(entry.path(), to / name, fs::copy_options::overwrite_existing);
    }
  }
}

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// scenario.json: what the page loads before the game starts.
void writeManifest(const fs::path& outdir, const std::string& letter) {
  const fs::path folder = outdir / kScenarioFolder;
  std::string title;
  {
    InDirectory inside(folder);
    title = rt::toUtf8(loadScenario(letter).ScenarioText(0));
  }
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  std::ostringstream json;
  json << "{\"letter\":" << jsonString(letter) << ",\"title\":" << jsonString(title)
       << ",\"files\":[";
  const char* separator = "";
  for (const std::string& name : names) {
    json << separator << jsonString(name);
    separator = ",";
  }
  json << "]}\n";
  std::ofstream out(outdir / "scenario.json", std::ios::binary);
  out << json.str();
  if (!out.flush()) throw PublishError("cannot write " + (outdir / "scenario.json").string());
}

void copyPage(const fs::path& webBuild, const fs::path& outdir) {
  for (const char* name : kPageFiles) {
    fs::copy_file(webBuild / name, outdir / name, fs::copy_options::overwrite_existing);
  }
}

// The scenario/ folder of the page is rewritten whole, so that no file of an
// earlier publication stays; it must not be where the files come from.
fs::path freshScenarioFolder(const fs::path& outdir, const fs::path& from) {
  const fs::path folder = fs::weakly_canonical(fs::absolute(outdir / kScenarioFolder));
  const std::string source = fs::weakly_canonical(fs::absolute(from)).string() + "/";
  if (source.rfind(folder.string() + "/", 0) == 0 ||
      (folder.string() + "/").rfind(source, 0) == 0) {
    throw PublishError("the page's folder " + outdir.string() + " and " + from.string() +
                       " overlap: choose another OUTDIR");
  }
  fs::remove_all(folder);
  return folder;
}

}  // namespace

int webCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const fs::path webBuild = findWebBuild();
    const fs::path outdir = args.back();
    if (fs::exists(outdir) && !fs::is_directory(outdir)) {
      throw PublishError(outdir.string() + " is not a folder");
    }
    std::string letter;
    if (args.size() == 2) {
      const fs::path folder = freshScenarioFolder(outdir, args[0]);
      std::ostringstream built;
      if (buildCommand(args[0], folder, true, built, err) != 0) return 1;
      letter = onlyLetter(folder);
    } else {
      letter = args[1];
      checkBuilt(args[0], letter);
      copyScenario(args[0], letter, freshScenarioFolder(outdir, args[0]));
    }
    copyPage(webBuild, outdir);
    writeManifest(outdir, letter);
    out << "wrote the page of scenario " << letter << " into " << outdir.string()
        << ": serve the folder with any static web server and open index.html\n";
    return 0;
  } catch (const PublishError& e) {
    err << "kestrun-forge: " << e.what() << "\n";
  } catch (const rt::RuntimeError& e) {
    err << "kestrun-forge: the scenario cannot be read (error " << e.code() << ")\n";
  } catch (const fs::filesystem_error& e) {
    err << "kestrun-forge: " << e.what() << "\n";
  }
  return 1;
}

}  // namespace kestrun::forge
