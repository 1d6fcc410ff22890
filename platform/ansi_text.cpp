#include "platform/ansi_text.h"

#include "platform/win32_error.h"

#include <windows.h>

#include <climits>

namespace platform {

namespace {

// The bytes of text in a code page, or nothing when some character has none there.
std::optional<std::string> TryToCodePage(UINT codePage, std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > INT_MAX / 4) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0,
                                           nullptr, &usedDefault);
    if (size == 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, nullptr,
                          &usedDefault);
    if (usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace

std::optional<std::string> TryToAnsi(std::wstring_view text) {
    return TryToCodePage(CP_ACP, text);
}

std::optional<std::string> TryToBatchText(std::wstring_view text) {
    return TryToBatchText(text, ::GetACP(), ::GetOEMCP());
}

std::optional<std::string> TryToBatchText(std::wstring_view text, unsigned ansiCodePage,
                                          unsigned oemCodePage) {
    auto bytes = TryToCodePage(ansiCodePage, text);
    if (!bytes || ansiCodePage == oemCodePage || bytes->empty()) {
        return bytes;
    }
    const int size = static_cast<int>(bytes->size());
    std::wstring readBack(bytes->size(), L'\0');
    readBack.resize(static_cast<size_t>(
        ::MultiByteToWideChar(oemCodePage, 0, bytes->data(), size, readBack.data(), size)));
    if (readBack != text) {
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
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return std::wstring();
    }
    const int size = static_cast<int>(bytes.size());
    std::wstring text(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), static_cast<int>(text.size()));
    return text;
}

bool IsAnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByteEx(CP_ACP, byte) != FALSE;
}

// A byte that cannot lead always ends a character, so only the run of possible lead bytes at the end needs
// looking at: read in pairs from its start, an odd run ends in a lone lead byte.
size_t CompleteAnsiLength(std::string_view bytes) {
    size_t run = 0;
    while (run < bytes.size() && IsAnsiLeadByte(static_cast<unsigned char>(bytes[bytes.size() - 1 - run]))) {
        ++run;
    }
    return run % 2 == 0 ? bytes.size() : bytes.size() - 1;
}

} // namespace platform
