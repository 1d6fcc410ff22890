#include "platform/ansi_text.h"

#include "platform/win32_error.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

namespace platform {

namespace {

// Four bytes, the low half of word, spread to four UTF-16 units, in the order they have in memory.
std::uint64_t Widen(std::uint64_t word) {
    word &= 0xFFFFFFFFu;
    word = (word | (word << 16)) & 0x0000FFFF0000FFFFu;
    return (word | (word << 8)) & 0x00FF00FF00FF00FFu;
}

// Bytes below 0x80 are one UTF-16 unit each in every ANSI code page, and from a character boundary on, a
// run of them holds no trail byte. Such a run is widened here, eight bytes at a time; the system converts
// only from the first other byte on. Answers how many bytes were widened.
size_t WidenAsciiRun(std::string_view bytes, wchar_t* text, size_t length) {
    static_assert(sizeof(wchar_t) == 2, "UTF-16 units");
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t limit = std::min(bytes.size(), length);
    size_t done = 0;
    for (; done + 8 <= limit; done += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + done, 8);
        if ((word & 0x8080808080808080u) != 0) {
            break;
        }
        // Little-endian, as every Windows is: the first byte is the low one.
        const std::uint64_t units[2] = {Widen(word), Widen(word >> 32)};
        std::memcpy(text + done, units, sizeof units);
    }
    for (; done < limit && in[done] < 0x80; ++done) {
        text[done] = static_cast<wchar_t>(in[done]);
    }
    return done;
}

} // namespace

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
    const size_t ascii = WidenAsciiRun(bytes, text, length);
    if (ascii == bytes.size() || ascii == length) {
        return ascii;
    }
    return ascii + static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, bytes.data() + ascii,
                                                             static_cast<int>(bytes.size() - ascii),
                                                             text + ascii, static_cast<int>(length - ascii)));
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
