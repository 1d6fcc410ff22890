#include "started_program.h"

#include <stdexcept>
#include <utility>

namespace testsupport {

HWND ShownWindowOf(DWORD processId, const wchar_t* windowClass) {
    for (HWND window = nullptr;
         (window = ::FindWindowExW(nullptr, window, windowClass, nullptr)) != nullptr;) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && ::IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

StartedProgram::StartedProgram(const std::wstring& program, const std::wstring& arguments)
    : job_(::CreateJobObjectW(nullptr, nullptr)) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job_ ||
        !::SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        throw std::runtime_error("no job object for the program");
    }
    std::wstring command = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Suspended until it is in the job, so that nothing it starts is left outside.
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                          folder.c_str(), &startup, &process)) {
        throw std::runtime_error("the program did not start");
    }
    const platform::unique_handle thread(process.hThread);
    process_.reset(process.hProcess);
    id_ = process.dwProcessId;
    ::AssignProcessToJobObject(job_.get(), process_.get());
    ::ResumeThread(thread.get());
}

StartedProgram::~StartedProgram() {
    ::TerminateJobObject(job_.get(), 1);
    ::WaitForSingleObject(process_.get(), 10000);
}

bool StartedProgram::WaitForEnd(DWORD timeoutMs) const {
    return ::WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

HWND StartedProgram::WaitForWindow(const wchar_t* windowClass, DWORD timeoutMs) const {
    for (DWORD waited = 0;; waited += 50, ::Sleep(50)) {
        if (const HWND window = ShownWindowOf(id_, windowClass); window != nullptr || waited >= timeoutMs) {
            return window;
        }
    }
}

} // namespace testsupport
