#pragma once

#include <string>

namespace kestrun::app {

// Whether a roster file may replace the saved one of a scenario: it must read
// as a roster, belong to that scenario and carry sound checksums, as the game
// demands when it loads it. Returns what is wrong in one sentence, or nothing.
std::string rosterProblem(const std::string& scenarioFile, const std::string& rosterFile);

}  // namespace kestrun::app
