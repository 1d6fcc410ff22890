#include "platform/child_process.h"

#include "platform/win32_error.h"

#include <string>

namespace platform {

namespace {

// How long a read waits before the child's console is looked at again.
constexpr DWORD AnswerInterval = 50;

// The pipe: a named one, as only a named pipe's read end can wait with a time limit. Its name is this
// process's own, and the first instance is made here or not at all. 64 KiB of room lets the child write
// ahead while a chunk is converted (with the system's default, a 256 MiB capture took twice as long).
void MakePipe(unique_handle& readEnd, unique_handle& writeEnd, SECURITY_ATTRIBUTES& inheritable) {
    static unsigned made = 0;
    const std::wstring name =
        L"\\\\.\\pipe\\Brindle-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++made);
    readEnd.reset(::CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, 65536, 0, nullptr));
    if (!readEnd) {
        ThrowLastError("CreateNamedPipeW", name);
    }
    writeEnd.reset(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, 0, nullptr));
    if (!writeEnd) {
        ThrowLastError("CreateFileW", name);
    }
}

// A job that makes every process of the run end on an unhandled exception, whatever error mode it sets
// for itself; its processes may still leave it when they ask to. Null where the system refuses one.
unique_handle MakeJob() {
    unique_handle job(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION | JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    if (job &&
        !::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        job.reset();
    }
    return job;
}

} // namespace

PipedChild::PipedChild(std::wstring_view commandLine, std::wstring_view folder) {
    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;
    unique_handle writeEnd;
    MakePipe(readEnd_, writeEnd, inheritable);
    readDone_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!readDone_) {
        ThrowLastError("CreateEventW");
    }
    unique_handle input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                      OPEN_EXISTING, 0, nullptr));
    if (!input) {
        ThrowLastError("CreateFileW", L"NUL");
    }
    job_ = MakeJob();

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input.get();
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    std::wstring desktop = desktop_.name();
    startup.lpDesktop = desktop.empty() ? nullptr : desktop.data();

    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring line(commandLine);
    const std::wstring currentFolder(folder);
    PROCESS_INFORMATION process{};
    // The child inherits the error mode: a crash ends the process instead of waiting on a dialog, and a
    // drive that is not ready fails the call. This process keeps its own.
    const UINT errorMode = ::GetErrorMode();
    ::SetErrorMode(errorMode | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    // A console of its own with no window, shared by everything the interpreter starts, which no other
    // program's console can be mistaken for. Suspended until it is in the job.
    const BOOL started =
        ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                         NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr,
                         currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &process);
    const DWORD startError = ::GetLastError();
    ::SetErrorMode(errorMode);
    if (!started) {
        throw Win32Error("CreateProcessW", startError, line);
    }
    process_.reset(process.hProcess);
    thread_.reset(process.hThread);
    // Where this process is in a job already, Windows before 8 refuses a second one; the error mode
    // still holds.
    if (job_) {
        ::AssignProcessToJobObject(job_.get(), process_.get());
    }
    ::ResumeThread(thread_.get());
    console_.emplace(process.dwProcessId);
    // Only the child and its descendants hold the write end now, so the pipe ends when they all have.
}

bool PipedChild::Read(char* buffer, DWORD size, DWORD& got) {
    got = 0;
    OVERLAPPED reading{};
    reading.hEvent = readDone_.get();
    if (!::ReadFile(readEnd_.get(), buffer, size, nullptr, &reading) &&
        ::GetLastError() != ERROR_IO_PENDING) {
        return false;
    }
    // The console is answered until the interpreter ends; then it goes, with the last process using it.
    const HANDLE waits[] = {readDone_.get(), process_.get()};
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(console_->answering() ? 2 : 1, waits, FALSE,
                                                     console_->answering() ? AnswerInterval : INFINITE);
        if (woken == WAIT_OBJECT_0) {
            break;
        }
        if (woken == WAIT_OBJECT_0 + 1) {
            console_->Stop();
        } else if (woken == WAIT_TIMEOUT) {
            console_->Answer();
        } else {
            ::CancelIo(readEnd_.get());
            ::GetOverlappedResult(readEnd_.get(), &reading, &got, TRUE);
            return false;
        }
    }
    return ::GetOverlappedResult(readEnd_.get(), &reading, &got, FALSE) != FALSE;
}

} // namespace platform
