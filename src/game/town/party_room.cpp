#include "game/town/party_room.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "game/character/battle_values.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/party/character_actions.h"
#include "game/spells/catalogue.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kAvailable = 6;
constexpr int kUnavailable = 2;
constexpr int kNumbers = 3;
constexpr int kChosenNumbers = 7;
constexpr int kGood = 1;
constexpr int kEvil = 3;

int maximumPartySize(const Game& g) {
  return rt::toInt32(g.Setting(PartySize));
}
bool alignmentsUsed(const Game& g) {
  return g.Setting(AlignmentsUsed) == 1;
}

// Whether slot c holds one of the first Setting(PartySize) positions, as the
// waiting list counts membership.
bool holdsPartyPosition(const Game& g, int c) {
  const int positions = std::min(maximumPartySize(g), 8);
  for (int p = 1; p <= positions; ++p) {
    if (g.GameState(p) == c + 1) return true;
  }
  return false;
}

// Sound (not even poisoned), in town and not in the party, in slot order.
std::vector<int> waitingCharacters(const Game& g) {
  std::vector<int> waiting;
  for (int c = 0; c < kRosterSlots; ++c) {
    if (g.CharRec(c, Status) == status::Normal && isInTown(g, c) && !holdsPartyPosition(g, c))
      waiting.push_back(c);
  }
  return waiting;
}

void showWaitingNumbers(Game& g, int count, int colour) {
  g.con.COLOR(colour);
  for (int n = 1; n <= count; ++n) {
    g.con.LOCATE(0, n);
    g.con.PRINT_USING("##", {static_cast<int16_t>(n)});
  }
}

void showMemberNumbers(Game& g, int colour) {
  g.con.COLOR(colour);
  for (int k = 1; k <= partySize(g); ++k) {
    g.con.LOCATE(45, 2 * k + 2);
    g.con.PRINT_USING("##", {static_cast<int16_t>(k)});
  }
}

// Where a list puts a character's name, class (cut to a width), alignment
// letter and hit points.
struct LineLayout {
  int nameColumn;
  int classWidth;
  int alignmentColumn;
  int hitPointColumn;
};
constexpr LineLayout kWaitingLine{3, 8, 23, 33};
constexpr LineLayout kMemberLine{48, 6, 66, 69};

// The class name gives up two bytes to the alignment letter when alignments
// are used.
void showCharacterLine(Game& g, int c, int row, const LineLayout& layout) {
  rt::Console& con = g.con;
  printAt(g, layout.nameColumn, row, g.CharName(c));
  const int width = alignmentsUsed(g) ? layout.classWidth - 2 : layout.classWidth;
  printAt(g, layout.nameColumn + 13, row, rt::LEFT(g.ClassName(classOf(g, c)), width));
  if (alignmentsUsed(g)) {
    printAt(g, layout.alignmentColumn, row, g.AlignmentLetter(alignmentOf(g, c)));
  }
  con.LOCATE(layout.hitPointColumn, row);
  con.PRINT_USING("####@", {g.CharRec(c, HitPoints), std::string(" /")});
  printAt(g, layout.hitPointColumn + 6, row, g.CharRec(c, MaxHitPoints));
}

void showWaitingCharacter(Game& g, int c, int row) {
  showCharacterLine(g, c, row, kWaitingLine);
  g.con.LOCATE(26, row);
  g.con.PRINT_USING("@###", {std::string("LV."), static_cast<int16_t>(levelOf(g, c))});
}

void showMember(Game& g, int k) {
  showCharacterLine(g, memberSlot(g, k), 2 * k + 2, kMemberLine);
}

void drawRoom(Game& g, const std::vector<int>& waiting) {
  rt::Console& con = g.con;
  CCHEC3(g);
  con.CLS();
  con.graphics().LINE(0, 17, 360, 380, 9, rt::BoxMode::Outline);
  con.graphics().LINE(362, 63, 639, 62 + 36.0 * g.Setting(PartySize), 11, rt::BoxMode::Outline);
  con.COLOR(7);
  printAt(g, 3, 0, "待機中のキャラクター"_sj);
  printAt(g, 49, 2, "パーティー参加のキャラクター"_sj);
  showWaitingNumbers(g, static_cast<int>(waiting.size()), kNumbers);
  con.COLOR(6);
  printAt(g, 40 - rt::toInt32(rt::INT(rt::LEN(g.ScenarioText(1)) / 2.0)), 0, g.ScenarioText(1));
  for (size_t n = 0; n < waiting.size(); ++n) {
    showWaitingCharacter(g, waiting[n], static_cast<int>(n) + 1);
  }
  if (partySize(g) == 0) return;
  showMemberNumbers(g, kNumbers);
  con.COLOR(6);
  for (int k = 1; k <= partySize(g); ++k) showMember(g, k);
}

