#pragma once
// The text of a Win32 call that writes into the caller's buffer and answers a length, in a buffer grown
// until the text fits.

#include "platform/win32_error.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

// Calls call(Char* buffer, DWORD size) with a buffer of firstSize characters, then larger ones, until the
// answer fits, and answers the text. The call answers as GetFullPathNameW does: the length written,
// without the NUL, when the text fits; the size it needs, with the NUL, when it does not; 0 when it
// fails. An answer equal to the size, GetModuleFileNameW's way of saying it cut the text, doubles the
// buffer. Throws Win32Error named callName, on subject, when the call fails.
template <typename Char = wchar_t, typename Call>
std::basic_string<Char> GrowToFit(const char* callName, std::wstring_view subject, Call call,
                                  DWORD firstSize = MAX_PATH) {
    std::basic_string<Char> buffer(firstSize, Char{});
    // A path holds at most 32767 characters, so the loop ends long before this many attempts; the
    // limit is for a call whose answer changes between attempts.
    for (int attempt = 0; attempt < 32; ++attempt) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = call(buffer.data(), size);
        if (length == 0) {
            const DWORD error = ::GetLastError();
            throw Win32Error(callName, error, std::wstring(subject));
        }
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
        buffer.assign(length > size ? length : size * 2, Char{});
    }
    throw Win32Error(callName, ERROR_INSUFFICIENT_BUFFER, std::wstring(subject));
}

} // namespace platform
