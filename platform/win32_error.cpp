#include "platform/win32_error.h"

#include "platform/unique_handle.h"

namespace platform {

namespace {

std::string Summary(const std::string& call, DWORD code) {
    return call + " failed, error " + std::to_string(code);
}

} // namespace

Win32Error::Win32Error(std::string call, DWORD code, std::wstring subject)
    : std::runtime_error(Summary(call, code)), call_(std::move(call)), code_(code),
      subject_(std::move(subject)) {}

std::wstring Win32Error::Describe() const {
    std::wstring text = SystemMessage(code_);
    text += L"\r\n(" + WidenAscii(call_) + L", " + std::to_wstring(code_) + L")";
    if (!subject_.empty()) {
        text += L"\r\n" + subject_;
    }
    return text;
}

std::wstring WidenAscii(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (char c : text) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return wide;
}

void ThrowLastError(std::string call, std::wstring subject) {
    throw Win32Error(std::move(call), ::GetLastError(), std::move(subject));
}

std::wstring SystemMessage(DWORD code) {
    unique_hlocal buffer;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    std::wstring text = length != 0 ? std::wstring(static_cast<const wchar_t*>(buffer.get()), length)
                                    : L"error " + std::to_wstring(code);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

} // namespace platform
