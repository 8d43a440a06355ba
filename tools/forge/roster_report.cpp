#include "roster_report.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>

#include "app/roster_place.h"
#include "commands.h"
#include "game/state/fields.h"
#include "game/state/packed.h"
#include "game_files.h"
#include "runtime/errors.h"
#include "runtime/sjis.h"
#include "runtime/values.h"

namespace kestrun::forge {

namespace fs = std::filesystem;

namespace {

const char* const kDirections[4] = {"north", "east", "south", "west"};
const char* const kAlignments[4] = {"-", "good", "neutral", "evil"};

// The whole part of a stored number; one no 32-bit number holds (only a
// damaged roster has them) is error 6, which the command reports.
int32_t wholePart(double v) {
  return rt::toInt32(std::trunc(v));
}

std::string statusText(float code) {
  if (code == 0) return "empty";
  if (code >= 30000) return "lost";
  if (code >= 25000) return "spirit";
  if (code >= 20000) return "dead";
  if (code >= 10000) return "petrified";
  std::string text;
  if (game::digit(code, 3)) text += "poisoned ";
  if (game::digit(code, 2)) text += "paralysed ";
  if (game::digit(code, 1)) text += "asleep ";
  return text.empty() ? "normal" : text.substr(0, text.size() - 1);
}

std::string nameOr(const std::string& sjis, int number) {
  return sjis.empty() ? "#" + std::to_string(number) : rt::toUtf8(sjis);
}

std::string direction(int facing) {
  return facing >= 0 && facing < 4 ? kDirections[facing] : "?" + std::to_string(facing);
}

class RosterReport {
 public:
  RosterReport(const game::ScenarioTables& s, const LoadedRoster& r, std::ostream& out)
      : s_(s), r_(r.tables), out_(out) {}

  void print() {
    out_ << "message time: " << r_.ShopStock(game::StockedMessageTime) << "\n";
    party();
    for (int slot = 0; slot < 20; ++slot) {
      if (!game::isEmptySlot(r_, slot) || !r_.CharName(slot).empty()) character(slot);
    }
  }

 private:
  void party() {
    const int members = wholePart(r_.GameState(game::MemberCount));
    out_ << "party: " << members << " member(s)";
    const int floor = wholePart(r_.GameState(game::FloorAndFacing) / 100);
    if (floor == 0) {
      out_ << ", in town\n";
    } else {
      const int where = wholePart(r_.GameState(game::Square));
      out_ << ", on floor " << floor << " at (" << where / 100 << ", " << where % 100 << ") facing "
           << direction(wholePart(r_.GameState(game::FloorAndFacing)) % 100) << "\n";
    }
    for (int i = 1; i <= members && i <= 8; ++i) {
      const int slot = wholePart(r_.GameState(i)) - 1;
      out_ << "  " << i << ". slot " << slot;
      if (slot >= 0 && slot < 20) out_ << " " << rt::toUtf8(r_.CharName(slot));
      out_ << "\n";
    }
  }

  void character(int slot) {
    const int klass = game::classOf(r_, slot), race = game::raceOf(r_, slot);
    const int alignment = game::alignmentOf(r_, slot);
    out_ << "\nslot " << slot << ": " << rt::toUtf8(r_.CharName(slot)) << "\n";
    out_ << "  " << statusText(r_.CharRec(slot, game::Status)) << ", "
         << nameOr(klass < 15 ? s_.ClassName(klass) : "", klass) << ", "
         << nameOr(race < 8 ? s_.RaceName(race) : "", race) << ", "
         << (game::sexOf(r_, slot) ? "female" : "male") << ", "
         << (alignment < 4 ? kAlignments[alignment] : "?") << ", level " << game::levelOf(r_, slot)
         << "\n";
    out_ << "  HP " << r_.CharRec(slot, game::HitPoints) << "/"
         << r_.CharRec(slot, game::MaxHitPoints) << ", gold " << r_.CharLong(slot, game::Gold)
         << ", experience " << r_.CharLong(slot, game::Experience) << ", age "
         << 15 + std::floor((r_.CharRec(slot, game::AgeDays) + 32000) / 365) << "\n";
    place(slot);
    out_ << "  stats:";
    for (int k = 0; k < 8; ++k) out_ << " " << game::statOf(r_, slot, k);
    out_ << "\n";
    items(slot);
    spells(slot);
    spellPoints(slot);
  }

