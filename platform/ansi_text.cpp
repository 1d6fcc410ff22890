#include "platform/ansi_text.h"

#include "platform/win32_error.h"

#include <windows.h>

#include <algorithm>
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
    std::wstring text;
    AppendFromAnsi(text, bytes);
    return text;
}

size_t AnsiTextLength(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return 0;
    }
    return static_cast<size_t>(
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0));
}

void AppendFromAnsi(std::wstring& text, std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return;
    }
    const int length = static_cast<int>(bytes.size());
    const size_t oldSize = text.size();
    // One byte never gives more than one UTF-16 unit in an ANSI code page, so the byte count is room
    // enough and the text is converted in one pass, straight onto its end.
    if (text.capacity() < oldSize + bytes.size()) {
        text.reserve(std::max(text.capacity() * 2, oldSize + bytes.size()));
    }
    text.resize(oldSize + bytes.size());
    int converted = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data() + oldSize, length);
    if (converted == 0) {
        const int needed = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
        text.resize(oldSize + static_cast<size_t>(needed));
        converted = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data() + oldSize, needed);
    }
    text.resize(oldSize + static_cast<size_t>(converted));
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
