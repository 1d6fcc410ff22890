#include "job/job_state.h"

#include <algorithm>

namespace job {

std::wstring Trim(std::wstring_view text, std::wstring_view blanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring_view::npos) {
        return std::wstring();
    }
    return std::wstring(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

std::wstring NormalizeFolder(std::wstring_view typed) {
    std::wstring folder = Trim(typed, L" \t");
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    if (folder.size() == 2 && folder[1] == L':') {
        folder += L'\\';
    }
    return folder;
}

std::wstring WithFinalSeparator(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name) {
    return WithFinalSeparator(folder) + name;
}

} // namespace job
