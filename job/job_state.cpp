#include "job/job_state.h"

#include <algorithm>

namespace job {

std::wstring NormalizeFolder(std::wstring_view typed) {
    const size_t first = typed.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) {
        return std::wstring();
    }
    std::wstring folder(typed.substr(first, typed.find_last_not_of(L" \t") - first + 1));
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    if (folder.size() == 2 && folder[1] == L':') {
        folder += L'\\';
    }
    return folder;
}

std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') {
        return folder + name;
    }
    return folder + L"\\" + name;
}

} // namespace job
