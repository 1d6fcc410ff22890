#pragma once
// The wide short-path call, for paths that the ANSI code page cannot hold.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The complete short (8.3) form of an existing path through the wide call, or nothing when there is
// none. Under Wine two aliases in one folder can collide, so a caller that relies on the answer naming
// the same file checks that with SameFile.
std::optional<std::wstring> WideShortPath(std::wstring_view path);

} // namespace platform
