#include "floor_plan.h"

#include <cmath>
#include <map>

#include "game/dungeon/square_events.h"
#include "game/dungeon/view_slots.h"
#include "runtime/sjis.h"

namespace kestrun::forge::plan {

namespace sq = game::square;

const char* const kWrapNote =
    "The floor wraps: a party leaving it where an outer edge is open (dashed) comes in at the "
    "opposite edge.";

namespace {

const char* const kFacingNames[4] = {"north", "east", "south", "west"};
const char* const kStatNames[8] = {"strength", "health",    "knowledge", "faith",
                                   "agility",  "dexterity", "luck",      "charm"};

int codeOf(float value) {
  return static_cast<int>(std::fmod(value, 100.0f));
}

int parameterOf(float value) {
  return static_cast<int>(std::floor(value / 100));
}

std::string hex(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", n);
  return text;
}

Passage passageOf(int kind) {
  switch (kind) {
    case game::kOpen:
      return Passage::Open;
    case game::kDoor:
      return Passage::Door;
    case game::kOneSideWall:
      return Passage::Hidden;
    default:
      return Passage::Wall;
  }
}

// A boundary crossed looking `ahead` one way and `back` the other.
Boundary boundaryOf(float value, int ahead, int back) {
  const int code = codeOf(value);
  return {passageOf(game::boundaryKind(ahead, code)), passageOf(game::boundaryKind(back, code)),
          code};
}

struct SymbolOf {
  const char* symbol;
  Family family;
  const char* meaning;
};

// The plan's symbol of each square code that has an event.
const std::map<int, SymbolOf>& squareSymbols() {
  static const std::map<int, SymbolOf> symbols = {
      {sq::Rock, {"X", Family::Other, "rock: a party that lands here is lost"}},
      {sq::Elevator, {"E", Family::Stairs, "elevator"}},
      {sq::Pit, {"P", Family::Trap, "pit"}},
      {sq::Spinner, {"@", Family::Trap, "spinner: a random new facing"}},
      {sq::NoSpells, {"A", Family::Other, "spells have no effect"}},
      {sq::Dark, {"", Family::None, "dark square (shaded)"}},
      {sq::StairsUp, {"U", Family::Stairs, "stairs up"}},
      {sq::StairsDown, {"D", Family::Stairs, "stairs down"}},
      {sq::Teleport, {"T", Family::Teleport, "teleport"}},
      {sq::Guardian, {"G", Family::Battle, "guardian"}},
      {sq::HiddenItem, {"I", Family::Item, "hidden item"}},
      {sq::TeleportUnlessKey, {"T", Family::Teleport, "teleport"}},
      {sq::Altar, {"L", Family::Place, "altar"}},
      {sq::Fountain, {"F", Family::Place, "fountain"}},
      {sq::Search, {"S", Family::Battle, "something to search: a guardian"}},
      {sq::TeleportIfKey, {"T", Family::Teleport, "teleport"}},
      {sq::Mud, {"M", Family::Trap, "mud (a message only)"}},
      {sq::TeleportUnlessFloating, {"T", Family::Teleport, "teleport"}},
      {sq::Message, {"m", Family::Message, "message (a floor text)"}},
      {sq::GuardianToo, {"G", Family::Battle, "guardian"}},
      {sq::Battle, {"B", Family::Battle, "battle every time"}},
      {sq::Picture, {"g", Family::Message, "picture"}},
      {sq::FloorGuardian, {"G", Family::Battle, "guardian"}},
      {sq::Vendor, {"V", Family::Place, "vendor"}},
      {sq::Riddle, {"Q", Family::Message, "riddle"}},
      {sq::Rockfall, {"R", Family::Trap, "rockfall"}},
      {sq::PoisonPool, {"%", Family::Trap, "poison"}},
      {sq::PoisonMist, {"%", Family::Trap, "poison"}},
      {sq::GuardianUnlessKey, {"G", Family::Battle, "guardian"}},
      {sq::GuardianIfKey, {"G", Family::Battle, "guardian"}},
      {sq::MessageFile, {"c", Family::Message, "message file"}},
  };
  return symbols;
}

std::string trimmedText(const std::string& sjis) {
  std::string text = rt::toUtf8(sjis);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return text;
}

// Describes one square's event from its four layers.
class SquareWords {
 public:
  SquareWords(const game::FloorTables& f, int floor, int x, int y, const Names& names)
      : f_(f), floor_(floor), x_(x), y_(y), names_(names) {
    for (int k = 0; k < 4; ++k) p_[k] = parameterOf(f.FloorMap(x, y, k));
  }

