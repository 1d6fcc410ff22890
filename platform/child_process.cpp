#include "platform/child_process.h"

#include "platform/win32_error.h"

#include <algorithm>

namespace platform {

namespace {

// Completion keys: which of the two reported to the port.
constexpr ULONG_PTR PipeKey = 1;
constexpr ULONG_PTR JobKey = 2;
// 64 KiB of room lets the child write ahead while a chunk is converted (with the system's default, a
// 256 MiB capture took twice as long); one read takes up to half of it.
constexpr DWORD PipeRoom = 65536;
constexpr DWORD ReadSize = 32768;
// How often a process that has not yet told its program file is asked again, and how often, once the
// output has ended, the processes are looked at in case the job's last notice is late.
constexpr DWORD AskAgainMs = 10;
constexpr DWORD LookAgainMs = 100;

// The pipe: a named one, as only a named pipe's read end can report to a completion port, where the job
// reports too. Its name is this process's own, and the first instance is made here or not at all.
void MakePipe(unique_handle& readEnd, unique_handle& writeEnd, SECURITY_ATTRIBUTES& inheritable) {
    static unsigned made = 0;
    const std::wstring name =
        L"\\\\.\\pipe\\Brindle-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++made);
    readEnd.reset(::CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, PipeRoom, 0, nullptr));
    if (!readEnd) {
        ThrowLastError("CreateNamedPipeW", name);
    }
    writeEnd.reset(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, 0, nullptr));
    if (!writeEnd) {
        ThrowLastError("CreateFileW", name);
    }
}

// A job whose processes end on an unhandled exception, whatever error mode they set for themselves, cannot
// leave it, and end when its last handle closes; it tells the port of every process that starts or ends.
unique_handle MakeJob(HANDLE port) {
    unique_handle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job) {
        ThrowLastError("CreateJobObjectW");
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION | JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        ThrowLastError("SetInformationJobObject");
    }
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT reporting{reinterpret_cast<PVOID>(JobKey), port};
    if (!::SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation, &reporting,
                                   sizeof reporting)) {
        ThrowLastError("SetInformationJobObject");
    }
    return job;
}

std::wstring ImageOf(HANDLE process) {
    wchar_t image[32768];
    DWORD size = static_cast<DWORD>(std::size(image));
    return process != nullptr && ::QueryFullProcessImageNameW(process, 0, image, &size)
               ? std::wstring(image, size)
               : std::wstring();
}

} // namespace

PipedChild::PipedChild(std::wstring_view commandLine, std::wstring_view folder) : buffer_(ReadSize) {
    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;
    unique_handle writeEnd;
    MakePipe(readEnd_, writeEnd, inheritable);
    port_.reset(::CreateIoCompletionPort(readEnd_.get(), nullptr, PipeKey, 1));
    if (!port_) {
        ThrowLastError("CreateIoCompletionPort");
    }
    job_ = MakeJob(port_.get());
    unique_handle input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                      OPEN_EXISTING, 0, nullptr));
    if (!input) {
        ThrowLastError("CreateFileW", L"NUL");
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input.get();
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();

    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring line(commandLine);
    const std::wstring currentFolder(folder);
    PROCESS_INFORMATION process{};
    // The child inherits the error mode: a crash ends the process instead of waiting on a dialog, and a
    // drive that is not ready fails the call. This process keeps its own.
    const UINT errorMode = ::GetErrorMode();
    ::SetErrorMode(errorMode | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    // A console of its own with no window, shared by everything the interpreter starts. Suspended until it
    // is in the job, so nothing it starts is outside.
    // Before Windows 8 a process is in one job at most: where this program runs in a job that lets its
    // children leave, the child leaves it for its own; where it does not, the child is started in it.
    const auto start = [&](DWORD flags) {
        return ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW | CREATE_SUSPENDED | flags, nullptr,
                                currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &process);
    };
    BOOL started = start(CREATE_BREAKAWAY_FROM_JOB);
    if (!started && ::GetLastError() == ERROR_ACCESS_DENIED) {
        started = start(0);
    }
    const DWORD startError = ::GetLastError();
    ::SetErrorMode(errorMode);
    if (!started) {
        throw Win32Error("CreateProcessW", startError, line);
    }
    process_.reset(process.hProcess);
    const unique_handle thread(process.hThread);
    if (!::AssignProcessToJobObject(job_.get(), process_.get())) {
        const DWORD error = ::GetLastError();
        ::TerminateProcess(process_.get(), 1);
        throw Win32Error("AssignProcessToJobObject", error, line);
    }
    if (::ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        const DWORD error = ::GetLastError();
        ::TerminateJobObject(job_.get(), 1);
        throw Win32Error("ResumeThread", error, line);
    }
    // Only the child and its descendants hold the write end now, so the pipe ends when they all have.
}