void option(Game& g, int column, int row, bool available, const std::string& text) {
  g.con.COLOR(available ? kAvailable : kUnavailable);
  printAt(g, column, row, text);
}

void drawOptions(Game& g, int waitingCount) {
  const bool party = partySize(g) > 0;
  blankColumns(g, 0, 22, 79);
  option(g, 4, 22, party, "1 キャラクターを見る"_sj);
  showWaitingNumbers(g, waitingCount, kNumbers);
  option(g, 29, 22, waitingCount > 0 && partySize(g) < maximumPartySize(g),
         "2 パーティーに加える"_sj);
  option(g, 54, 22, party, "3 パーティーからはずす"_sj);
  g.con.COLOR(6);
  printAt(g, 4, 23, "4 呪文の効果を見る       5 表示時間を変更する     0 外に出る"_sj);
  g.con.COLOR(4);
  printAt(g, 66, 23, "Hit 0 - 5 Key");
}

bool partyHasAlignment(const Game& g, int alignment) {
  for (int p = 1; p <= partySize(g); ++p) {
    if (alignmentOf(g, memberSlot(g, p)) == alignment) return true;
  }
  return false;
}

// Good and evil do not mix unless the scenario allows it; neutral
// characters always may join.
bool mayJoin(const Game& g, int c) {
  if (!alignmentsUsed(g) || g.Setting(MixedAlignments) == 1) return true;
  const int alignment = alignmentOf(g, c);
  if (alignment == kGood) return !partyHasAlignment(g, kEvil);
  if (alignment == kEvil) return !partyHasAlignment(g, kGood);
  return true;
}

// True when a character joined; false when the player went back.
bool addMember(Game& g, const std::vector<int>& waiting) {
  const int count = static_cast<int>(waiting.size());
  g.con.COLOR(6);
  blankLines(g, 21, 23);
  for (;;) {
    const double answer = askNumber(g, 19, 22, "誰をパーティーに加えますか ?　"_sj);
    if (answer < 0 || answer > count) continue;
    const int n = rt::toInt32(rt::INT(answer));
    if (n == 0) return false;
    if (!mayJoin(g, waiting[n - 1])) continue;
    joinParty(g, waiting[n - 1]);
    return true;
  }
}

// True when a member left; false when the player went back.
bool removeMember(Game& g) {
  rt::Console& con = g.con;
  showMemberNumbers(g, kChosenNumbers);
  con.COLOR(6);
  blankLines(g, 21, 23);
  printAt(g, 19, 22, "誰をパーティーからはずしますか ?"_sj);
  printAt(g, 23, 23, "Hit 0 -");
  con.PRINT(static_cast<int16_t>(partySize(g)));
  con.PRINT("Key");
  std::optional<int> k;
  while (!(k = digitKey(con.waitKey(), partySize(g)))) {
  }
  if (*k == 0) {
    showMemberNumbers(g, kNumbers);
    return false;
  }
  const int c = memberSlot(g, *k);
  g.CharRec(c, LevelAndFloor) = static_cast<float>(levelOf(g, c));
  g.CharRec(c, LeftAt) = 0;
  leaveParty(g, *k);
  return true;
}

enum class RoomStep { Redraw, Leave };

RoomStep handleKeys(Game& g, const std::vector<int>& waiting) {
  const int count = static_cast<int>(waiting.size());
  const bool party = partySize(g) > 0;
  drawOptions(g, count);
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    const std::optional<int> key = digitKey(g.KeyAnswer, 5);
    if (!key) continue;
    switch (*key) {
      case 0:
        return RoomStep::Leave;
      case 1:
        if (!party) break;
        showMemberNumbers(g, kChosenNumbers);
        CCHEC3(g);
        CHARA(g);
        return RoomStep::Redraw;
      case 2:
        if (partySize(g) >= maximumPartySize(g)) break;
        if (count == 0) break;
        showWaitingNumbers(g, count, kChosenNumbers);
        if (addMember(g, waiting)) return RoomStep::Redraw;
        drawOptions(g, count);
        break;
      case 3:
        if (!party) break;
        if (removeMember(g)) return RoomStep::Redraw;
        drawOptions(g, count);
        break;
      case 4:
        SPR(g);
        return RoomStep::Redraw;
      case 5:
        TWC(g);
        return RoomStep::Redraw;
    }
  }
}

}  // namespace

void PartyRoom(Game& g) {
  for (;;) {
    const std::vector<int> waiting = waitingCharacters(g);
    drawRoom(g, waiting);
    if (waiting.empty() && partySize(g) == 0) return;
    if (handleKeys(g, waiting) == RoomStep::Leave) return;
  }
}

}  // namespace kestrun::game