  std::string describe(int code) const {
    switch (code) {
      case sq::Rock:
        return "rock: a party that lands here is lost";
      case sq::Elevator:
        return "elevator between floors " + std::to_string(p_[0]) + " and " + std::to_string(p_[1]);
      case sq::Pit:
        return "pit (damage)";
      case sq::Spinner:
        return "spinner: a random new facing";
      case sq::NoSpells:
        return p_[0] == 0 ? "spells have no effect here, and on the whole floor once stepped on"
                          : "spells have no effect here";
      case sq::StairsUp:
        if (floor_ == 1) return "stairs up to the town; the party arrives from town here";
        return "stairs up to floor " + std::to_string(floor_ - 1) + " " + arrival();
      case sq::StairsDown:
        return "stairs down to floor " + std::to_string(floor_ + 1) + " " + arrival();
      case sq::Teleport:
        return "teleport " + destination();
      case sq::TeleportUnlessKey:
        return "teleport " + destination() + " unless the party carries " + names_.item(p_[3]);
      case sq::TeleportIfKey:
        return "teleport " + destination() + " only if the party carries " + names_.item(p_[3]);
      case sq::TeleportUnlessFloating:
        return "teleport " + destination() + " unless the party levitates";
      case sq::Guardian:
      case sq::GuardianToo:
        return "guardian " + names_.monster(p_[0]) + ", every time" + guarded(3);
      case sq::Search:
        return "something to search: guardian " + names_.monster(p_[0]) + guarded(3);
      case sq::FloorGuardian:
        return "guardian " + names_.monster(p_[0]) + " until beaten once on this floor" +
               guarded(3);
      case sq::GuardianUnlessKey:
        return "guardian " + names_.monster(p_[0]) + " unless the party carries " +
               names_.item(p_[3]) + guarded(1);
      case sq::GuardianIfKey:
        return "guardian " + names_.monster(p_[0]) + " only if the party carries " +
               names_.item(p_[3]) + guarded(1);
      case sq::HiddenItem:
        return "hidden item " + names_.item(p_[0]) + ", found once";
      case sq::Vendor:
        return "vendor of " + names_.item(p_[0]) + " for " +
               std::to_string(p_[1] * 10000 + p_[2] * 100 + p_[3]) + " gold";
      case sq::Altar:
        return "altar: offering " + names_.item(p_[1]) + " gives " + names_.item(p_[2]);
      case sq::Fountain:
        return "fountain: " + fountainEffect();
      case sq::Mud:
        return "mud (a message only)";
      case sq::Message:
        return "message: text " + std::to_string(p_[0] % 10) + " \"" + floorText(p_[0] % 10) +
               "\"" + facings();
      case sq::Riddle:
        return riddle();
      case sq::Battle:
        return "battle every time";
      case sq::Picture:
        return "picture " + hex(p_[0]) + "G.BMP" + facings();
      case sq::MessageFile:
        return "message file " + hex(p_[0]) + "C.DAT" + facings();
      case sq::Rockfall:
        return "rockfall (damage)";
      case sq::PoisonPool:
        return "poison pool";
      case sq::PoisonMist:
        return "poison mist";
      default:
        return "code " + std::to_string(code) + ": no event";
    }
  }

 private:
  std::string arrival() const { return "at " + placeText(p_[1], p_[2]); }

  std::string destination() const {
    if (p_[0] == 0) return "to the town";
    const std::string where = placeText(p_[1], p_[2]);
    return p_[0] == floor_ ? "to " + where : "to floor " + std::to_string(p_[0]) + " " + where;
  }

  // The items a guardian leaves: p1, then (for `count` 3) p2 and p3.
  std::string guarded(int count) const {
    std::string items;
    for (int k = 1; k <= count; ++k) {
      if (p_[k] != 0) items += (items.empty() ? "" : ", ") + names_.item(p_[k]);
    }
    return items.empty() ? "" : ", guarding " + items;
  }

  std::string facings() const {
    std::string list;
    for (int facing = 0; facing < 4; ++facing) {
      if (game::facesDirectionSet(p_[1], facing))
        list += (list.empty() ? "" : ", ") + std::string(kFacingNames[facing]);
    }
    if (p_[1] == 0) return "";
    return list.empty() ? " (never: facing set " + std::to_string(p_[1]) + ")"
                        : " (facing " + list + ")";
  }

  std::string floorText(int line) const {
    if (line < 1 || line > 5) return "(no such text)";
    return trimmedText(f_.FloorText(line - 1));
  }

  std::string riddle() const {
    const int rightX = static_cast<int>(std::floor(f_.FloorMap(x_, y_, 0) / 1000));
    const int rightY = static_cast<int>(std::floor(f_.FloorMap(x_, y_, 1) / 1000));
    return "riddle \"" + floorText(p_[0] % 10) + "\", answer \"" + floorText(p_[1] % 10) +
           "\": right to " + placeText(rightX, rightY) + ", wrong to " + placeText(p_[2], p_[3]);
  }

  std::string change() const {
    switch (p_[2]) {
      case 1:
        return "raised";
      case 2:
        return "lowered";
      case 3:
        return "raised or lowered";
      default:
        return "changed (" + std::to_string(p_[2]) + ")";
    }
  }

