#include "scenario_check.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <regex>

#include "game/dungeon/floor_squares.h"
#include "game/dungeon/view_slots.h"
#include "game/state/fields.h"
#include "runtime/values.h"
#include "square_codes.h"

namespace kestrun::forge {

namespace fs = std::filesystem;

namespace {

using namespace game::fields;

constexpr int kFloors = 15;
constexpr int kTown = 0;

namespace code = square;
using square::isGuardian;
using square::isTeleport;

// A square whose event carries the party away without a choice: it cannot
// walk on from it.
bool movesOnByForce(int c) {
  return c == code::Teleport || c == code::Riddle;
}
// Squares that are no event worth reaching: nothing, rock, the no-spell
// square and darkness.
bool isEventSquare(int c) {
  return c != 0 && c != code::Rock && c != 5 && c != game::kDarkSquare;
}

std::string squareText(int x, int y) {
  return "square (" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

int squareCode(const game::FloorTables& t, int x, int y) {
  return rt::toInt32(rt::MOD(t.FloorMap(x, y, 0), 100));
}
int parameter(const game::FloorTables& t, int x, int y, int layer) {
  return rt::toInt32(rt::INT(t.FloorMap(x, y, layer) / 100));
}

struct Square {
  int floor, x, y;
  auto operator<=>(const Square&) const = default;
};
const Square kTownSquare{kTown, 0, 0};

// The ways of the dungeon: which squares lead to which, by walking and by
// the events of stairs, elevators, teleports and riddles.
class DungeonGraph {
 public:
  explicit DungeonGraph(const SourceFolder& folder) : folder_(folder) {}

  const game::FloorTables* floor(int number) const {
    auto found = folder_.floors.find(number);
    if (found == folder_.floors.end() || !found->second.drawn) return nullptr;
    return &found->second.tables;
  }

  // The first up stairs of floor 1, scanned as the game does: x, then y.
  std::optional<Square> arrival() const {
    const game::FloorTables* first = floor(1);
    if (!first) return std::nullopt;
    for (int x = 0; x < 20; ++x) {
      for (int y = 0; y < 20; ++y) {
        if (squareCode(*first, x, y) == code::Up) return Square{1, x, y};
      }
    }
    return std::nullopt;
  }

  // Where the event of a square can carry the party: stairs, elevators,
  // teleports, a riddle's two squares.
  std::vector<Square> carried(const Square& s) const {
    std::vector<Square> out;
    if (s.floor == kTown) return out;
    const game::FloorTables& t = *floor(s.floor);
    const int c = squareCode(t, s.x, s.y);
    auto to = [&](int f, int x, int y) {
      if (f == kTown) {
        out.push_back(kTownSquare);
      } else if (floor(f) && x < 20 && y < 20) {
        out.push_back({f, x, y});
      }
    };
    const int p0 = parameter(t, s.x, s.y, 0), p1 = parameter(t, s.x, s.y, 1),
              p2 = parameter(t, s.x, s.y, 2), p3 = parameter(t, s.x, s.y, 3);
    if (c == code::Up) to(s.floor == 1 ? kTown : s.floor - 1, p1, p2);
    if (c == code::Down) to(s.floor + 1, p1, p2);
    if (c == code::Elevator) {
      for (int f = std::max(p0, 1); f <= std::min(p1, kFloors); ++f) to(f, s.x, s.y);
    }
    if (isTeleport(c)) to(p0, p1, p2);
    if (c == code::Riddle) {
      to(s.floor, p0 / 10, p1 / 10);
      to(s.floor, p2, p3);
    }
    return out;
  }

  // Where the party can go from a square: carried by its event, or on foot
  // unless the event moves it on anyway or it is rock.
  std::vector<Square> next(const Square& s) const {
    std::vector<Square> out = carried(s);
    if (s.floor == kTown) return out;
    const game::FloorTables& t = *floor(s.floor);
    const int c = squareCode(t, s.x, s.y);
    if (c == code::Rock || movesOnByForce(c)) return out;
    for (int d = 0; d < 4; ++d) {
      if (!canWalk(t, s.x, s.y, d)) continue;
      const game::Place ahead = game::stepFrom({s.x, s.y}, d);
      out.push_back({s.floor, ahead.x, ahead.y});
    }
    return out;
  }

  static bool canWalk(const game::FloorTables& t, int x, int y, int direction) {
    const int boundary = game::boundaryCode(t, {x, y}, direction);
    return game::boundaryKind(direction, boundary) != game::kWall;
  }

  // Every square reached from `start`.
  std::set<Square> reachedFrom(const Square& start) const {
    std::set<Square> seen{start};
    std::deque<Square> queue{start};
    while (!queue.empty()) {
      const Square s = queue.front();
      queue.pop_front();
      for (const Square& n : next(s)) {
        if (seen.insert(n).second) queue.push_back(n);
      }
    }
    return seen;
  }

  // The reached squares from which the town can be reached again.
  std::set<Square> leadingHome(const std::set<Square>& reached) const {
    std::map<Square, std::vector<Square>> back;
    for (const Square& s : reached) {
      for (const Square& n : next(s)) back[n].push_back(s);
    }
    std::set<Square> home{kTownSquare};
    std::deque<Square> queue{kTownSquare};
    while (!queue.empty()) {
      const Square s = queue.front();
      queue.pop_front();
      for (const Square& p : back[s]) {
        if (home.insert(p).second) queue.push_back(p);
      }
    }
    return home;
  }

 private:
  const SourceFolder& folder_;
};

class ScenarioChecker {
 public:
  explicit ScenarioChecker(const SourceFolder& folder) : folder_(folder), graph_(folder) {}

  std::vector<Finding> run() {
    findings_ = folder_.findings;
    for (const auto& [number, floor] : folder_.floors) {
      findings_.insert(findings_.end(), floor.findings.begin(), floor.findings.end());
    }
    checkDeepestFloor();
    if (auto start = graph_.arrival()) {
      reached_ = graph_.reachedFrom(*start);
      checkReach();
      checkWayBack();
      checkLandings();
    }
    checkQuest();
    return findings_;
  }

 private:
  void add(const Place& where, const std::string& sentence) {
    findings_.push_back({where, sentence});
  }

  Place settingPlace(const std::string& key) const {
    auto found = folder_.scenario.places.find("settings." + key);
    return found == folder_.scenario.places.end() ? folder_.scenario.file : found->second;
  }

  const game::ScenarioTables& tables() const { return folder_.scenario.tables; }

  void checkDeepestFloor() {
    if (folder_.floors.empty()) return;
    const int deepest = folder_.floors.rbegin()->first;
    const double given = tables().Setting(DeepestFloor);
    if (given == deepest) return;
    add(settingPlace("deepest_floor"),
        "deepest_floor is " + Value::of(given).render() + ", but the deepest floor file is " +
            floorSourceName(deepest) + " (the teleport spell and the chests' rare items use it)");
  }

  bool reachedFloor(int number) const {
    auto first = reached_.lower_bound({number, 0, 0});
    return first != reached_.end() && first->floor == number;
  }

  void checkReach() {
    for (const auto& [number, floor] : folder_.floors) {
      if (!floor.drawn) continue;
      if (!reachedFloor(number)) {
        add(floor.place, "nobody reaches floor " + std::to_string(number) +
                             " from the arrival square of floor 1");
        continue;
      }
      for (int x = 0; x < 20; ++x) {
        for (int y = 0; y < 20; ++y) {
          const int c = squareCode(floor.tables, x, y);
          if (!isEventSquare(c) || reached_.count({number, x, y})) continue;
          add(floor.squarePlaces[x][y],
              squareText(x, y) + ": nobody reaches this square (code " + std::to_string(c) + ")");
        }
      }
    }
  }

  void checkWayBack() {
    const std::set<Square> home = graph_.leadingHome(reached_);
    for (const auto& [number, floor] : folder_.floors) {
      if (!floor.drawn || !reachedFloor(number)) continue;
      std::optional<Square> stuck;
      for (const Square& s : reached_) {
        if (s.floor != number || home.count(s)) continue;
        if (squareCode(floor.tables, s.x, s.y) == code::Rock) continue;
        stuck = s;
        break;
      }
      if (!stuck) continue;
      add(floor.squarePlaces[stuck->x][stuck->y],
          squareText(stuck->x, stuck->y) + " of floor " + std::to_string(number) +
              ": from here no way leads back to town (short of a spell)");
    }
  }

  // Stairs, teleports and riddles must land where the party can stand.
  void checkLandings() {
    for (const auto& [number, floor] : folder_.floors) {
      if (!floor.drawn) continue;
      for (int x = 0; x < 20; ++x) {
        for (int y = 0; y < 20; ++y) {
          for (const Square& n : graph_.carried({number, x, y})) {
            checkLanding(floor.squarePlaces[x][y], x, y, n);
          }
        }
      }
    }
  }

  void checkLanding(const Place& where, int x, int y, const Square& landing) {
    if (landing.floor == kTown) return;
    const game::FloorTables& t = *graph_.floor(landing.floor);
    const std::string into = squareText(x, y) + ": leads to " + squareText(landing.x, landing.y) +
                             " of floor " + std::to_string(landing.floor) + ", ";
    if (squareCode(t, landing.x, landing.y) == code::Rock) {
      add(where, into + "which is rock: the party is lost");
      return;
    }
    bool closed = true;
    for (int d = 0; d < 4; ++d)
      closed = closed && !DungeonGraph::canWalk(t, landing.x, landing.y, d);
    if (closed && graph_.next(landing).empty()) {
      add(where, into + "which is walled in on all four sides");
    }
  }

  // ---- the quest ----

  int questItem() const { return rt::toInt32(tables().Setting(QuestItem)); }

  bool identifiable(int item) const {
    if (tables().Setting(NoIdentification) == 1) return true;
    const double price = rt::MOD(tables().ItemTable(item, ItemPriceLow), 10000) +
                         rt::MOD(tables().ItemTable(item, ItemPriceHigh), 10000) * 10000;
    return price != 0;
  }

  void checkQuest() {
    const int quest = questItem();
    if (quest <= 0) return;
    const Place where = settingPlace("quest_item");
    if (!folder_.scenario.words.item.isDefined(quest)) return;  // reported while reading
    if (!identifiable(quest)) {
      add(where,
          "the quest item cannot be identified (the shop identifies nothing of price 0), "
          "so the lord never accepts it; give it a price or set no_identification");
    }
    if (!reached_.empty() && !questItemObtainable(quest)) {
      add(where,
          "nobody can get the quest item: no guardian on a reached square leaves it, no reached "
          "square hides or sells it, and no reached monster's chest holds it");
    }
  }

  bool questItemObtainable(int quest) const {
    std::set<int> monsters;
    for (const Square& s : reached_) {
      if (s.floor == kTown) continue;
      const game::FloorTables& t = *graph_.floor(s.floor);
      const int c = squareCode(t, s.x, s.y);
      const int p0 = parameter(t, s.x, s.y, 0);
      if ((c == code::HiddenItem || c == code::Vendor) && p0 == quest) return true;
      if (c == code::Altar && parameter(t, s.x, s.y, 2) == quest) return true;
      if (isGuardian(c) && guardianLeaves(t, s, c, quest)) return true;
      addEncounterMonsters(s.floor, monsters);
    }
    for (int m : monsters) {
      if (chestMayHold(m, quest)) return true;
    }
    return false;
  }

  bool guardianLeaves(const game::FloorTables& t, const Square& s, int c, int quest) const {
    if (!folder_.scenario.words.monster.isDefined(parameter(t, s.x, s.y, 0))) return false;
    const bool chest =
        c == code::GuardianOnce || c >= code::BattleUnlessKey || parameter(t, s.x, s.y, 1) != 0;
    if (!chest) return false;
    const int last = c >= code::BattleUnlessKey ? 1 : 3;
    for (int l = 1; l <= last; ++l) {
      if (parameter(t, s.x, s.y, l) == quest) return true;
    }
    return false;
  }

  // The monsters of a floor's encounter columns and their companions.
  void addEncounterMonsters(int floor, std::set<int>& monsters) const {
    const auto& t = tables();
    std::deque<int> queue;
    for (int k = 1; k <= 3; ++k) {
      const int low = rt::toInt32(t.FloorEncounter(floor - 1, 2 * k - 1));
      const int high = rt::toInt32(t.FloorEncounter(floor - 1, 2 * k));
      for (int m = std::max(low, 0); m <= std::min(high, 119); ++m) queue.push_back(m);
    }
    while (!queue.empty()) {
      const int m = queue.front();
      queue.pop_front();
      if (!monsters.insert(m).second) continue;
      const int companion = rt::toInt32(rt::INT(t.MonsterTable(m, MonsterCompanion) / 100));
      if (companion > 0 && companion < 120) queue.push_back(companion);
    }
  }

  int treasureClass(int monster, int field) const {
    return rt::toInt32(rt::MOD(rt::INT(tables().MonsterTable(monster, field) / 100), 100));
  }

  // A monster's chest: its gold class must leave one, its item class hold
  // the item in its range with some chance.
  bool chestMayHold(int monster, int item) const {
    const auto& t = tables();
    const int gold = treasureClass(monster, MonsterGold);
    const int k = treasureClass(monster, MonsterTreasure);
    if (gold < 15 || k < 15 || k > 29) return false;
    const int count = rt::toInt32(rt::MOD(t.TreasureTable(k, TreasureItems), 100));
    const int chance = rt::toInt32(rt::INT(t.TreasureTable(k, TreasureItems) / 100));
    const int first = rt::toInt32(rt::INT(t.TreasureTable(k, TreasureFirstItem) / 100));
    return chance > 0 && item >= first && item < first + count;
  }

  const SourceFolder& folder_;
  DungeonGraph graph_;
  std::set<Square> reached_;
  std::vector<Finding> findings_;
};

double settingValue(const SourceFolder& folder, int setting) {
  return folder.scenario.tables.Setting(setting);
}

}  // namespace

const std::vector<SettingRange>& settingRanges() {
  static const std::vector<SettingRange> ranges = {
      {"party_size", PartySize, 1, 8, "the party has places for 8 members"},
      {"front_rank", FrontRank, 1, 8, "the battle draws the ranks of up to 8 members"},
      {"item_slots", ItemSlots, 1, 10, "a character has 10 item slots"},
      {"holy_spell_levels", HolySpellLevels, 0, 9,
       "the character sheet shows the points of 9 spell levels"},
      {"magic_spell_levels", MagicSpellLevels, 0, 9,
       "the character sheet shows the points of 9 spell levels"},
      {"deepest_floor", DeepestFloor, 1, 15, "a scenario has at most 15 floors"},
  };
  return ranges;
}

void checkRanges(const SourceFolder& folder, Problems& problems) {
  const auto& places = folder.scenario.places;
  auto placeOf = [&](const std::string& key) {
    auto found = places.find(key);
    return found == places.end() ? folder.scenario.file : found->second;
  };
  for (const SettingRange& range : settingRanges()) {
    const double value = settingValue(folder, range.setting);
    if (value >= range.low && value <= range.high) continue;
    const std::string raw = "settings.f" + std::to_string(range.setting);
    problems.add(places.count(raw) ? places.at(raw) : placeOf(std::string("settings.") + range.key),
                 std::string(range.key) + " must be between " + Value::of(range.low).render() +
                     " and " + Value::of(range.high).render() + ", not " +
                     Value::of(value).render() + ": " + range.why);
  }
  if (settingValue(folder, FrontRank) > settingValue(folder, PartySize)) {
    problems.add(placeOf("settings.front_rank"),
                 "front_rank is larger than party_size: the front rank is part of the party");
  }
  const auto& t = folder.scenario.tables;
  for (int floor = 1; floor <= kFloors; ++floor) {
    for (int k = 1; k <= 3; ++k) {
      const double low = t.FloorEncounter(floor - 1, 2 * k - 1);
      const double high = t.FloorEncounter(floor - 1, 2 * k);
      if (low <= high) continue;
      const std::string record = "encounter " + std::to_string(floor);
      const std::string column = record + ".column" + std::to_string(k);
      problems.add(places.count(column) ? places.at(column) : placeOf(record),
                   "encounter " + std::to_string(floor) + ": column" + std::to_string(k) +
                       " goes from " + Value::of(low).render() + " down to " +
                       Value::of(high).render() + "; give the lowest monster first");
    }
  }
}

std::vector<Finding> checkScenarioWide(const SourceFolder& folder) {
  std::vector<Finding> findings = ScenarioChecker(folder).run();
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return std::tie(a.where.file, a.where.line) < std::tie(b.where.file, b.where.line);
  });
  return findings;
}

std::vector<std::string> sharedFolderWarnings(const SourceFolder& folder, const fs::path& outdir) {
  std::vector<std::string> warnings;
  if (!fs::is_directory(outdir)) return warnings;
  static const std::regex scenarioFile(R"(([0-9A-Za-z])-S\.DAT)");
  for (const auto& entry : fs::directory_iterator(outdir)) {
    std::smatch match;
    const std::string name = entry.path().filename().string();
    if (!std::regex_match(name, match, scenarioFile) || match[1] == folder.scenario.letter)
      continue;
    warnings.push_back(outdir.string() + " also holds scenario " + match[1].str() +
                       ": message and picture files carry no letter, so the two scenarios "
                       "overwrite each other's; build each into a folder of its own");
  }
  return warnings;
}

}  // namespace kestrun::forge
