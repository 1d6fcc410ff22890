#include "job/job_state.h"

#include "platform/file_path.h"
#include "platform/mod_function.h"
#include "platform/short_path.h"
#include "platform/win32_error.h"

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
    // No path holds a '"', so a text quoted whole is the path between the quotes.
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"' &&
        folder.find(L'"', 1) == folder.size() - 1) {
        folder = Trim(std::wstring_view(folder).substr(1, folder.size() - 2), L" \t");
    }
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    if (folder.size() == 2 && folder[1] == L':') {
        folder += L'\\';
    }
    return folder;
}

std::optional<std::wstring> AbsoluteFolder(const std::wstring& normalizedFolder) {
    if (normalizedFolder.empty()) {
        return std::nullopt;
    }
    try {
        return platform::FullPathName(normalizedFolder);
    } catch (const platform::Win32Error&) {
        return std::nullopt;
    }
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

RunFolder FolderToRun(std::wstring fullPath) {
    RunFolder folder{std::move(fullPath), false, std::nullopt};
    folder.network = folder.path.size() > 2 && folder.path[0] == L'\\' && folder.path[1] == L'\\';
    if (!folder.network) {
        folder.shortForm = platform::VerifiedShortPath(folder.path);
    }
    return folder;
}

std::optional<std::wstring> ExistingFolder(std::wstring_view typed) {
    const auto folder = AbsoluteFolder(NormalizeFolder(typed));
    try {
        if (folder && ModFunction::FolderExists(*folder)) {
            return folder;
        }
    } catch (const platform::Win32Error&) {
        // A malformed path or a drive that is not ready is a folder that is not there.
    }
    return std::nullopt;
}

} // namespace job
