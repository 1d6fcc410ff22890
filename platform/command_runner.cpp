#include "platform/command_runner.h"

#include "platform/ansi_text.h"
#include "platform/child_process.h"
#include "platform/win32_error.h"

#include <optional>
#include <string>
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

// Converts bytes that end on a character boundary and appends them to text.
void AppendAnsi(std::wstring& text, std::string_view bytes) {
    text += platform::FromAnsi(bytes);
}

} // namespace

std::wstring GetCommandOutput(std::wstring_view commandLine, std::wstring_view folder) {
    std::optional<platform::PipedChild> child;
    try {
        child.emplace(commandLine, folder);
    } catch (const platform::Win32Error& error) {
        // Whatever failed before the start is the pipe's part.
        if (error.call() != "CreateProcessW") {
            return L"CreatePipe failed. error: " + std::to_wstring(error.code());
        }
        return L"error: '" + std::wstring(commandLine) + L"' 不是可运行的程序";
    }

    std::wstring text;
    std::vector<char> buffer(ReadBufferSize);
    size_t carried = 0;
    DWORD got = 0;
    while (child->Read(buffer.data() + carried, ReadRequest - static_cast<DWORD>(carried), got)) {
        if (got == 0) {
            continue;
        }
        const size_t available = carried + got;
        const size_t complete = CompleteLength(buffer.data(), available);
        AppendAnsi(text, std::string_view(buffer.data(), complete));
        carried = available - complete;
        if (carried != 0) {
            buffer[0] = buffer[complete];
        }
    }
    AppendAnsi(text, std::string_view(buffer.data(), carried));
    return text;
}

} // namespace sysAPI
