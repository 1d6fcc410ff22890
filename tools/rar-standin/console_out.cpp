#include "console_out.h"

#include "text_codec.h"

#include <windows.h>

namespace rarstandin {

namespace {

void WriteTo(DWORD which, std::wstring_view text) {
    const HANDLE handle = ::GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string bytes = AnsiLineBytes(text);
    DWORD written = 0;
    ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

std::string AnsiLineBytes(std::wstring_view text) {
    std::wstring lines;
    for (wchar_t c : text) {
        if (c == L'\n') {
            lines += L"\r\n";
        } else if (c != L'\r') {
            lines += c;
        }
    }
    lines += L"\r\n";
    return ToCodePageLossy(lines, CP_ACP);
}

void ConsoleOutput::Line(std::wstring_view text) {
    WriteTo(STD_OUTPUT_HANDLE, text);
}
void ConsoleOutput::ErrorLine(std::wstring_view text) {
    WriteTo(STD_ERROR_HANDLE, text);
}

} // namespace rarstandin
