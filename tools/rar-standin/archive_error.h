#pragma once
// A failure that ends the command: the text for the user and the archiver's exit code.

#include <stdexcept>
#include <string>
#include <utility>

namespace rarstandin {

// The real archiver's exit codes, which callers test.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitFatal = 2,
    kExitBadChecksum = 3,
    kExitLocked = 4,
    kExitWrite = 5,
    kExitOpen = 6,
    kExitUsage = 7,
    kExitCreate = 9,
    kExitNoFiles = 10,
};

class ArchiveError : public std::runtime_error {
  public:
    ArchiveError(int exitCode, std::wstring message)
        : std::runtime_error("archive error"), exitCode_(exitCode), message_(std::move(message)) {}
    int exitCode() const noexcept { return exitCode_; }
    const std::wstring& message() const noexcept { return message_; }

  private:
    int exitCode_;
    std::wstring message_;
};

// Damage either reader finds: a header that does not hold together, or a file that ends inside a block.
[[noreturn]] inline void ThrowCorrupt() {
    throw ArchiveError(kExitBadChecksum, L"The archive header is corrupt");
}
[[noreturn]] inline void ThrowTruncated() {
    throw ArchiveError(kExitBadChecksum, L"Unexpected end of archive");
}

} // namespace rarstandin
