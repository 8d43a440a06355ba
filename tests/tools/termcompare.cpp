// Compares what a terminal window shows with the game's own picture: the
// window's image is taken from the X server, each of its pixels inside the
// given part of the game's 640 x 432 plane is traced back to the game pixel
// it shows (the terminal's cells may be larger than 8 x 18; the game scales
// its images to them, nearest pixel first) and the colours are compared.
//
//   kestrun_termcompare WINDOW-ID COLUMNS ROWS BORDER GAME.png X1 Y1 X2 Y2 [SHOT.ppm]
//
// X1..X2 and Y1..Y2 are game pixels, whole cells (multiples of 8 and 18).
// Prints how many of the compared pixels differ; exits 1 when any does.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

int channelDistance(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int shift : {16, 8, 0}) {
    worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                     static_cast<int>((b >> shift) & 0xFF)));
  }
  return worst;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 10) {
    std::fprintf(stderr,
                 "usage: termcompare WINDOW COLUMNS ROWS BORDER GAME.png X1 Y1 X2 Y2 [SHOT.ppm]\n");
    return 2;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const int columns = std::atoi(argv[2]);
  const int rows = std::atoi(argv[3]);
  const int border = std::atoi(argv[4]);
  const int x1 = std::atoi(argv[6]), y1 = std::atoi(argv[7]);
  const int x2 = std::atoi(argv[8]), y2 = std::atoi(argv[9]);
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 2;
  XWindowAttributes attributes;
  XGetWindowAttributes(display, window, &attributes);
  XImage* shot =
      XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!shot || !png_image_begin_read_from_file(&image, argv[5])) return 2;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> game(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, game.data(), 0, nullptr)) return 2;
  const int cellWidth = (attributes.width - 2 * border) / columns;
  const int cellHeight = (attributes.height - 2 * border) / rows;
  if (argc > 10) {
    FILE* out = std::fopen(argv[10], "wb");
    std::fprintf(out, "P6\n%d %d\n255\n", attributes.width, attributes.height);
    for (int y = 0; y < attributes.height; ++y) {
      for (int x = 0; x < attributes.width; ++x) {
        const unsigned long p = XGetPixel(shot, x, y);
        std::fputc(static_cast<int>((p >> 16) & 0xFF), out);
        std::fputc(static_cast<int>((p >> 8) & 0xFF), out);
        std::fputc(static_cast<int>(p & 0xFF), out);
      }
    }
    std::fclose(out);
  }
  long compared = 0;
  long differing = 0;
  for (int row = y1 / 18; row < y2 / 18; ++row) {
    for (int column = x1 / 8; column < x2 / 8; ++column) {
      for (int q = 0; q < cellHeight; ++q) {
        for (int p = 0; p < cellWidth; ++p) {
          const int gx = column * 8 + p * 8 / cellWidth;
          const int gy = row * 18 + q * 18 / cellHeight;
          const png_byte* pixel = game.data() + (static_cast<size_t>(gy) * image.width + gx) * 3;
          const uint32_t want = static_cast<uint32_t>(pixel[0]) << 16 | pixel[1] << 8 | pixel[2];
          const unsigned long got =
              XGetPixel(shot, border + column * cellWidth + p, border + row * cellHeight + q) &
              0xFFFFFF;
          ++compared;
          if (channelDistance(want, static_cast<uint32_t>(got)) > 4) ++differing;
        }
      }
    }
  }
  std::printf("cell %dx%d: %ld of %ld pixels differ\n", cellWidth, cellHeight, differing, compared);
  return differing == 0 ? 0 : 1;
}
