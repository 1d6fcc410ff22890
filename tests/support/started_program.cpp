#include "started_program.h"

#include <stdexcept>
#include <utility>

namespace testsupport {

std::vector<HWND> ShownWindowsOf(DWORD processId, const wchar_t* windowClass) {
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

HWND WaitForShownWindow(DWORD processId, const wchar_t* windowClass, DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += 50, ::Sleep(50)) {
        if (const auto shown = ShownWindowsOf(processId, windowClass);
            !shown.empty() || waited >= timeoutMs) {
            return shown.empty() ? nullptr : shown.front();
        }
    }
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

} // namespace testsupport
