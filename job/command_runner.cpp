#include "job/command_runner.h"

#include "job/captured_output.h"
#include "platform/ansi_text.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace sysAPI {

namespace {

constexpr DWORD ReadBufferSize = 32768;
constexpr DWORD ReadRequest = 32767;

// Where a chunk ends inside a double-byte character, the lead byte waits for the next chunk. A byte that
// cannot lead always ends a character, so only the run of possible lead bytes at the end needs looking
// at: read in pairs from its start, an odd run ends in a lone lead byte.
size_t CompleteLength(const char* bytes, size_t count) {
    size_t run = 0;
    while (run < count && platform::IsAnsiLeadByte(static_cast<unsigned char>(bytes[count - 1 - run]))) {
        ++run;
    }
    return run % 2 == 0 ? count : count - 1;
}

} // namespace

std::wstring GetCommandOutput(std::wstring_view commandLine) {
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = TRUE;

    platform::unique_handle readEnd;
    platform::unique_handle writeEnd;
    if (!::CreatePipe(readEnd.addressof(), writeEnd.addressof(), &attributes, 0)) {
        return L"CreatePipe failed. error: " + std::to_wstring(::GetLastError());
    }

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();

    PROCESS_INFORMATION process{};
    auto ansiCommand = platform::TryToAnsi(commandLine);
    BOOL started = FALSE;
    if (ansiCommand) {
        // CreateProcessA may write into the command line, so it gets a writable copy.
        std::vector<char> line(ansiCommand->begin(), ansiCommand->end());
        line.push_back('\0');
        started = ::CreateProcessA(nullptr, line.data(), &attributes, &attributes, TRUE,
                                   NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process);
    }
    if (started != TRUE) {
        return L"error: '" + std::wstring(commandLine) + L"' 不是可运行的程序";
    }
    // Declared in this order, they close as the process handle, the thread handle, then the read end.
    platform::unique_handle threadHandle(process.hThread);
    platform::unique_handle processHandle(process.hProcess);

    // Only the child and its descendants hold the write end now, so the pipe ends when they all have.
    writeEnd.reset();

    job::CapturedOutput output;
    std::vector<char> buffer(ReadBufferSize);
    size_t carried = 0;
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(readEnd.get(), buffer.data() + carried, ReadRequest - static_cast<DWORD>(carried),
                        &got, nullptr)) {
            break;
        }
        if (got == 0) {
            continue;
        }
        const size_t available = carried + got;
        const size_t complete = CompleteLength(buffer.data(), available);
        output.Append(std::string_view(buffer.data(), complete));
        carried = available - complete;
        if (carried != 0) {
            buffer[0] = buffer[complete];
        }
    }
    output.Append(std::string_view(buffer.data(), carried));
    processHandle.reset();
    threadHandle.reset();
    readEnd.reset();
    return output.TakeText();
}

} // namespace sysAPI
