#include "platform/file_identity.h"

#include "platform/file_path.h"
#include "platform/unique_handle.h"

namespace platform {

std::optional<FileIdentity> IdentifyPath(const std::wstring& path) {
    // Backup semantics let CreateFile open a folder; no access right is needed to read its identity.
    const std::wstring callPath = PathForFileCall(path);
    unique_handle file(::CreateFileW(callPath.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info)) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

bool SameFile(const std::wstring& first, const std::wstring& second) {
    const auto a = IdentifyPath(first);
    const auto b = IdentifyPath(second);
    return a && b && *a == *b;
}

} // namespace platform
