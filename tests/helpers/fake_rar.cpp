// A stand-in archiver for the job and window tests: it records how it was called and prints one line
// per call, so a test can see which archives a run visited, in which order, with which masks. When a
// file rar-says.bin lies beside it, its bytes follow that line, so a test can choose the output.

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    }
    return bytes;
}

void Append(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

} // namespace

int main() {
    std::wstring self(32768, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    const std::wstring log = self.substr(0, self.find_last_of(L'\\')) + L"\\rar-calls.log";

    // One line per call: the arguments as the C runtime splits them, separated by tabs, in UTF-8.
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::string line;
    for (int i = 1; i < count; ++i) {
        line += (i > 1 ? "\t" : "") + Utf8(arguments[i]);
    }
    const std::wstring archive = count > 2 ? arguments[2] : L"?";
    ::LocalFree(arguments);
    Append(log, line + "\r\n");

    // The report goes out in the ANSI code page, as a console program's output does.
    const std::wstring report = L"Deleting from " + archive + L"\r\n";
    const int size = ::WideCharToMultiByte(CP_ACP, 0, report.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size - 1 : 0, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, report.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                nullptr);

    HANDLE says = ::CreateFileW((self.substr(0, self.find_last_of(L'\\')) + L"\\rar-says.bin").c_str(),
                                GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (says != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(says, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), buffer, got, &written, nullptr);
        }
        ::CloseHandle(says);
    }
    return 0;
}
