// A child program for the command runner's tests: it writes exactly the output a test asks for, so the
// test can compare what came back through the pipe byte for byte.
//
//   test_child silent               writes nothing
//   test_child bytes N              N bytes of a known pattern, in writes of odd, changing sizes
//   test_child mixed                lines to stdout and stderr, alternating
//   test_child stdin                reports what reading standard input gives
//   test_child split                a GBK character whose two bytes go out in separate writes
//   test_child background MS        starts a copy of itself that writes after MS milliseconds, then ends
//   test_child late MS              waits MS milliseconds, then writes one line
//   test_child handles              how many handles it holds that read a pipe

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Write(HANDLE handle, const char* bytes, size_t count) {
    DWORD written = 0;
    ::WriteFile(handle, bytes, static_cast<DWORD>(count), &written, nullptr);
}

void Out(const char* text) {
    Write(::GetStdHandle(STD_OUTPUT_HANDLE), text, std::strlen(text));
}
void Err(const char* text) {
    Write(::GetStdHandle(STD_ERROR_HANDLE), text, std::strlen(text));
}

// The pattern repeats every 251 bytes (a prime, so it never lines up with a buffer size).
char PatternByte(size_t index) {
    return static_cast<char>('!' + index % 251 % 90);
}

void WritePattern(size_t total) {
    static const size_t sizes[] = {1, 7, 4093, 32767, 32768, 32769, 65537, 13, 100003};
    std::string chunk;
    size_t done = 0;
    for (size_t turn = 0; done < total; ++turn) {
        const size_t size = std::min(sizes[turn % (sizeof sizes / sizeof sizes[0])], total - done);
        chunk.resize(size);
        for (size_t i = 0; i < size; ++i) {
            chunk[i] = PatternByte(done + i);
        }
        Write(::GetStdHandle(STD_OUTPUT_HANDLE), chunk.data(), size);
        done += size;
    }
}

void ReportStdin() {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) {
        Out("stdin: none\r\n");
        return;
    }
    char byte = 0;
    DWORD got = 0;
    if (!::ReadFile(input, &byte, 1, &got, nullptr)) {
        Out("stdin: read failed\r\n");
    } else {
        Out(got == 0 ? "stdin: end\r\n" : "stdin: data\r\n");
    }
}

void WriteSplitCharacter() {
    // "中" is D6 D0 in code page 936; the pause makes the reader see "A中" and the next lead byte alone.
    // D0 could lead as well, so only reading the bytes in pairs tells that D6 is the lone one.
    Out("A\xD6\xD0\xD6");
    ::Sleep(300);
    Out("\xD0"
        "B\r\n");
}

int StartLateWriter(const char* delay) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" late " + delay;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                          &process)) {
        Out("could not start the late writer\r\n");
        return 1;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    Out("parent done\r\n");
    return 0;
}

// Handle values are small multiples of four; an inherited handle keeps the value it had in the parent.
// Only a read end answers PeekNamedPipe.
void ReportPipeReadEnds() {
    int readEnds = 0;
    for (ULONG_PTR value = 4; value < 4096; value += 4) {
        const auto handle = reinterpret_cast<HANDLE>(value);
        DWORD available = 0;
        if (::GetFileType(handle) == FILE_TYPE_PIPE &&
            ::PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr)) {
            ++readEnds;
        }
    }
    Out(("pipe read ends: " + std::to_string(readEnds) + "\r\n").c_str());
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "silent";
    if (mode == "bytes" && argc > 2) {
        WritePattern(std::strtoull(argv[2], nullptr, 10));
    } else if (mode == "mixed") {
        for (int i = 1; i <= 3; ++i) {
            const std::string line = std::to_string(i);
            Out(("out " + line + "\r\n").c_str());
            Err(("err " + line + "\r\n").c_str());
        }
    } else if (mode == "stdin") {
        ReportStdin();
    } else if (mode == "split") {
        WriteSplitCharacter();
    } else if (mode == "background" && argc > 2) {
        return StartLateWriter(argv[2]);
    } else if (mode == "handles") {
        ReportPipeReadEnds();
    } else if (mode == "late" && argc > 2) {
        ::Sleep(std::strtoul(argv[2], nullptr, 10));
        Out("late line\r\n");
    }
    return 0;
}
