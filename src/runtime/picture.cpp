#include "runtime/picture.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <new>
#include <optional>

#include "runtime/bitmap.h"
#include "runtime/errors.h"
#include "runtime/file_names.h"
#include "runtime/graphics.h"

namespace kestrun::rt {

namespace {

constexpr size_t kMaxFileNameLength = 128;

// The whole file, its name's letter case ignored when no file has the exact
// name; a missing one is error 63, one that cannot be read 75.
std::optional<std::vector<uint8_t>> readFile(const std::string& fileName, int& error) {
  std::FILE* file = std::fopen(withFoundCase(fileName).c_str(), "rb");
  if (!file) {
    error = errno == ENOENT || errno == ENOTDIR ? err::FileNotFound : err::AccessDenied;
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  struct stat status {};
  bool readable = fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
  if (readable) {
    bytes.resize(static_cast<size_t>(status.st_size));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    readable = !std::ferror(file);
  }
  std::fclose(file);
  if (!readable) {
    error = err::AccessDenied;
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

void Picture::create(std::source_location where) {
  if (created_) raise(err::PictureAlreadyCreated, where);
  created_ = true;
}

void Picture::load(const std::string& fileName, std::source_location where) {
  if (!created_) raise(err::PictureMissing, where);
  if (fileName.size() > kMaxFileNameLength) raise(err::IllegalArgument, where);
  try {
    int error = 0;
    const std::optional<std::vector<uint8_t>> bytes = readFile(fileName, error);
    if (!bytes) raise(error, where);
    std::optional<Bitmap> bitmap = decodeBitmap(*bytes);
    if (!bitmap) raise(err::AccessDenied, where);
    pixels_ = std::move(bitmap->pixels);
    width_ = bitmap->width;
    height_ = bitmap->height;
  } catch (const std::bad_alloc&) {
    raise(err::OutOfMemory, where);
  }
}

void Picture::show(GraphicsPlane& plane, double x, double y, double width, double height,
                   std::source_location where) {
  if (!created_) raise(err::PictureMissing, where);
  if (!loaded()) return;
  plane.blitStretched(pixels_, width_, height_, x, y, width, height, where);
}

void Picture::free(std::source_location where) {
  if (!created_) raise(err::PictureMissing, where);
  pixels_.clear();
  pixels_.shrink_to_fit();
  width_ = 0;
  height_ = 0;
}

}  // namespace kestrun::rt
