// A recording archiver for the window and release tests: each call appends its arguments, tab-separated
// in UTF-8, as one line to rar-calls.log beside it, and prints "Deleting from <archive>" in the ANSI code
// page as a console program does, followed by the bytes of rar-says.bin beside it when that is there.
// While rar-holds beside it is there (for at most a minute), it waits after noting its call, so that a
// test can act while a run is under way.

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

    for (int waited = 0; waited < 60000 && std::filesystem::exists(folder + L"rar-holds"); waited += 50) {
        ::Sleep(50);
    }

    std::ifstream says(std::filesystem::path(folder + L"rar-says.bin"), std::ios::binary);
    const std::string output =
        Encode(CP_ACP, L"Deleting from " + std::wstring(count > 2 ? arguments[2] : L"?") + L"\r\n") +
        std::string(std::istreambuf_iterator<char>(says), {});
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), output.data(), static_cast<DWORD>(output.size()), &written,
                nullptr);
    return 0;
}