PipedChild::~PipedChild() {
    if (readPending_) {
        // The buffer must outlive the read.
        DWORD got = 0;
        ::CancelIoEx(readEnd_.get(), &reading_);
        ::GetOverlappedResult(readEnd_.get(), &reading_, &got, TRUE);
    }
}

void PipedChild::EndChild() noexcept {
    ::TerminateProcess(process_.get(), 1);
}

void PipedChild::EndAll(UINT exitCode) noexcept {
    ::TerminateJobObject(job_.get(), exitCode);
}

void PipedChild::StartRead() {
    reading_ = OVERLAPPED{};
    // Done or not, the read reports to the port.
    if (::ReadFile(readEnd_.get(), buffer_.data(), ReadSize, nullptr, &reading_) ||
        ::GetLastError() == ERROR_IO_PENDING) {
        readPending_ = true;
    } else {
        outputEnded_ = true; // the write end is closed everywhere (ERROR_BROKEN_PIPE)
    }
}

void PipedChild::OnJobMessage(DWORD message, DWORD processId) {
    if (message == JOB_OBJECT_MSG_NEW_PROCESS) {
        processes_.push_back(
            {processId, unique_handle(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                                    processId))});
    } else if (message == JOB_OBJECT_MSG_EXIT_PROCESS || message == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS) {
        const auto process = std::find_if(processes_.begin(), processes_.end(),
                                          [&](const Process& p) { return p.id == processId && !p.ended; });
        if (process == processes_.end()) {
            return;
        }
        process->ended = true;
        if (process->announced) {
            ready_.push_back(EndedNotice(*process));
        }
    } else if (message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) {
        jobEmpty_ = true;
    }
}

// The exit code is read from the handle opened when the process started, so it is there however soon the
// process ended.
ChildNotice PipedChild::EndedNotice(const Process& process) {
    DWORD code = 0;
    const bool known = process.handle && ::GetExitCodeProcess(process.handle.get(), &code);
    return {ChildNotice::Kind::ProcessEnded,
            {},
            process.id,
            {},
            known ? std::optional<DWORD>(code) : std::nullopt};
}

bool PipedChild::EveryProcessEnded() const {
    return std::all_of(processes_.begin(), processes_.end(), [](const Process& p) {
        return p.ended || !p.handle || ::WaitForSingleObject(p.handle.get(), 0) == WAIT_OBJECT_0;
    });
}

std::optional<ChildNotice> PipedChild::TakeReady() {
    // Processes are told in the order they started: one that cannot yet tell its program file holds back
    // those after it. A process that has ended tells it.
    for (auto& process : processes_) {
        if (process.announced) {
            continue;
        }
        std::wstring image = ImageOf(process.handle.get());
        if (image.empty() && process.handle && !process.ended) {
            break;
        }
        process.announced = true;
        ready_.push_back({ChildNotice::Kind::ProcessStarted, {}, process.id, std::move(image), {}});
        if (process.ended) {
            ready_.push_back(EndedNotice(process));
        }
    }
    if (ready_.empty()) {
        return std::nullopt;
    }
    ChildNotice notice = std::move(ready_.front());
    ready_.pop_front();
    return notice;
}

ChildNotice PipedChild::Next() {
    for (;;) {
        if (auto notice = TakeReady()) {
            return *notice;
        }
        const bool allAnnounced =
            std::all_of(processes_.begin(), processes_.end(), [](const Process& p) { return p.announced; });
        const bool childEnded = ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
        if (outputEnded_ && childEnded && allAnnounced && (jobEmpty_ || EveryProcessEnded())) {
            // Ended processes whose notice the job has not delivered yet are told now.
            for (auto& process : processes_) {
                if (!process.ended) {
                    OnJobMessage(JOB_OBJECT_MSG_EXIT_PROCESS, process.id);
                }
            }
            if (auto notice = TakeReady()) {
                return *notice;
            }
            return {ChildNotice::Kind::Finished, {}, 0, {}, {}};
        }
        if (!outputEnded_ && !readPending_) {
            StartRead();
            continue;
        }
        DWORD count = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* overlapped = nullptr;
        const DWORD wait = !allAnnounced ? AskAgainMs : outputEnded_ ? LookAgainMs : INFINITE;
        const BOOL done = ::GetQueuedCompletionStatus(port_.get(), &count, &key, &overlapped, wait);
        if (overlapped == nullptr && !done) {
            continue; // waited long enough to look again
        }
        if (key == JobKey) {
            OnJobMessage(count, static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(overlapped)));
        } else if (key == PipeKey) {
            readPending_ = false;
            if (!done) {
                outputEnded_ = true;
            } else if (count != 0) {
                return {ChildNotice::Kind::Output, std::string_view(buffer_.data(), count), 0, {}, {}};
            }
        }
    }
}

} // namespace platform
