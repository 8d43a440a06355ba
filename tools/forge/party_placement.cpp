#include "party_placement.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "game/state/fields.h"
#include "game/state/packed.h"

namespace kestrun::forge {

namespace {

constexpr int kMostMembers = 8;
const char* const kFacings[4] = {"north", "east", "south", "west"};

std::optional<int> wholeNumber(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 3)
    return std::nullopt;
  return std::stoi(text);
}

std::optional<int> facingOf(const std::string& text) {
  for (int f = 0; f < 4; ++f) {
    if (text == kFacings[f]) return f;
  }
  const std::optional<int> number = wholeNumber(text);
  if (number && *number < 4) return number;
  return std::nullopt;
}

int partyMembers(const game::RosterTables& r) {
  return static_cast<int>(r.GameState(game::MemberCount));
}

// The first sound characters in town, up to `count`.
void formParty(game::RosterTables& r, int count) {
  int members = 0;
  for (int slot = 0; slot < game::kRosterSlots && members < count; ++slot) {
    if (game::isEmptySlot(r, slot) || !game::isInTown(r, slot) ||
        !game::hasSoundStatus(r.CharRec(slot, game::Status)))
      continue;
    ++members;
    r.GameState(game::FirstMember + members - 1) = static_cast<float>(slot + 1);
  }
  r.GameState(game::MemberCount) = static_cast<float>(members);
}

}  // namespace

std::optional<Spot> parseSpot(const std::string& text, std::string& problem) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, ',');) parts.push_back(part);
  problem = "--at takes FLOOR,X,Y or FLOOR,X,Y,FACING, not \"" + text + "\"";
  if (parts.size() != 3 && parts.size() != 4) return std::nullopt;
  const auto floor = wholeNumber(parts[0]), x = wholeNumber(parts[1]), y = wholeNumber(parts[2]);
  if (!floor || !x || !y) return std::nullopt;
  if (*floor < 1 || *floor > 15) {
    problem = "--at: floors are numbered 1 to 15";
    return std::nullopt;
  }
  if (*x > 19 || *y > 19) {
    problem = "--at: x and y are 0 to 19";
    return std::nullopt;
  }
  Spot spot{*floor, *x, *y, 0};
  if (parts.size() == 4) {
    const auto facing = facingOf(parts[3]);
    if (!facing) {
      problem = "--at: the facing is north, east, south, west or 0 to 3, not \"" + parts[3] + "\"";
      return std::nullopt;
    }
    spot.facing = *facing;
  }
  problem.clear();
  return spot;
}

std::string placeParty(game::RosterTables& r, const Spot& at, int partySize) {
  const int members = partyMembers(r);
  if (members < 1 || members > kMostMembers) {
    formParty(r, std::clamp(partySize, 1, kMostMembers));
    if (partyMembers(r) == 0)
      return "the roster has neither a party nor a sound character in town to form one";
  }
  const float floorAndFacing = static_cast<float>(at.floor * 100 + at.facing);
  const float square = static_cast<float>(at.x * 100 + at.y);
  r.GameState(game::FloorAndFacing) = r.GameState(game::PreviousFloorAndFacing) = floorAndFacing;
  r.GameState(game::Square) = r.GameState(game::PreviousSquare) = square;
  for (int p = 0; p < partyMembers(r); ++p) {
    const int slot = static_cast<int>(r.GameState(game::FirstMember + p)) - 1;
    if (slot < 0 || slot >= game::kRosterSlots) return "the roster's party names an empty slot";
    r.CharRec(slot, game::LevelAndFloor) =
        static_cast<float>(at.floor * 1000 + game::levelOf(r, slot));
    r.CharRec(slot, game::LeftAt) = static_cast<float>(at.facing * 10000 + at.x * 100 + at.y);
  }
  return {};
}

bool isPartyInDungeon(const game::RosterTables& r) {
  return partyMembers(r) > 0 && std::floor(r.GameState(game::FloorAndFacing) / 100) >= 1;
}

}  // namespace kestrun::forge
