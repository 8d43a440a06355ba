// A roster file of any content, read and checked against the sample
// scenario as the title screen does, then reported as the forge's roster
// command reports it.
#include "game/state/roster_file.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>

#include "fuzz_support.h"
#include "roster_report.h"
#include "runtime/errors.h"

namespace {

// Swallows the report; only its making matters here.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kestrun;
  static fuzz::ScratchFile file("F-C.DAT");
  static NullBuffer nothing;
  static std::ostream report(&nothing);
  const game::ScenarioTables& scenario = fuzz::sampleScenario();
  constexpr int kFile = 1;
  forge::LoadedRoster roster;
  rt::FileTable files;
  try {
    files.OPEN(file.hold(data, size), rt::FileMode::Input, rt::FileAccess::Read, kFile);
    game::readRoster(files, kFile, roster.tables, roster.seal);
    files.closeAll();
    const game::RosterLinks links = game::unscrambleRoster(roster.tables, roster.seal);
    roster.verdict = game::checkRoster(roster.tables, links, scenario.ScenarioId(0));
    forge::printRosterReport(scenario, roster, report);
  } catch (const rt::RuntimeError&) {
  }
  return 0;
}
