// Exits 0 when two pictures have the same size and the same pixels (however
// each file was compressed), 1 when they differ, 2 when one cannot be read.
#include <png.h>

#include <cstdio>
#include <vector>

namespace {

struct Picture {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  std::vector<png_byte> rgb;
};

bool load(const char* path, Picture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) {
    std::fprintf(stderr, "pngsame: %s: %s\n", path, image.message);
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  picture.width = image.width;
  picture.height = image.height;
  return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pngsame A.png B.png\n");
    return 2;
  }
  Picture a;
  Picture b;
  if (!load(argv[1], a) || !load(argv[2], b)) return 2;
  return a.width == b.width && a.height == b.height && a.rgb == b.rgb ? 0 : 1;
}
