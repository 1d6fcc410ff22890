#include "platform/text_file.h"

#include "platform/ansi_text.h"
#include "platform/file_path.h"
#include "platform/win32_error.h"

#include <windows.h>

#include <algorithm>

namespace platform {

namespace {

constexpr size_t FlushThreshold = 64 * 1024;

// Windows refuses to overwrite or delete a read-only file; Wine running as root does not, so the
// check is made here to behave the same everywhere.
void RefuseReadOnly(const std::wstring& path, const char* call) {
    const DWORD attributes = ::GetFileAttributesW(PathForFileCall(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        throw Win32Error(call, ERROR_ACCESS_DENIED, path);
    }
}

} // namespace

TextFileWriter::TextFileWriter(std::wstring path) : path_(std::move(path)) {
    RefuseReadOnly(path_, "CreateFileW");
    const std::wstring callPath = PathForFileCall(path_);
    file_.reset(::CreateFileW(callPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        ThrowLastError("CreateFileW", path_);
    }
}

TextFileWriter::~TextFileWriter() {
    try {
        Flush();
    } catch (const Win32Error&) {
        // Nothing to report to here; Close is the place that reports.
    }
}

void TextFileWriter::Write(std::wstring_view text) {
    pending_ += ToAnsi(text);
    if (pending_.size() >= FlushThreshold) {
        Flush();
    }
}

void TextFileWriter::WriteLine(std::wstring_view line) {
    Write(line);
    pending_ += "\r\n";
}

void TextFileWriter::Close() {
    Flush();
    file_.reset();
}

void TextFileWriter::Flush() {
    size_t offset = 0;
    while (file_ && offset < pending_.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(pending_.size() - offset, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file_.get(), pending_.data() + offset, chunk, &written, nullptr)) {
            pending_.erase(0, offset);
            ThrowLastError("WriteFile", path_);
        }
        offset += written;
    }
    pending_.clear();
}

HeldFile HeldFile::Create(const std::wstring& path, std::wstring_view text) {
    RefuseReadOnly(path, "CreateFileW");
    HeldFile held;
    held.path_ = path;
    held.deletable_ = true;
    // No FILE_SHARE_WRITE or FILE_SHARE_DELETE: no other program writes, renames or deletes it. It goes
    // with the handle, also when this program is ended.
    held.file_.reset(::CreateFileW(PathForFileCall(path).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                   nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE,
                                   nullptr));
    if (!held.file_) {
        ThrowLastError("CreateFileW", path);
    }
    held.content_ = ToAnsi(text);
    DWORD written = 0;
    if (!::WriteFile(held.file_.get(), held.content_.data(), static_cast<DWORD>(held.content_.size()),
                     &written, nullptr) ||
        written != held.content_.size()) {
        ThrowLastError("WriteFile", path);
    }
    return held;
}

HeldFile HeldFile::Hold(const std::wstring& path) {
    HeldFile held;
    held.path_ = path;
    // Read access only: the interpreter, which opens the batch to read it, shares no more than reading.
    held.file_.reset(::CreateFileW(PathForFileCall(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held.file_) {
        ThrowLastError("CreateFileW", path);
    }
    char buffer[64 * 1024];
    for (DWORD got = 0;;) {
        if (!::ReadFile(held.file_.get(), buffer, sizeof buffer, &got, nullptr)) {
            ThrowLastError("ReadFile", path);
        }
        if (got == 0) {
            break;
        }
        held.content_.append(buffer, got);
    }
    return held;
}

void HeldFile::Remove() {
    if (!file_) {
        return;
    }
    file_.reset();
    // A file made to go with its handle is gone now.
    if (!deletable_) {
        RemoveFile(path_);
    }
}

bool HeldByAnother(const std::wstring& path) {
    const unique_handle probe(::CreateFileW(PathForFileCall(path).c_str(), DELETE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !probe && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

void RemoveFile(const std::wstring& path) {
    RefuseReadOnly(path, "DeleteFileW");
    const std::wstring callPath = PathForFileCall(path);
    if (!::DeleteFileW(callPath.c_str())) {
        ThrowLastError("DeleteFileW", path);
    }
}

void ReplaceWith(const std::wstring& from, const std::wstring& to) {
    RefuseReadOnly(to, "MoveFileExW");
    const std::wstring callFrom = PathForFileCall(from);
    const std::wstring callTo = PathForFileCall(to);
    if (!::MoveFileExW(callFrom.c_str(), callTo.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowLastError("MoveFileExW", to);
    }
}

bool PathExists(const std::wstring& path) {
    return ::GetFileAttributesW(PathForFileCall(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace platform
