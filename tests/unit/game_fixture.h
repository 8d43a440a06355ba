#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "frontends/frontends.h"
#include "game/state/game.h"
#include "runtime/keyscript.h"

namespace kestrun::game {

// A game on a headless console, playing in a directory of its own.
class GameFixture {
 public:
  GameFixture() : dir_(makeDirectory()), previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_);
  }
  ~GameFixture() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }
  GameFixture(const GameFixture&) = delete;
  GameFixture& operator=(const GameFixture&) = delete;

  void type(const std::string& keys) { con.setScript(rt::parseKeyScript(keys)); }
  const std::filesystem::path& dir() const { return dir_; }

  std::unique_ptr<rt::Frontend> frontend = fe::makeHeadlessFrontend();
  rt::Font font;
  rt::Console con{*frontend, font};
  Game g{con};

 private:
  static std::filesystem::path makeDirectory() {
    static int counter = 0;
    auto dir = std::filesystem::temp_directory_path() /
               ("kestrun-game-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(dir);
    return dir;
  }
  std::filesystem::path dir_;
  std::filesystem::path previous_;
};

}  // namespace kestrun::game
