#include "platform/ansi_text.h"
#include "platform/win32_error.h"

#include <gtest/gtest.h>

#include <windows.h>

using platform::FromAnsi;
using platform::ToAnsi;
using platform::TryToAnsi;

TEST(AnsiText, TestBedRunsUnderCodePage936) {
    EXPECT_EQ(::GetACP(), 936u);
}

TEST(AnsiText, ChineseRoundTripsThroughGbk) {
    const std::wstring text = L"批处理文件：D:\\存档\\a.rar";
    const auto bytes = TryToAnsi(text);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->substr(0, 4), std::string("\xC5\xFA\xB4\xA6"));
    EXPECT_EQ(FromAnsi(*bytes), text);
}

TEST(AnsiText, UnrepresentableCharacterIsReportedNotReplaced) {
    EXPECT_FALSE(TryToAnsi(L"caf\u00e9\u0915.rar").has_value());
    EXPECT_FALSE(TryToAnsi(L"\U0001F600.rar").has_value());
    try {
        ToAnsi(L"a\u0915b");
        FAIL() << "no error raised";
    } catch (const platform::Win32Error& error) {
        EXPECT_EQ(error.code(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    }
}

TEST(AnsiText, LiteralQuestionMarkIsNotMistakenForAFailure) {
    EXPECT_EQ(TryToAnsi(L"a?b*.rar").value(), "a?b*.rar");
    EXPECT_EQ(TryToAnsi(L"").value(), "");
}

TEST(AnsiText, LeadBytesOfGbk) {
    EXPECT_TRUE(platform::IsAnsiLeadByte(0xC5));
    EXPECT_TRUE(platform::IsAnsiLeadByte(0x81));
    EXPECT_FALSE(platform::IsAnsiLeadByte('A'));
    EXPECT_FALSE(platform::IsAnsiLeadByte(0x80));
}
