#pragma once
// The text of one message-log entry: time line, rule, message, rule; entries joined by one CR LF.

#include <windows.h>

#include <string>
#include <string_view>

namespace job {

// "HH:MM" on the 24-hour clock.
std::wstring ShortTime(const SYSTEMTIME& time);

// The text to append to a log for message at time; logIsEmpty decides the leading CR LF. The log never
// ends with a line break, so each entry is appended at the end as it stands.
std::wstring LogEntry(bool logIsEmpty, const SYSTEMTIME& time, std::wstring_view message);

// The same entry in three parts, for a message that arrives piece by piece: the time line and the rule,
// each piece of the message as the log shows it, and the closing rule.
std::wstring LogEntryHead(bool logIsEmpty, const SYSTEMTIME& time);
std::wstring LogEntryText(std::wstring_view message);
std::wstring LogEntryTail();

} // namespace job
