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

std::wstring LogEntryHead(bool logIsEmpty, const SYSTEMTIME& time) {
    return (logIsEmpty ? L"" : L"\r\n") + ShortTime(time) + L"\r\n" + Rule + L"\r\n";
}

std::wstring LogEntryText(std::wstring_view message) {
    std::wstring text(message);
    std::replace(text.begin(), text.end(), L'\0', NulStandIn);
    return text;
}

std::wstring LogEntryTail() {
    return L"\r\n" + Rule;
}

std::wstring LogEntry(bool logIsEmpty, const SYSTEMTIME& time, std::wstring_view message) {
    return LogEntryHead(logIsEmpty, time) + LogEntryText(message) + LogEntryTail();
}

} // namespace job
