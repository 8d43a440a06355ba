// Key scripts as --keys and --keys-file give them: any text either turns into
// key codes or is refused with a message.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/keyscript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    kestrun::rt::parseKeyScript(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const kestrun::rt::KeyScriptError&) {
  }
  return 0;
}
