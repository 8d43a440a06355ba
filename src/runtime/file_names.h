#pragma once

#include <string>
#include <string_view>

namespace kestrun::rt {

// Scenarios are often copied from systems whose file names ignore letter
// case, so "1-S.DAT" may arrive as "1-s.dat". These find such a file.

// The name with its single-byte letters in lower case; the two bytes of a
// Shift-JIS character are left as they are.
std::string foldedCase(std::string_view name);

// The path of the file that `path` names: `path` itself when it exists (or
// cannot be looked up for another reason than its absence), else the entry of
// its folder whose name differs only in letter case (the first in byte order
// when several do), else `path` unchanged.
std::string withFoundCase(const std::string& path);

}  // namespace kestrun::rt
