#include "platform/child_process.h"

#include "platform/win32_error.h"

#include <string>

namespace platform {

PipedChild::PipedChild(std::wstring_view commandLine, std::wstring_view folder) {
    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;
    unique_handle writeEnd;
    if (!::CreatePipe(readEnd_.put(), writeEnd.put(), &inheritable, 0)) {
        ThrowLastError("CreatePipe");
    }
    // A read end in the child would let it, or a program it leaves running, take output meant for us.
    if (!::SetHandleInformation(readEnd_.get(), HANDLE_FLAG_INHERIT, 0)) {
        ThrowLastError("SetHandleInformation");
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();

    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring line(commandLine);
    const std::wstring currentFolder(folder);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                          currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &process)) {
        ThrowLastError("CreateProcessW", line);
    }
    process_.reset(process.hProcess);
    thread_.reset(process.hThread);
    // Only the child and its descendants hold the write end now, so the pipe ends when they all have.
}

bool PipedChild::Read(char* buffer, DWORD size, DWORD& got) {
    got = 0;
    return ::ReadFile(readEnd_.get(), buffer, size, &got, nullptr) != FALSE;
}

} // namespace platform
