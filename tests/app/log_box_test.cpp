#include "app/log_box.h"
#include "window_fixture.h"

#include <string>
#include <vector>

using apptest::Text;

namespace {

SYSTEMTIME At(WORD hour, WORD minute) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 7;
    time.wHour = hour;
    time.wMinute = minute;
    return time;
}

const std::wstring Rule(60, L'-');

} // namespace

class LogBox : public apptest::WindowTest {
  protected:
    HWND Log() const { return Control(app::txtOutput); }
};

TEST_F(LogBox, EntriesFollowEachOtherWithOneLineBreakBetween) {
    app::AppendLogEntry(Log(), L"A", At(9, 5));
    EXPECT_EQ(Text(Log()).size(), 1u + 131u);
    app::AppendLogEntry(Log(), L"B", At(9, 6));
    EXPECT_EQ(Text(Log()),
              L"09:05\r\n" + Rule + L"\r\nA\r\n" + Rule + L"\r\n09:06\r\n" + Rule + L"\r\nB\r\n" + Rule);
    EXPECT_EQ(Text(Log()).size(), 266u);
}

TEST_F(LogBox, MessagesOfSeveralLinesOrNoneAreWrittenUnchanged) {
    app::AppendLogEntry(Log(), L"", At(17, 42));
    app::AppendLogEntry(Log(), L"line 1\r\n\tline 2\r\n", At(17, 42));
    EXPECT_EQ(Text(Log()), L"17:42\r\n" + Rule + L"\r\n\r\n" + Rule + L"\r\n17:42\r\n" + Rule +
                               L"\r\nline 1\r\n\tline 2\r\n\r\n" + Rule);
}

TEST_F(LogBox, HoldsMegabytesWithoutLosingACharacter) {
    std::wstring big;
    for (int i = 0; big.size() < 3'000'000; ++i) {
        big += L"Deleting from Z:\\ARCHIVES\\" + std::to_wstring(i) + L".RAR\r\n";
    }
    window_->WriteMessage(big);
    window_->WriteMessage(L"after");
    const std::wstring log = Text(Log());
    EXPECT_EQ(log.size(), big.size() + 131 + 5 + 133);
    EXPECT_EQ(log.substr(7 + 62, big.size()), big);
    DWORD start = 0, end = 0;
    ::SendMessageW(Log(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, log.size());
    EXPECT_EQ(end, log.size());
}

TEST_F(LogBox, ManyEntriesKeepTheirOrderAndTheEndStaysInView) {
    // Enough entries for the box's buffer to be handed over several times.
    size_t expectedSize = 0;
    std::vector<std::wstring> messages;
    for (int i = 0; i < 300; ++i) {
        messages.push_back(std::wstring(2000, static_cast<wchar_t>(L'a' + i % 26)) + std::to_wstring(i));
        app::AppendLogEntry(Log(), messages.back(), At(8, 0));
        expectedSize += messages.back().size() + (i == 0 ? 131 : 133);
    }
    const std::wstring log = Text(Log());
    ASSERT_EQ(log.size(), expectedSize);
    size_t at = 0;
    for (size_t i = 0; i < messages.size(); ++i) {
        at += (i == 0 ? 7 : 9) + 62; // the time line and the first rule
        ASSERT_EQ(log.compare(at, messages[i].size(), messages[i]), 0) << "entry " << i;
        at += messages[i].size() + 62;
    }
    DWORD start = 0, end = 0;
    ::SendMessageW(Log(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, log.size());
    EXPECT_EQ(end, log.size());
    const LRESULT lines = ::SendMessageW(Log(), EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(::SendMessageW(Log(), EM_GETFIRSTVISIBLELINE, 0, 0), lines - 20) << "the last entry is in view";
}
