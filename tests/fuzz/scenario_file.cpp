// A scenario file of any content, read as the title screen reads it.
#include "game/state/scenario_file.h"

#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "runtime/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kestrun;
  static fuzz::ScratchFile file("F-S.DAT");
  constexpr int kFile = 1;
  game::ScenarioTables tables;
  rt::FileTable files;
  try {
    files.OPEN(file.hold(data, size), rt::FileMode::Input, rt::FileAccess::Read, kFile);
    game::readScenarioTexts(files, kFile, tables);
    game::readScenarioRest(files, kFile, tables);
    files.closeAll();
    game::unscrambleScenario(tables);
  } catch (const rt::RuntimeError&) {
  }
  return 0;
}