  std::string fountainEffect() const {
    const int effect = p_[0];
    if (effect >= 1 && effect <= 8)
      return std::string(kStatNames[effect - 1]) + " " + change() + " by " + std::to_string(p_[1]);
    switch (effect) {
      case 9:
        return p_[2] < 2 ? "class becomes " + std::to_string(p_[3]) : "class changes at random";
      case 10:
        return "age " + change() + " by " + std::to_string(p_[1]) + " years";
      case 11:
        return p_[2] == 1 ? "alignment becomes " + std::to_string(p_[3])
                          : "alignment changes at random";
      case 12:
        return "hit points restored";
      case 13:
        return "spell points restored";
      case 14:
        return p_[2] == 1 ? "status becomes " + std::to_string(p_[3]) : "a random status";
      default:
        return "no effect (" + std::to_string(effect) + ")";
    }
  }

  const game::FloorTables& f_;
  int floor_, x_, y_;
  const Names& names_;
  int p_[4];
};

std::string alignmentRule(int rule) {
  switch (rule) {
    case 1:
      return "only good characters may stay on this floor (others send the party home)";
    case 2:
      return "only neutral characters may stay on this floor (others send the party home)";
    case 3:
      return "only evil characters may stay on this floor (others send the party home)";
    case 4:
      return "evil characters send the party home from this floor";
    case 5:
      return "good characters send the party home from this floor";
    case 6:
      return "neutral characters send the party home from this floor";
    default:
      return "";
  }
}

std::vector<std::string> headerNotes(const game::FloorTables& f) {
  std::vector<std::string> notes;
  if (f.FloorHeader(0) == 1) notes.push_back("spells have no effect anywhere on this floor");
  if (f.FloorHeader(1) == 2) notes.push_back("the map view refuses this floor");
  const std::string rule = alignmentRule(static_cast<int>(f.FloorHeader(3)));
  if (!rule.empty()) notes.push_back(rule);
  return notes;
}

}  // namespace

Passage Boundary::kind() const {
  return static_cast<int>(forward) < static_cast<int>(backward) ? forward : backward;
}

std::string Names::item(int number) const {
  const std::string name =
      number >= 0 && number <= 120 ? trimmedText(scenario_.ItemName(number, 0)) : "";
  return name.empty() ? "item " + std::to_string(number)
                      : name + " (item " + std::to_string(number) + ")";
}

std::string Names::monster(int number) const {
  const std::string name =
      number >= 0 && number < 120 ? trimmedText(scenario_.MonsterName(number, 0)) : "";
  return name.empty() ? "monster " + std::to_string(number)
                      : name + " (monster " + std::to_string(number) + ")";
}

std::string placeText(int x, int y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

int oneWayDirection(const Boundary& b, bool southBoundary) {
  const bool forwardEasier = static_cast<int>(b.forward) < static_cast<int>(b.backward);
  if (southBoundary) return forwardEasier ? 0 : 2;
  return forwardEasier ? 1 : 3;
}

FloorPlan makePlan(const game::FloorTables& f, int number, const std::string& title,
                   const Names& names) {
  FloorPlan plan;
  plan.floor = number;
  plan.title = title;
  plan.notes = headerNotes(f);
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) {
      plan.west[x][y] = boundaryOf(f.FloorMap(x, y, 1), 1, 3);
      plan.south[x][y] = boundaryOf(f.FloorMap(x, y, 2), 0, 2);
      Square& s = plan.squares[x][y];
      s.code = codeOf(f.FloorMap(x, y, 0));
      s.encounterMark = codeOf(f.FloorMap(x, y, 3));
      s.dark = s.code == sq::Dark;
      s.rock = s.code == sq::Rock;
      if (s.code == sq::Nothing || s.dark) continue;
      const auto found = squareSymbols().find(s.code);
      s.symbol = found == squareSymbols().end() ? "?" : found->second.symbol;
      s.family = found == squareSymbols().end() ? Family::Other : found->second.family;
      s.description = SquareWords(f, number, x, y, names).describe(s.code);
    }
  }
  return plan;
}

std::vector<KeyEntry> symbolKey(const FloorPlan& plan) {
  std::map<std::string, KeyEntry> bySymbol;
  std::vector<std::string> order;
  auto add = [&](const std::string& symbol, Family family, const std::string& meaning) {
    if (bySymbol.emplace(symbol, KeyEntry{symbol, family, meaning}).second) order.push_back(symbol);
  };
  std::map<int, bool> codes;
  bool battleSquares = false, markedSquares = false;
  for (const auto& column : plan.squares) {
    for (const Square& s : column) {
      if (s.code != 0) codes[s.code] = true;
      battleSquares |= s.encounterMark == 1;
      markedSquares |= s.encounterMark > 1;
    }
  }
  for (const auto& [code, used] : codes) {
    const auto found = squareSymbols().find(code);
    if (found == squareSymbols().end()) {
      add("?", Family::Other, "a code without an event");
    } else if (code != sq::Dark && code != sq::Rock) {
      add(found->second.symbol, found->second.family, found->second.meaning);
    }
  }
  if (battleSquares) add("!", Family::Battle, "battle square: a battle after every step");
  if (markedSquares) add("$", Family::Battle, "random encounters here are of the second kind");
  std::vector<KeyEntry> key;
  for (const std::string& symbol : order) key.push_back(bySymbol.at(symbol));
  return key;
}

}  // namespace kestrun::forge::plan
