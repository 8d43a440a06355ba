#include "game/state/roster_write.h"

#include "game/state/file_format.h"
#include "game/state/game.h"
#include "game/state/roster_file.h"
#include "game/town/program_end.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {

constexpr int kFile = 1;

void openFresh(rt::FileTable& files, const std::string& name) {
  try {
    files.OPEN(name, rt::FileMode::Output, rt::FileAccess::Write, kFile);
  } catch (const rt::RuntimeError& e) {
    if (e.code() != rt::err::FileAlreadyExists) throw;
    // A leftover from an interrupted save: remove it and open again.
    files.KILL(name);
    files.OPEN(name, rt::FileMode::Output, rt::FileAccess::Write, kFile);
  }
}

void discard(rt::FileTable& files, const std::string& name) {
  try {
    files.closeAll();
  } catch (const rt::RuntimeError&) {
  }
  try {
    files.KILL(name);
  } catch (const rt::RuntimeError&) {
  }
}

}  // namespace

void CHWRT(Game& g) {
  rt::FileTable& files = g.con.files();
  const int32_t key = rt::toInt32(rt::INT(g.con.random().RND(1) * format::roster::kKeySpan) +
                                  format::roster::kKeyLow);
  g.ShopStock(StockedMessageTime) = g.SysWord(MessageTime);
  sealCharacters(g);
  const std::string name = rosterFileName(g.ScenarioLetter);
  const std::string fresh = rosterTempName(g.ScenarioLetter);
  try {
    openFresh(files, fresh);
    writeRoster(files, kFile, g, key, g.ScenarioId(ScenarioNumber));
    files.closeAll();
    files.replaceFile(fresh, name);
  } catch (const rt::RuntimeError& error) {
    discard(files, fresh);
    closeWithError(g, error);
  }
}

}  // namespace kestrun::game
