// Our bitmap decoder against SDL's, the decoder the game used before it had
// its own: every picture of the sample, the test scenarios and the fuzz
// corpus, and thousands of damaged copies of them, must decode to the same
// pixels or be refused by both. Only this test links SDL's decoder.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "runtime/bitmap.h"

namespace kestrun::rt {
namespace {

namespace fs = std::filesystem;

// What the game showed before: SDL's decoding of a file that passed the
// same header checks, as 0xRRGGBB pixels from the top row.
std::optional<Bitmap> decodedBySdl(const std::vector<uint8_t>& bytes) {
  if (!isSoundBitmap(bytes)) return std::nullopt;
  SDL_Surface* loaded =
      SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
  if (loaded == nullptr) return std::nullopt;
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(loaded);
  if (converted == nullptr) return std::nullopt;
  Bitmap bitmap{converted->w, converted->h, {}};
  for (int y = 0; y < converted->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(
        static_cast<const uint8_t*>(converted->pixels) + y * converted->pitch);
    for (int x = 0; x < converted->w; ++x) bitmap.pixels.push_back(row[x] & 0xFFFFFF);
  }
  SDL_FreeSurface(converted);
  return bitmap;
}

// Empty when both decoders agree, else what differs.
std::string difference(const std::vector<uint8_t>& bytes) {
  const std::optional<Bitmap> theirs = decodedBySdl(bytes);
  const std::optional<Bitmap> ours = decodeBitmap(bytes);
  if (theirs.has_value() != ours.has_value()) {
    return theirs ? "refused, SDL decoded it" : "decoded, SDL refused it";
  }
  if (!ours) return {};
  if (ours->width != theirs->width || ours->height != theirs->height) return "another size";
  for (size_t i = 0; i < ours->pixels.size(); ++i) {
    if (ours->pixels[i] != theirs->pixels[i]) return "pixel " + std::to_string(i) + " differs";
  }
  return {};
}

std::vector<fs::path> pictureFiles() {
  std::vector<fs::path> files;
  for (const char* folder : {"scenarios", "tests/data", "tests/fuzz/corpus/picture"}) {
    for (const auto& entry :
         fs::recursive_directory_iterator(fs::path(KESTRUN_SOURCE_DIR) / folder)) {
      std::string extension = entry.path().extension().string();
      for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (entry.is_regular_file() && extension == ".bmp") files.push_back(entry.path());
    }
  }
  return files;
}

std::vector<uint8_t> contentOf(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

TEST(BitmapReference, EveryPictureDecodesAsSdlDecodedIt) {
  const std::vector<fs::path> files = pictureFiles();
  ASSERT_GE(files.size(), 20u);
  size_t decoded = 0;
  for (const fs::path& path : files) {
    const std::vector<uint8_t> bytes = contentOf(path);
    EXPECT_EQ(difference(bytes), "") << path;
    decoded += decodeBitmap(bytes).has_value();
  }
  // The sample's and the tests' pictures are all sound.
  EXPECT_GE(decoded, files.size() - 1);
}

// Damage in the headers (where the kinds, sizes and tables are declared),
// anywhere in the data, or a cut, must change both decoders alike.
TEST(BitmapReference, DamagedPicturesDecodeAsSdlDecodedThem) {
  std::mt19937 random(19);
  size_t agreed = 0;
  for (const fs::path& path : pictureFiles()) {
    const std::vector<uint8_t> original = contentOf(path);
    for (int copy = 0; copy < 250; ++copy) {
      std::vector<uint8_t> bytes = original;
      for (int hits = 1 + random() % 4; hits > 0; --hits) {
        const size_t at = random() % 3 != 0 ? random() % std::min<size_t>(bytes.size(), 70)
                                            : random() % bytes.size();
        bytes[at] =
            random() % 2 != 0 ? static_cast<uint8_t>(random()) : bytes[at] ^ (1 << random() % 8);
      }
      if (random() % 10 == 0) bytes.resize(random() % bytes.size());
      const std::string found = difference(bytes);
      EXPECT_EQ(found, "") << path << ", damaged copy " << copy;
      if (!found.empty()) return;
      ++agreed;
    }
  }
  EXPECT_GT(agreed, 5000u);
}

}  // namespace
}  // namespace kestrun::rt
