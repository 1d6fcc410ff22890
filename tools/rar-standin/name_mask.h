#pragma once
// The archiver's rules for which member names a command-line mask selects.
//
// Names and masks use '\' or '/' alike and compare without regard to case. A mask with wildcards and no
// folder part tests the name part at any depth; a plain name without folder part selects that root member
// and everything below a folder of that name; "dir\*.txt" selects below dir\ at any depth; a wildcard in
// the folder part globs the whole path. '?' is one character, "*.*" is every name, "*." a name without
// extension.

#include <string>
#include <string_view>
#include <vector>

namespace rarstandin {

bool MaskMatches(std::wstring_view mask, std::wstring_view name);
// True when any of the masks matches; no masks at all means "*.*".
bool AnyMaskMatches(const std::vector<std::wstring>& masks, std::wstring_view name);

} // namespace rarstandin
