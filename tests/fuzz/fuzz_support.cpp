#include "fuzz_support.h"

#include <iostream>

#include "source_folder.h"

namespace kestrun::fuzz {

const game::ScenarioTables& sampleScenario() {
  static const game::ScenarioTables tables = [] {
    forge::Problems problems;
    forge::SourceFolder folder = forge::loadSourceFolder(KESTRUN_SAMPLE_DIR, problems);
    if (!problems.empty()) {
      for (const auto& line : problems.lines()) std::cerr << line << "\n";
      std::abort();
    }
    return folder.scenario.tables;
  }();
  return tables;
}

}  // namespace kestrun::fuzz
