#include "game/town/facility_screen.h"

#include <cstdint>

#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/status_panel.h"
#include "game/state/game.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

void showFacilityTitle(Game& g, int facility, int row) {
  const std::string& name = g.ScenarioText(facility);
  printAt(g, 38 - rt::toInt32(rt::INT(rt::LEN(name) / 2.0)), row, name);
}

void showNumberedParty(Game& g, int panelRow) {
  g.SysWord(PanelRow) = static_cast<float>(panelRow);
  HYOJI(g);
  HYOJI3(g);
}

int askWhoComesIn(Game& g, bool withKeyHint) {
  printAt(g, 28, 9, "誰が入りますか ?"_sj);
  if (withKeyHint) {
    printAt(g, 32, 11, "Hit 0 -");
    g.con.PRINT(static_cast<int16_t>(partySize(g)));
    g.con.PRINT("Key");
  }
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    if (const auto position = digitKey(g.KeyAnswer, partySize(g))) return *position;
  }
}

int chooseVisitor(Game& g, std::optional<int> titleFacility) {
  if (partySize(g) == 1) return 1;
  g.con.CLS();
  if (titleFacility) showFacilityTitle(g, *titleFacility, 4);
  showNumberedParty(g, 15);
  return askWhoComesIn(g, true);
}

}  // namespace kestrun::game
