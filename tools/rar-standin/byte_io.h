#pragma once
// Random reads from an archive and sequential writes of a new one.

#include "platform/unique_handle.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rarstandin {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Up to length bytes from offset; fewer only at the end.
    virtual std::string Read(std::uint64_t offset, std::size_t length) = 0;
};

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;
};

// Throws ArchiveError with the open-error exit code when the file cannot be opened.
class FileSource : public ByteSource {
  public:
    explicit FileSource(const std::wstring& path);
    std::uint64_t Size() const override { return size_; }
    std::string Read(std::uint64_t offset, std::size_t length) override;

  private:
    platform::unique_handle file_;
    std::uint64_t size_ = 0;
};

class FileSink : public ByteSink {
  public:
    // Creates path, which must not exist yet.
    explicit FileSink(const std::wstring& path);
    void Write(std::string_view bytes) override;
    void Close();

  private:
    platform::unique_handle file_;
    std::wstring path_;
};

// Copies length bytes from offset in pieces, so a large member never sits in memory whole.
void CopyRange(ByteSource& source, std::uint64_t offset, std::uint64_t length, ByteSink& sink);

std::uint16_t LoadLe16(std::string_view bytes, std::size_t pos);
std::uint32_t LoadLe32(std::string_view bytes, std::size_t pos);
void StoreLe16(std::string& bytes, std::size_t pos, std::uint16_t value);
void StoreLe32(std::string& bytes, std::size_t pos, std::uint32_t value);
void AppendLe16(std::string& bytes, std::uint16_t value);
void AppendLe32(std::string& bytes, std::uint32_t value);

} // namespace rarstandin
