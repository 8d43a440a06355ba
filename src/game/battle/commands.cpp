#include "game/battle/commands.h"

#include <array>
#include <optional>
#include <string>

#include "game/battle/battle_common.h"
#include "game/battle/command_parts.h"
#include "game/battle/monster_picture.h"
#include "game/character/carried_items.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kMenuCommands = 7;
// Members with more than this are out of the fight for the monsters.
constexpr float kStillStanding = 13000;

int commandRow(int position) {
  return 15 + position;
}

float& commandOf(Game& g, int position) {
  return g.BattleParty(position - 1, Command);
}

void clearCorners(Game& g) {
  for (int row = 2; row <= 11; ++row) {
    blankColumns(g, 0, row, 13);
    blankColumns(g, 66, row, 13);
  }
  rt::GraphicsPlane& plane = g.con.graphics();
  plane.LINE(10, 10, 130, 270, 0, rt::BoxMode::Filled);
  plane.LINE(510, 10, 630, 270, 0, rt::BoxMode::Filled);
}

// The word shown for a member who is out of the fight, if any.
std::optional<std::string> stateWord(const Game& g, float code) {
  if (code == status::Lost) return g.StatusName(8);
  if (code == status::Spirit) return g.StatusName(7);
  if (code == status::Dead) return g.StatusName(6);
  if (code >= status::Petrified) return g.StatusName(5);
  if (digit(code, 2) != 0) return g.StatusName(3);
  if (digit(code, 1) != 0) return g.StatusName(2);
  return std::nullopt;
}

void refreshPartyPanel(Game& g) {
  g.con.COLOR(6);
  const int members = partySize(g);
  for (int p = 1; p <= members; ++p) blankColumns(g, 67, commandRow(p), 12);
  const int lastRow = 15 + rt::toInt32(g.Setting(PartySize));
  for (int row = commandRow(members + 1); row <= lastRow; ++row) blankColumns(g, 0, row, 79);
  for (int group = 0; group < kGroupPlaces; ++group) g.GroupAim(group) = 0;
  for (int p = 1; p <= members; ++p) {
    const int c = memberSlot(g, p);
    printAt(g, 49, commandRow(p),
            g.BattleParty(p - 1, BattleArmourClass) - g.CharRec(c, ArmourModifier));
    if (const auto word = stateWord(g, g.CharRec(c, Status))) printAt(g, 70, commandRow(p), *word);
  }
}

int countStanding(const Game& g) {
  int standing = 0;
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    if (g.CharRec(c, HitPoints) > 0 && g.CharRec(c, Status) < kStillStanding) ++standing;
  }
  return standing;
}

bool isBackRank(const Game& g, int position) {
  return position > g.Setting(FrontRank);
}

bool mayFight(const Game& g, int position) {
  if (!isBackRank(g, position)) return true;
  const int weapon = rt::toInt32(g.BattleParty(position - 1, EquippedWeapon));
  return g.Setting(WeaponRange) == 1 && g.ItemTable(weapon, ItemRegeneration) >= 10000;
}

// Which of commands 1..6 the member may choose, kept from SysWord(FirstCommandAllowed).
void markAllowedCommands(Game& g, int position) {
  const int c = memberSlot(g, position);
  const bool hasHoly = g.CharLong(c, HolyPointsMax) > 0;
  const bool hasMagic = g.CharLong(c, MagicPointsMax) > 0;
  const int surprise = g.Battle.Surprise;
  const std::array<bool, 6> allowed = {
      mayFight(g, position),
      (hasHoly || hasMagic) && !(surprise == 1 && g.Setting(SurpriseStopsSpells) == 1),
      hasHoly,
      (surprise == 0 || g.Setting(SurpriseStopsItems) == 0) && itemNumber(itemSlot(g, c, 1)) != 0,
      true,
      true,
  };
  for (int k = 0; k < 6; ++k) g.SysWord(FirstCommandAllowed + k) = allowed[k] ? 1 : 0;
}

bool isAllowed(const Game& g, int command) {
  return command > 4 || g.SysWord(FirstCommandAllowed + command - 1) == 1;
}

void showMenu(Game& g, int position) {
  static const std::array<std::string, kMenuCommands> lines = {
      "1  直接戦闘  (F key)"_sj,     "2  呪文を唱える  (S)"_sj, "3  解呪を行う  (T)"_sj,
      "4  アイテムを使う  (U)"_sj,   "5  防御に徹する  (G)"_sj, "6  逃走を試みる  (R)"_sj,
      "7  選択をやりなおす  (B)"_sj,
  };
  rt::Console& con = g.con;
  con.COLOR(6);
  printItemsAt(g, 19, 6, {g.CharName(memberSlot(g, position)), " は どうしますか ?"_sj});
  printAt(g, 49, 7, "Hit 1 - 7 Key");
  for (int k = 1; k <= kMenuCommands; ++k) {
    con.COLOR(isAllowed(g, k) ? 6 : 2);
    printAt(g, 27, 7 + k, lines[k - 1]);
  }
  con.COLOR(6);
}

