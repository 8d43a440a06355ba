// Prints the colours of a PNG's pixels, one "x,y RRGGBB" line per point
// given as x,y, so that a session's pictures can be checked at chosen places.
#include <png.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: pngpixels FILE X,Y...\n");
    return 2;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, argv[1])) {
    std::fprintf(stderr, "pngpixels: %s\n", image.message);
    return 1;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    std::fprintf(stderr, "pngpixels: %s\n", image.message);
    return 1;
  }
  const int width = static_cast<int>(image.width);
  const int height = static_cast<int>(image.height);
  int status = 0;
  for (int i = 2; i < argc; ++i) {
    int x = 0;
    int y = 0;
    if (std::sscanf(argv[i], "%d,%d", &x, &y) != 2 || x < 0 || y < 0 || x >= width || y >= height) {
      std::fprintf(stderr, "pngpixels: bad point %s\n", argv[i]);
      status = 2;
      continue;
    }
    const png_byte* p = pixels.data() + (static_cast<size_t>(y) * width + x) * 3;
    std::printf("%d,%d %02X%02X%02X\n", x, y, p[0], p[1], p[2]);
  }
  return status;
}
