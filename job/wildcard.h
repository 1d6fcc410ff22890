#pragma once

#include <string_view>

namespace job {

// Matches name against pattern, where '*' stands for any run of characters and '?' for one character.
// Letter case counts, so callers compare upper-cased text.
bool WildcardMatch(std::wstring_view pattern, std::wstring_view name);

} // namespace job
