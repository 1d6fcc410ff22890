// A recording archiver for the window and release tests: each call appends its arguments, tab-separated
// in UTF-8, as one line to rar-calls.log beside it, and the folder it was started in to rar-cwd.log, and
// prints "Deleting from <archive>" in the ANSI code page as a console program does, followed by the bytes of
// rar-says.bin beside it when that is there.

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

    std::ifstream says(std::filesystem::path(folder + L"rar-says.bin"), std::ios::binary);
    const std::string output =
        Encode(CP_ACP, L"Deleting from " + std::wstring(count > 2 ? arguments[2] : L"?") + L"\r\n") +
        std::string(std::istreambuf_iterator<char>(says), {});
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), output.data(), static_cast<DWORD>(output.size()), &written,
                nullptr);
    return 0;
}
