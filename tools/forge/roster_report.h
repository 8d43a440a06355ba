#pragma once

#include <ostream>

#include "game_files.h"

namespace kestrun::forge {

// The party and every used slot of a loaded roster, in words, as the roster
// command prints them after its verdict line.
void printRosterReport(const game::ScenarioTables& scenario, const LoadedRoster& roster,
                       std::ostream& out);

}  // namespace kestrun::forge
