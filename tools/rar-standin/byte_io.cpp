#include "byte_io.h"

#include "archive_error.h"
#include "platform/win32_error.h"

#include <algorithm>

namespace rarstandin {

FileSource::FileSource(const std::wstring& path) {
    file_.reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        const DWORD code = ::GetLastError();
        throw ArchiveError(kExitOpen, L"Cannot open " + path + L"\n" + platform::SystemMessage(code));
    }
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    const DWORD low = ::GetFileSize(file_.get(), &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) {
        throw ArchiveError(kExitOpen, L"Cannot read " + path);
    }
    size_ = static_cast<std::uint64_t>(high) << 32 | low;
}

std::string FileSource::Read(std::uint64_t offset, std::size_t length) {
    if (offset >= size_) {
        return {};
    }
    length = static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset));
    std::string out(length, '\0');
    std::size_t done = 0;
    while (done < length) {
        OVERLAPPED at{};
        const std::uint64_t where = offset + done;
        at.Offset = static_cast<DWORD>(where & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(where >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length - done, 1u << 20));
        DWORD got = 0;
        if (!::ReadFile(file_.get(), out.data() + done, chunk, &got, &at) || got == 0) {
            throw ArchiveError(kExitFatal, L"Read error in the archive");
        }
        done += got;
    }
    return out;
}

FileSink::FileSink(const std::wstring& path) : path_(path) {
    file_.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
    if (!file_) {
        const DWORD code = ::GetLastError();
        throw ArchiveError(kExitCreate, L"Cannot create " + path + L"\n" + platform::SystemMessage(code));
    }
}

void FileSink::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
            const DWORD code = ::GetLastError();
            throw ArchiveError(kExitWrite,
                               L"Write error in " + path_ + L"\n" + platform::SystemMessage(code));
        }
        bytes.remove_prefix(written);
    }
}

void FileSink::Close() {
    if (file_ && !::CloseHandle(file_.release())) {
        throw ArchiveError(kExitWrite, L"Write error in " + path_);
    }
}

void CopyRange(ByteSource& source, std::uint64_t offset, std::uint64_t length, ByteSink& sink) {
    constexpr std::size_t kPiece = 1u << 20;
    while (length > 0) {
        const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(length, kPiece));
        const std::string bytes = source.Read(offset, piece);
        if (bytes.size() != piece) {
            throw ArchiveError(kExitBadChecksum, L"Unexpected end of archive");
        }
        sink.Write(bytes);
        offset += piece;
        length -= piece;
    }
}

std::uint16_t LoadLe16(std::string_view bytes, std::size_t pos) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[pos]) |
                                      static_cast<unsigned char>(bytes[pos + 1]) << 8);
}

std::uint32_t LoadLe32(std::string_view bytes, std::size_t pos) {
    return static_cast<std::uint32_t>(LoadLe16(bytes, pos)) |
           static_cast<std::uint32_t>(LoadLe16(bytes, pos + 2)) << 16;
}

void StoreLe16(std::string& bytes, std::size_t pos, std::uint16_t value) {
    bytes[pos] = static_cast<char>(value & 0xFF);
    bytes[pos + 1] = static_cast<char>(value >> 8);
}

void StoreLe32(std::string& bytes, std::size_t pos, std::uint32_t value) {
    StoreLe16(bytes, pos, static_cast<std::uint16_t>(value & 0xFFFF));
    StoreLe16(bytes, pos + 2, static_cast<std::uint16_t>(value >> 16));
}

void AppendLe16(std::string& bytes, std::uint16_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
}

void AppendLe32(std::string& bytes, std::uint32_t value) {
    AppendLe16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    AppendLe16(bytes, static_cast<std::uint16_t>(value >> 16));
}

} // namespace rarstandin
