#include "platform/ansi_text.h"

#include "platform/win32_error.h"

#include <windows.h>

#include <array>
#include <climits>

namespace platform {

std::optional<std::string> TryToAnsi(std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > INT_MAX / 4) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0,
                                           nullptr, &usedDefault);
    if (size == 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, nullptr,
                          &usedDefault);
    if (usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

std::string ToAnsi(std::wstring_view text) {
    auto bytes = TryToAnsi(text);
    if (!bytes) {
        throw Win32Error("WideCharToMultiByte", ERROR_NO_UNICODE_TRANSLATION, std::wstring(text));
    }
    return std::move(*bytes);
}

std::wstring FromAnsi(std::string_view bytes) {
    std::wstring text(AnsiTextLength(bytes), L'\0');
    ConvertFromAnsi(bytes, text.data(), text.size());
    return text;
}

size_t AnsiTextLength(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return 0;
    }
    return static_cast<size_t>(
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0));
}

size_t ConvertFromAnsi(std::string_view bytes, wchar_t* text, size_t length) {
    if (bytes.empty() || bytes.size() > INT_MAX || length > INT_MAX) {
        return 0;
    }
    return static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                     text, static_cast<int>(length)));
}

bool IsAnsiLeadByte(unsigned char byte) {
    // Asked for every byte of a command's output, so the answers are looked up once.
    static const std::array<bool, 256> leadBytes = [] {
        std::array<bool, 256> table{};
        for (int value = 0; value < 256; ++value) {
            table[value] = ::IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(value)) != FALSE;
        }
        return table;
    }();
    return leadBytes[byte];
}

} // namespace platform
