#pragma once
// A program a test starts, in a job that ends it and everything it started once the test's process is
// gone, however the test ends (a failed assertion, a crash, ctest's kill on a timeout).

#include "platform/unique_handle.h"

#include <windows.h>

#include <string>

namespace testsupport {

// A shown top-level window of windowClass that belongs to the process, or nullptr.
HWND ShownWindowOf(DWORD processId, const wchar_t* windowClass);

class StartedProgram {
  public:
    // Starts program with arguments (already quoted as needed) in the program's folder.
    StartedProgram(const std::wstring& program, const std::wstring& arguments = L"");
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    DWORD id() const noexcept { return id_; }
    // True when the program ended within timeoutMs.
    bool WaitForEnd(DWORD timeoutMs) const;
    // The program's shown top-level window of windowClass once there is one; nullptr after timeoutMs.
    HWND WaitForWindow(const wchar_t* windowClass, DWORD timeoutMs) const;

  private:
    platform::unique_handle job_;
    platform::unique_handle process_;
    DWORD id_ = 0;
};

} // namespace testsupport
