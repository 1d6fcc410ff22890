#include "platform/command_runner.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <string>

using sysAPI::GetCommandOutput;

namespace {

std::wstring Child(const std::wstring& arguments) {
    return L"\"" + testsupport::ExecutableFolder() + L"\\test_child.exe\" " + arguments;
}

// The same bytes the child writes in its "bytes" mode.
std::wstring Pattern(size_t count) {
    std::wstring text(count, L'\0');
    for (size_t i = 0; i < count; ++i) {
        text[i] = static_cast<wchar_t>('!' + i % 251 % 90);
    }
    return text;
}

} // namespace

TEST(CommandOutput, BatchThatWritesNothingGivesTheEmptyString) {
    testsupport::ScratchDir dir(L"runner");
    testsupport::WriteBytes(dir / L"quiet.bat", "@echo off\r\n");
    EXPECT_EQ(GetCommandOutput(dir / L"quiet.bat"), L"");
    EXPECT_EQ(GetCommandOutput(Child(L"silent")), L"");
}

TEST(CommandOutput, LongOutputInOddWritesComesBackWholeAndInOrder) {
    for (size_t size : {32767u, 32768u, 32769u, 1000003u}) {
        const std::wstring output = GetCommandOutput(Child(L"bytes " + std::to_wstring(size)));
        ASSERT_EQ(output.size(), size);
        EXPECT_TRUE(output == Pattern(size)) << "byte-exact for " << size << " bytes";
    }
}

TEST(CommandOutput, StandardErrorStandsBetweenTheLinesOfStandardOutput) {
    EXPECT_EQ(GetCommandOutput(Child(L"mixed")), L"out 1\r\nerr 1\r\nout 2\r\nerr 2\r\nout 3\r\nerr 3\r\n");
}

TEST(CommandOutput, ChildFindsNoStandardInput) {
    const std::wstring output = GetCommandOutput(Child(L"stdin"));
    EXPECT_NE(output, L"stdin: data\r\n");
    EXPECT_EQ(output.rfind(L"stdin: ", 0), 0u);
}

TEST(CommandOutput, WaitsForABackgroundProcessThatHoldsThePipe) {
    EXPECT_EQ(GetCommandOutput(Child(L"background 1500")), L"parent done\r\nlate line\r\n");
}

TEST(CommandOutput, CommandNamingNoFileGivesTheFailureText) {
    const std::wstring command = L"Z:\\no such folder\\nothing.exe /x";
    EXPECT_EQ(GetCommandOutput(command), L"error: '" + command + L"' 不是可运行的程序");
}

TEST(CommandOutput, DoubleByteCharacterSplitAcrossReadsIsKeptWhole) {
    EXPECT_EQ(GetCommandOutput(Child(L"split")), L"A中中B\r\n");
}

TEST(CommandOutput, BatchOutputComesBackInTheAnsiCodePageWithItsLineEnds) {
    testsupport::ScratchDir dir(L"runner");
    // "echo 中文" and a blank echo line, in code page 936.
    testsupport::WriteBytes(dir / L"talk.bat", "@echo off\r\necho \xD6\xD0\xCE\xC4\r\necho.\r\n");
    EXPECT_EQ(GetCommandOutput(dir / L"talk.bat"), L"中文\r\n\r\n");
}

TEST(CommandOutput, TheChildCannotReadThePipe) {
    EXPECT_EQ(GetCommandOutput(Child(L"handles")), L"pipe read ends: 0\r\n");
}
