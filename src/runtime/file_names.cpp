#include "runtime/file_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>

#include "runtime/sjis.h"

namespace kestrun::rt {

std::string foldedCase(std::string_view name) {
  std::string folded(name);
  for (size_t i = 0; i < folded.size(); i += charLength(folded, i)) {
    if (folded[i] >= 'A' && folded[i] <= 'Z') folded[i] = static_cast<char>(folded[i] - 'A' + 'a');
  }
  return folded;
}

std::string withFoundCase(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 || errno != ENOENT) return path;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string wanted = foldedCase(slash == std::string::npos ? path : path.substr(slash + 1));
  DIR* listing = ::opendir(folder.c_str());
  if (!listing) return path;
  std::optional<std::string> found;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (foldedCase(name) != wanted || (found && *found <= name)) continue;
    found = name;
  }
  ::closedir(listing);
  if (!found) return path;
  return slash == std::string::npos ? *found : path.substr(0, slash + 1) + *found;
}

}  // namespace kestrun::rt