  // In pool mode each pair is one number; otherwise one digit per level.
  void spellPoints(int slot) {
    const bool pooled = s_.Setting(game::SpellPointMode) == 2;
    const char* const kinds[2] = {"holy", "magic"};
    for (int kind = 0; kind < 2; ++kind) {
      const int32_t now = r_.CharLong(slot, game::HolyPoints + 2 * kind);
      const int32_t most = r_.CharLong(slot, game::HolyPointsMax + 2 * kind);
      if (now == 0 && most == 0) continue;
      out_ << "  " << kinds[kind] << " spell points:";
      if (pooled) {
        out_ << " " << now << "/" << most << "\n";
        continue;
      }
      const int levels = std::clamp(wholePart(s_.Setting(game::HolySpellLevels + kind)), 1, 9);
      for (int level = 0; level < levels; ++level)
        out_ << " " << game::digit(now, level) << "/" << game::digit(most, level);
      out_ << " (levels 1 to " << levels << ")\n";
    }
  }

  void place(int slot) {
    if (game::isInTown(r_, slot)) {
      out_ << "  in town\n";
      return;
    }
    const int where = wholePart(r_.CharRec(slot, game::LeftAt));
    out_ << "  left on floor " << game::floorLeftOn(r_, slot) << " at (" << (where / 100) % 100
         << ", " << where % 100 << ") facing " << direction(where / 10000) << "\n";
  }

  void items(int slot) {
    out_ << "  items:";
    bool any = false;
    for (int i = 0; i < 10; ++i) {
      const float v = r_.CharRec(slot, game::FirstItemSlot + i);
      if (v == 0) continue;
      const int item = game::itemNumber(v);
      out_ << (any ? ", " : " ") << nameOr(item <= 120 ? s_.ItemName(item, 0) : "", item);
      if (game::isEquipped(v)) out_ << " (equipped)";
      if (!game::isIdentified(v)) out_ << " (unidentified)";
      any = true;
    }
    out_ << (any ? "\n" : " none\n");
  }

  void spells(int slot) {
    std::string known;
    for (int s = 1; s <= 80; ++s) {
      if (game::knowsSpell(r_, slot, s))
        known += (known.empty() ? " " : ", ") + nameOr(s_.SpellName(s), s);
    }
    if (!known.empty()) out_ << "  spells:" << known << "\n";
  }

  const game::ScenarioTables& s_;
  const game::RosterTables& r_;
  std::ostream& out_;
};

}  // namespace

void printRosterReport(const game::ScenarioTables& scenario, const LoadedRoster& roster,
                       std::ostream& out) {
  RosterReport(scenario, roster, out).print();
}

int rosterCommand(const fs::path& dir, const std::string& letter, std::ostream& out,
                  std::ostream& err) {
  if (letter.size() != 1) {
    err << "kestrun-forge: the scenario letter is one character\n";
    return 2;
  }
  const app::RosterPlace place = app::findRosterPlace(dir, app::currentUserFolders());
  if (!place.problem.empty()) {
    err << "kestrun-forge: " << place.problem << "\n";
    return 1;
  }
  // Until the game has saved there, the characters are still the scenario
  // folder's (the game copies them over when it starts).
  const std::string rosterName = game::rosterFileName(letter);
  const fs::path rosterFolder =
      place.elsewhere && fs::exists(place.folder / rosterName) ? place.folder : dir;
  std::string current = game::scenarioFileName(letter);
  game::ScenarioTables scenario;
  if (readGameFiles(dir, current, err, [&] {
        scenario = loadScenario(letter);
        return 0;
      }) != 0)
    return 1;
  return readGameFiles(rosterFolder, rosterName, err, [&] {
    const LoadedRoster roster = loadRoster(letter, scenario);
    out << "roster " << rosterName << " of \"" << rt::toUtf8(scenario.ScenarioText(0))
        << "\": " << (roster.verdict == game::RosterVerdict::Sound ? "" : "REFUSED: ")
        << game::describeVerdict(roster.verdict) << "\n";
    if (rosterFolder != dir) out << "kept in " << rosterFolder.string() << "\n";
    printRosterReport(scenario, roster, out);
    return roster.verdict == game::RosterVerdict::Sound ? 0 : 1;
  });
}

}  // namespace kestrun::forge
