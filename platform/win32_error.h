#pragma once
// The one error type of the platform layer: which call failed, on what, and the system's error code.

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

class Win32Error : public std::runtime_error {
  public:
    Win32Error(std::string call, DWORD code, std::wstring subject = {});

    const std::string& call() const noexcept { return call_; }
    DWORD code() const noexcept { return code_; }
    // The system's text for the code, followed by the call and the subject, for a message box.
    std::wstring Describe() const;

  private:
    std::string call_;
    DWORD code_;
    std::wstring subject_;
};

// Throws a Win32Error for the calling thread's last error.
[[noreturn]] void ThrowLastError(std::string call, std::wstring subject = {});

// Text of plain ASCII (a call's name, an exception's what()) as UTF-16.
std::wstring WidenAscii(std::string_view text);

// The system's message text for an error code, without the trailing line break.
std::wstring SystemMessage(DWORD code);

} // namespace platform
