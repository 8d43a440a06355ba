#include <benchmark/benchmark.h>

#include <vector>

#include "runtime/composite.h"
#include "runtime/font.h"
#include "runtime/graphics.h"
#include "runtime/sjis.h"
#include "runtime/textscreen.h"

namespace {

using namespace kestrun::rt;
using namespace kestrun::rt::literals;

// A dungeon-like frame on the plane under a full screen of mixed text, some
// of it on coloured backgrounds.
void BM_CompositeFullScreen(benchmark::State& state) {
  const Font& font = Font::builtIn();
  GraphicsPlane plane;
  plane.LINE(0, 0, 639, 413, 15, BoxMode::Outline);
  plane.LINE(260, 155, 380, 275, 1, BoxMode::Filled);
  for (int i = 0; i < 40; ++i) plane.LINE(i * 16, 0, 639 - i * 16, 413, 15);

  TextScreen text;
  // 40 bytes: two of them fill a row.
  const std::string half = "ABCDEFGH 012345 "_sj + "ダンジョンの地下一階ｶﾀｶﾅ"_sj;
  for (int row = 0; row < kRows; ++row) {
    text.moveTo(0, row);
    text.setColours(static_cast<uint8_t>(row % 8), row % 3 == 0 ? 1 : 0, false);
    text.write(half + half);
  }

  std::vector<uint32_t> out(kPlaneWidth * kPlaneHeight);
  for (auto _ : state) {
    composite(text, plane, &font, out);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CompositeFullScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
