#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "game/state/tables.h"

namespace kestrun::fuzz {

// The readers take file names, so each input goes to one file in a private
// temporary folder (removed when the process ends). The folder is in memory
// when it can be: rewriting a file on a disk file system costs a flush each
// time, which would set the pace of the whole run.
class ScratchFile {
 public:
  // `name` is the file's name inside the folder ("F-C.DAT", "1AG.BMP" ...).
  explicit ScratchFile(const std::string& name) {
    const char* tmp = std::getenv("TMPDIR");
    const char* base = tmp && *tmp ? tmp : ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/kestrun-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    dir_ = pattern;
    path_ = dir_ + "/" + name;
  }
  ~ScratchFile() {
    ::unlink(path_.c_str());
    ::rmdir(dir_.c_str());
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Replaces the file's content with the input and returns its path.
  const std::string& hold(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
    return path_;
  }

 private:
  std::string dir_;
  std::string path_;
};

// The sample scenario's tables, read once from its source folder.
const game::ScenarioTables& sampleScenario();

}  // namespace kestrun::fuzz
