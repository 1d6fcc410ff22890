#include "job/log_entry.h"

#include <gtest/gtest.h>

using job::LogEntry;

namespace {

SYSTEMTIME At(WORD hour, WORD minute) {
    SYSTEMTIME time{};
    time.wHour = hour;
    time.wMinute = minute;
    return time;
}

const std::wstring Rule(60, L'-');

} // namespace

TEST(LogEntry, TwoEntriesAsTheWorkedExample) {
    std::wstring log;
    log += LogEntry(log.empty(), At(9, 5), L"A");
    EXPECT_EQ(log.size(), 132u);
    log += LogEntry(log.empty(), At(9, 6), L"B");
    EXPECT_EQ(log.size(), 266u);
    EXPECT_EQ(log, L"09:05\r\n" + Rule + L"\r\nA\r\n" + Rule + L"\r\n09:06\r\n" + Rule + L"\r\nB\r\n" + Rule);
}

TEST(LogEntry, SizesAreMessagePlus131ThenPlus133) {
    const std::wstring message(1000, L'x');
    EXPECT_EQ(LogEntry(true, At(17, 42), message).size(), message.size() + 131);
    EXPECT_EQ(LogEntry(false, At(17, 42), message).size(), message.size() + 133);
}

TEST(LogEntry, MessageIsKeptCharacterForCharacter) {
    const std::wstring message = L"第一行\r\n\tsecond\r\n";
    const std::wstring entry = LogEntry(true, At(0, 0), message);
    EXPECT_EQ(entry, L"00:00\r\n" + Rule + L"\r\n" + message + L"\r\n" + Rule);
    EXPECT_EQ(LogEntry(true, At(23, 59), L""), L"23:59\r\n" + Rule + L"\r\n\r\n" + Rule);
}

TEST(LogEntry, TimeIsTwentyFourHourWithTwoDigits) {
    EXPECT_EQ(job::ShortTime(At(7, 3)), L"07:03");
    EXPECT_EQ(job::ShortTime(At(19, 30)), L"19:30");
}
