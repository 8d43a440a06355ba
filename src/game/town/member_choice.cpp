#include "game/town/member_choice.h"

#include <optional>

#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/status_panel.h"
#include "game/state/game.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

void showFacilityName(Game& g, int facility, int row) {
  const std::string& name = g.ScenarioText(facility);
  printAt(g, 38 - rt::toInt32(rt::INT(rt::LEN(name) / 2.0)), row, name);
}

int chooseMember(Game& g, const MemberChoiceScreen& screen) {
  if (partySize(g) == 1) return 1;
  g.con.CLS();
  g.con.COLOR(6);
  if (screen.facility != 0) showFacilityName(g, screen.facility, 4);
  g.SysWord(15) = static_cast<float>(screen.panelRow);
  HYOJI(g);
  HYOJI3(g);
  printAt(g, 28, 9, "誰が入りますか ?"_sj);
  if (screen.keyHint) {
    printAt(g, 32, 11, "Hit 0 -");
    g.con.PRINT(static_cast<int16_t>(partySize(g)));
    g.con.PRINT("Key");
  }
  return waitForMemberKey(g);
}

int waitForMemberKey(Game& g) {
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    if (const std::optional<int> position = digitKey(g.KeyAnswer, partySize(g))) return *position;
  }
}

}  // namespace kestrun::game
