#include "platform/dir_listing.h"

#include "platform/file_path.h"
#include "platform/win32_error.h"

namespace platform {

namespace {

bool MeansNothingFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES;
}

DirEntry ToEntry(const WIN32_FIND_DATAW& data) {
    return DirEntry{data.cFileName, data.cAlternateFileName, data.dwFileAttributes};
}

} // namespace

bool AdmittedByMask(DWORD attributes, DWORD mask) {
    return (attributes & attr::Any & ~mask) == 0;
}

std::optional<DirEntry> DirListing::First(std::wstring_view pattern, DWORD mask) {
    find_.reset();
    mask_ = mask;
    pattern_.assign(pattern);
    if (pattern_.empty()) {
        return std::nullopt;
    }
    if (pattern_.back() == L'\\' || pattern_.back() == L'/') {
        pattern_ += L'*';
    }
    const std::wstring callPattern = PathForFileCall(pattern_);
    WIN32_FIND_DATAW data{};
    find_.reset(::FindFirstFileExW(callPattern.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find_ && ::GetLastError() == ERROR_INVALID_PARAMETER) {
        // Windows before 7 knows no FIND_FIRST_EX_LARGE_FETCH and refuses the call; the listing is the
        // same without it.
        find_.reset(::FindFirstFileExW(callPattern.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch,
                                       nullptr, 0));
    }
    if (!find_) {
        const DWORD error = ::GetLastError();
        if (MeansNothingFound(error)) {
            return std::nullopt;
        }
        throw Win32Error("FindFirstFileExW", error, pattern_);
    }
    if (auto entry = Admitted(data)) {
        return entry;
    }
    return Next();
}

std::optional<DirEntry> DirListing::Next() {
    if (!find_) {
        return std::nullopt;
    }
    WIN32_FIND_DATAW data{};
    while (::FindNextFileW(find_.get(), &data)) {
        if (auto entry = Admitted(data)) {
            return entry;
        }
    }
    const DWORD error = ::GetLastError();
    find_.reset();
    if (MeansNothingFound(error)) {
        return std::nullopt;
    }
    throw Win32Error("FindNextFileW", error, pattern_);
}

std::optional<DirEntry> DirListing::Admitted(const WIN32_FIND_DATAW& data) {
    if (!AdmittedByMask(data.dwFileAttributes, mask_)) {
        return std::nullopt;
    }
    return ToEntry(data);
}

std::wstring DirListing::FirstName(std::wstring_view pattern, DWORD mask) {
    auto entry = First(pattern, mask);
    return entry ? std::move(entry->name) : std::wstring();
}

std::wstring FoldNameCase(std::wstring name) {
    if (!name.empty()) {
        ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    }
    return name;
}

} // namespace platform
