// A scenario.toml of any content: the forge reports its problems, or reads
// the scenario's tables.
#include <cstddef>
#include <cstdint>
#include <string>

#include "scenario_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kestrun::forge;
  Problems problems;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (const auto file = SourceFile::fromText(text, "scenario.toml", problems)) {
    readScenarioSource(*file, problems);
  }
  return 0;
}
