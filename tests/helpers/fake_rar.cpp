// A recording archiver for the window and release tests. Each call appends its arguments (tab-separated,
// UTF-8) as a line to rar-calls.log beside it and its current folder to rar-cwd.log; prints "Deleting from
// <archive>" in the ANSI code page; waits while rar-holds is there (a minute at most), so that a test can act
// during a run; prints the bytes of rar-says.bin if there; then, as rar-asks.txt says:
//   crash     crashes (a write to address 0) after saying so, and removes the file: the next call does not
//   stdin     asks for a password on standard input and prints what the read gave
//   console   asks for a password on the console (CONIN$, ReadConsoleW) and prints what the read gave

#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Encode(UINT codePage, const std::wstring& text) {
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(static_cast<size_t>(
        ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                              static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

void Say(const std::string& bytes) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                nullptr);
}

} // namespace

int main() {
    std::wstring folder(32768, L'\0');
    folder.resize(::GetModuleFileNameW(nullptr, folder.data(), static_cast<DWORD>(folder.size())));
    folder.resize(folder.find_last_of(L'\\') + 1);

    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring line;
    for (int i = 1; i < count; ++i) {
        line += (i > 1 ? L"\t" : L"") + std::wstring(arguments[i]);
    }
    std::ofstream(std::filesystem::path(folder + L"rar-calls.log"), std::ios::binary | std::ios::app)
        << Encode(CP_UTF8, line) << "\r\n";

    std::wstring current(32768, L'\0');
    current.resize(::GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));
    std::ofstream(std::filesystem::path(folder + L"rar-cwd.log"), std::ios::binary | std::ios::app)
        << Encode(CP_UTF8, current) << "\r\n";

    Say(Encode(CP_ACP, L"Deleting from " + std::wstring(count > 2 ? arguments[2] : L"?") + L"\r\n"));
    for (int waited = 0; waited < 60000 && std::filesystem::exists(folder + L"rar-holds"); waited += 50) {
        ::Sleep(50);
    }
    std::ifstream says(std::filesystem::path(folder + L"rar-says.bin"), std::ios::binary);
    Say(std::string(std::istreambuf_iterator<char>(says), {}));

    std::string mode;
    std::ifstream(std::filesystem::path(folder + L"rar-asks.txt")) >> mode;
    if (mode == "crash") {
        ::DeleteFileW((folder + L"rar-asks.txt").c_str());
        Say("Crashing\r\n");
        *static_cast<volatile int*>(nullptr) = 1;
    } else if (mode == "stdin") {
        Say("Enter password (stdin): ");
        char answer[100];
        DWORD got = 0;
        const bool read = ::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), answer, sizeof answer, &got, nullptr);
        Say(!read      ? "stdin: error " + std::to_string(::GetLastError()) + "\r\n"
            : got == 0 ? std::string("stdin: end of input\r\n")
                       : "stdin: " + std::string(answer, got) + "\r\n");
    } else if (mode == "console") {
        Say("Enter password (console): ");
        const HANDLE console =
            ::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, 0, nullptr);
        wchar_t answer[100];
        DWORD got = 0;
        if (console == INVALID_HANDLE_VALUE) {
            Say("console: none\r\n");
        } else if (!::ReadConsoleW(console, answer, 100, &got, nullptr)) {
            Say("console: error " + std::to_string(::GetLastError()) + "\r\n");
        } else {
            // Ctrl+Z at the start of a line is the console's end of input.
            Say(got == 0 || answer[0] == L'\x1A' ? std::string("console: end of input\r\n")
                                                 : "console: " + Encode(CP_ACP, std::wstring(answer, got)));
        }
    }
    return 0;
}
