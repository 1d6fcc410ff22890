#pragma once
// A program a test starts, in a job that ends it and everything it started once the test's process is
// gone, however the test ends; and the shown windows of a process, which the tests look for.

#include "platform/unique_handle.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace testsupport {

// The shown top-level windows of windowClass that belong to the process (to any process for 0).
inline std::vector<HWND> ShownWindowsOf(DWORD processId, const wchar_t* windowClass) {
    std::vector<HWND> shown;
    for (HWND window = nullptr;
         (window = ::FindWindowExW(nullptr, window, windowClass, nullptr)) != nullptr;) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if ((processId == 0 || owner == processId) && ::IsWindowVisible(window)) {
            shown.push_back(window);
        }
    }
    return shown;
}

// The first of them once there is one; nullptr after timeoutMs.
inline HWND WaitForShownWindow(DWORD processId, const wchar_t* windowClass, DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += 50, ::Sleep(50)) {
        if (const auto shown = ShownWindowsOf(processId, windowClass);
            !shown.empty() || waited >= timeoutMs) {
            return shown.empty() ? nullptr : shown.front();
        }
    }
}

class StartedProgram {
  public:
    // Starts program with arguments (already quoted as needed) in the program's folder.
    explicit StartedProgram(const std::wstring& program, const std::wstring& arguments = L"")
        : job_(::CreateJobObjectW(nullptr, nullptr)) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!job_ || !::SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits,
                                                sizeof limits)) {
            throw std::runtime_error("no job object for the program");
        }
        std::wstring command = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        // Suspended until it is in the job, so that nothing it starts is left outside.
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                              program.substr(0, program.find_last_of(L'\\')).c_str(), &startup, &process)) {
            throw std::runtime_error("the program did not start");
        }
        const platform::unique_handle thread(process.hThread);
        process_.reset(process.hProcess);
        id_ = process.dwProcessId;
        ::AssignProcessToJobObject(job_.get(), process_.get());
        ::ResumeThread(thread.get());
    }
    ~StartedProgram() {
        ::TerminateJobObject(job_.get(), 1);
        ::WaitForSingleObject(process_.get(), 10000);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    DWORD id() const noexcept { return id_; }
    bool WaitForEnd(DWORD timeoutMs) const {
        return ::WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
    }

  private:
    platform::unique_handle job_, process_;
    DWORD id_ = 0;
};

} // namespace testsupport
