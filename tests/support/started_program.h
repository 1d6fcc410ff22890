#pragma once
// A program a test starts, in a job that ends it and everything it started once the test's process is
// gone, however the test ends (a failed assertion, a crash, ctest's kill on a timeout); and the shown
// windows of a process, which the tests look for.

#include "platform/unique_handle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// The shown top-level windows of windowClass that belong to the process (to any process for 0).
std::vector<HWND> ShownWindowsOf(DWORD processId, const wchar_t* windowClass);
// The first of them once there is one; nullptr after timeoutMs.
HWND WaitForShownWindow(DWORD processId, const wchar_t* windowClass, DWORD timeoutMs);

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

  private:
    platform::unique_handle job_;
    platform::unique_handle process_;
    DWORD id_ = 0;
};

} // namespace testsupport
