#include "platform/win32_error.h"

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
    text += L"\r\n(" + std::wstring(call_.begin(), call_.end()) + L", " + std::to_wstring(code_) + L")";
    if (!subject_.empty()) {
        text += L"\r\n" + subject_;
    }
    return text;
}

void ThrowLastError(std::string call, std::wstring subject) {
    throw Win32Error(std::move(call), ::GetLastError(), std::move(subject));
}

std::wstring SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length != 0 ? std::wstring(buffer, length) : L"error " + std::to_wstring(code);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

} // namespace platform
