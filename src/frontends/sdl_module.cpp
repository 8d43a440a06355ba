// The window front end lives in a module of its own (sdl.so), loaded only
// when a game chooses it: headless and terminal sessions never load SDL or
// the window system's libraries.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "frontends/frontends.h"

namespace kestrun::fe {

namespace {

// The module's folders, tried in order: where an installed program keeps
// it, then beside the program (a build folder).
std::vector<std::string> moduleFolders() {
  char exe[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (length <= 0) return {};
  std::string folder(exe, static_cast<size_t>(length));
  folder.erase(folder.rfind('/') + 1);
  return {folder + KESTRUN_MODULE_DIR, folder + "lib/kestrun"};
}

using MakeSdlFrontend = rt::Frontend* (*)(const WindowOptions&, const rt::Font&);

MakeSdlFrontend loadSdlModule() {
  std::string failure = "not found";
  for (const std::string& folder : moduleFolders()) {
    const std::string path = folder + "/sdl.so";
    if (access(path.c_str(), F_OK) != 0) continue;
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      failure = dlerror();
      break;
    }
    if (void* make = dlsym(module, "kestrun_make_sdl_frontend")) {
      return reinterpret_cast<MakeSdlFrontend>(make);
    }
    failure = path + " is not the window front end";
    break;
  }
  throw FrontendError("the window front end cannot be loaded (" + failure +
                      "); choose another with --frontend tty or headless");
}

}  // namespace

std::unique_ptr<rt::Frontend> makeSdlFrontend(const WindowOptions& options, const rt::Font& font) {
  static const MakeSdlFrontend make = loadSdlModule();
  return std::unique_ptr<rt::Frontend>(make(options, font));
}

}  // namespace kestrun::fe
