#include "job/log_entry.h"

#include <algorithm>
#include <cwchar>

namespace job {

namespace {

const std::wstring Rule(60, L'-');

// The box ends its text at a NUL; output that holds one is shown with a visible stand-in there, so the
// rest of the message and the closing rule are kept.
constexpr wchar_t NulStandIn = L'\u2400';

} // namespace

std::wstring ShortTime(const SYSTEMTIME& time) {
    wchar_t text[8] = {};
    std::swprintf(text, 8, L"%02u:%02u", static_cast<unsigned>(time.wHour % 100),
                  static_cast<unsigned>(time.wMinute % 100));
    return text;
}

std::wstring LogEntry(bool logIsEmpty, const SYSTEMTIME& time, std::wstring_view message) {
    std::wstring entry;
    entry.reserve(message.size() + 140);
    if (!logIsEmpty) {
        entry += L"\r\n";
    }
    entry += ShortTime(time);
    entry += L"\r\n";
    entry += Rule;
    entry += L"\r\n";
    const size_t start = entry.size();
    entry += message;
    std::replace(entry.begin() + static_cast<std::ptrdiff_t>(start), entry.end(), L'\0', NulStandIn);
    entry += L"\r\n";
    entry += Rule;
    return entry;
}

} // namespace job
