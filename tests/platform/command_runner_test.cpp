#include "platform/ansi_text.h"
#include "platform/command_runner.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <string>

using sysAPI::GetCommandOutput;

namespace {

std::wstring Child(const std::wstring& arguments) {
    return L"\"" + testsupport::ExecutableFolder() + L"\\test_child.exe\" " + arguments;
}

std::wstring Repeated(const std::wstring& unit, size_t count) {
    std::wstring text;
    for (size_t i = 0; i < count; ++i) {
        text += unit;
    }
    return text;
}

} // namespace

TEST(CommandOutput, ComesBackWholeAndInOrder) {
    ASSERT_EQ(::GetACP(), 936u) << "the test bed runs under code page 936";
    const std::wstring missing = L"Z:\\no such folder\\nothing.exe /x";
    const struct {
        std::wstring command;
        std::wstring output;
    } cases[] = {
        {Child(L"silent"), L""},
        // 32765, 32770 and (past the first MiB of the capture, a character split across it) 1,100,000 bytes.
        {Child(L"gbk 6553"), Repeated(L"中中x", 6553)},
        {Child(L"gbk 6554"), Repeated(L"中中x", 6554)},
        {Child(L"gbk 220000"), Repeated(L"中中x", 220000)},
        {Child(L"split"), L"A中中B\r\n"},
        {Child(L"mixed"), L"out 1\r\nerr 1\r\nout 2\r\nerr 2\r\nout 3\r\nerr 3\r\n"},
        {Child(L"stdin"), L"stdin: none\r\n"},
        // A program the child leaves running holds the pipe; its output is waited for.
        {L"cmd /d /c start /b \"\" " + Child(L"late 1500") + L" & echo parent done",
         L"parent done\r\nlate line\r\n"},
        {missing, L"error: '" + missing + L"' 不是可运行的程序"},
    };
    for (const auto& c : cases) {
        const std::wstring output = GetCommandOutput(c.command);
        EXPECT_EQ(output.size(), c.output.size()) << testing::PrintToString(c.command);
        EXPECT_TRUE(output == c.output) << testing::PrintToString(c.command);
    }
}

// Code page 936: a byte from 0x81 to 0xFE leads a two-byte character, whose second byte may itself look
// like a lead byte. A chunk that ends in a lone lead byte keeps it for the next chunk.
TEST(AnsiText, AChunkEndsOnACharacterBoundary) {
    const struct {
        std::string bytes;
        size_t complete;
    } cases[] = {
        {"", 0},
        {"abc", 3},
        {"a\xD6", 1},            // a lone lead byte
        {"a\xD6\xD0", 3},        // one whole character
        {"a\xD6\xD0\xD6", 3},    // a whole one, then a lone lead byte
        {"\xD6\xD0\xD6\xD0", 4}, // two whole characters made of possible lead bytes
        {"x\xD6"
         "A",
         3}, // a trail byte that cannot lead ends the character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::CompleteAnsiLength(c.bytes), c.complete) << testing::PrintToString(c.bytes);
    }
}
