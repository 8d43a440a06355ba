#include "app/session_output.h"

#include <filesystem>

#include "frontends/frontends.h"
#include "runtime/composite.h"
#include "runtime/screendump.h"

namespace kestrun::app {

namespace {

std::string cannotWrite(const std::string& path) {
  return "kestrun: cannot write " + path;
}

const char* heading(rt::WaitKind kind) {
  switch (kind) {
    case rt::WaitKind::Key:
      return " key\n";
    case rt::WaitKind::Line:
      return " line\n";
    case rt::WaitKind::Pause:
      break;
  }
  return " pause\n";
}

// The image the player sees, as the window shows it.
bool savePicture(const std::string& path, rt::Console& con) {
  std::vector<uint32_t> image(static_cast<size_t>(rt::kPlaneWidth) * rt::kPlaneHeight);
  rt::composite(con.text(), con.graphics(), con.font().loaded() ? &con.font() : nullptr, image);
  return fe::savePng(path, image.data(), rt::kPlaneWidth, rt::kPlaneHeight);
}

}  // namespace

void SessionOutput::open() {
  if (!o_.trace.empty()) {
    trace_.open(o_.trace, std::ios::binary | std::ios::trunc);
    if (!trace_) throw OutputError(cannotWrite(o_.trace));
  }
  if (!o_.tracePng.empty()) {
    std::error_code failed;
    std::filesystem::create_directories(o_.tracePng, failed);
    if (!std::filesystem::is_directory(o_.tracePng)) {
      throw OutputError("kestrun: --trace-png: cannot make the folder " + o_.tracePng);
    }
  }
}

void SessionOutput::frame(rt::WaitKind kind, rt::Console& con) {
  const int number = ++frames_;
  if (trace_.is_open()) {
    trace_ << "=== " << number << heading(kind) << rt::screenDump(con.text());
    // Flushed at once, so that whoever watches a live session sees the frame.
    trace_.flush();
    if (!trace_) throw OutputError(cannotWrite(o_.trace));
  }
  if (!o_.tracePng.empty()) {
    const std::string path = std::filesystem::path(o_.tracePng) / (std::to_string(number) + ".png");
    if (!savePicture(path, con)) throw OutputError(cannotWrite(path));
  }
}

std::vector<std::string> SessionOutput::writeExitDumps(rt::Console& con) const {
  std::vector<std::string> failures;
  if (!o_.dumpScreen.empty()) {
    std::ofstream out(o_.dumpScreen, std::ios::binary);
    out << rt::screenDump(con.text());
    out.close();
    if (!out) failures.push_back(cannotWrite(o_.dumpScreen));
  }
  if (!o_.dumpPng.empty() && !savePicture(o_.dumpPng, con)) {
    failures.push_back(cannotWrite(o_.dumpPng));
  }
  return failures;
}

}  // namespace kestrun::app