// The command a letter names directly, if it names one.
std::optional<int> letterCommand(char key) {
  switch (key) {
    case 'F':
    case 'f':
      return kFight;
    case 'S':
    case 's':
      return kCast;
    case 'T':
    case 't':
    case 'D':
    case 'd':
      return kDispel;
    case 'U':
    case 'u':
      return kUseItem;
    case 'G':
    case 'g':
    case 'P':
    case 'p':
      return kGuard;
    case 'R':
    case 'r':
      return kRun;
    case 'B':
    case 'b':
      return kStartAgain;
    default:
      return std::nullopt;
  }
}

// Keys until one chooses a command the member may give (or 7). A key with
// no value takes the member's natural command at once.
int readCommand(Game& g, int position) {
  for (;;) {
    const std::string key = g.con.waitKey();
    std::optional<int> command = key.size() == 1 ? letterCommand(key[0]) : std::nullopt;
    if (!command) {
      const double value = rt::VAL(key);
      if (value == 0) return mayFight(g, position) ? kFight : kGuard;
      if (value < 1 || value > kMenuCommands) continue;
      command = rt::toInt32(value);
    }
    if (*command == kStartAgain || isAllowed(g, *command)) return *command;
  }
}

void storeCommand(Game& g, int position, int command) {
  commandOf(g, position) = static_cast<float>(command);
  const char* label = nullptr;
  switch (command) {
    case kFight:
      label = "Fight";
      break;
    case kDispel:
      label = "Turning";
      break;
    case kGuard:
      label = "Guard";
      break;
    case kRun:
      label = "Escape";
      break;
    default:
      break;
  }
  if (label != nullptr) printAt(g, 69, commandRow(position), std::string(label));
  if (command == kRun) g.Battle.RunChosen = true;
  blankArea(g, 12, 5, 15, 56);
}

// One member's command with what it needs; false when the player wants the
// whole party's input again.
bool askMember(Game& g, int position) {
  for (;;) {
    blankArea(g, 12, 6, 15, 56);
    if (g.Battle.RunChosen) {
      storeCommand(g, position, kRun);
      return true;
    }
    markAllowedCommands(g, position);
    showMenu(g, position);
    const int command = readCommand(g, position);
    if (command == kStartAgain) return false;
    storeCommand(g, position, command);
    switch (command) {
      case kFight:
      case kDispel:
        chooseGroup(g, position, command);
        return true;
      case kCast:
        if (chooseSpell(g, position)) return true;
        break;
      case kUseItem:
        if (chooseItem(g, position)) return true;
        break;
      default:
        return true;
    }
  }
}

// Every member in marching order; false when the input starts again.
bool askEveryMember(Game& g) {
  g.Battle.RunChosen = false;
  for (int p = 1; p <= partySize(g); ++p) {
    if (!isAbleToAct(g, memberSlot(g, p))) {
      commandOf(g, p) = kNoCommand;
      continue;
    }
    if (!askMember(g, p)) return false;
  }
  return true;
}

bool confirmed(Game& g) {
  blankArea(g, 12, 6, 15, 56);
  printAt(g, 27, 8, "よろしいですか　?"_sj);
  printAt(g, 32, 11, "Hit Y - N Key");
  for (;;) {
    const std::string key = g.con.waitKey();
    if (key == "N" || key == "n" || key == "-") return false;
    if (key == "Y" || key == "y" || key == "\r" || key == "+") break;
  }
  blankArea(g, 12, 8, 11, 56);
  return true;
}

}  // namespace

void startOfTurn(Game& g) {
  clearCorners(g);
  for (int group = 0; group < kGroupPlaces; ++group) {
    rollGroupIdentification(g, group);
    if (g.GroupCount(group) > 0) showGroupPicture(g, group);
  }
  drawGroupList(g);
  g.Battle.MudPenalty = partyStandsInMud(g) ? 1 : 0;
}

void chooseCommands(Game& g) {
  for (;;) {
    refreshPartyPanel(g);
    g.Battle.AliveCount = countStanding(g);
    if (g.Battle.Surprise == 2) {
      for (int p = 1; p <= partySize(g); ++p) commandOf(g, p) = kNoCommand;
      return;
    }
    if (askEveryMember(g) && confirmed(g)) return;
  }
}

}  // namespace kestrun::game
