#include "platform/text_file.h"
#include "platform/win32_error.h"
#include "scratch.h"

#include <gtest/gtest.h>

using platform::TextFileReader;
using platform::TextFileWriter;

TEST(TextFile, WritesAnsiLinesWithCrLf) {
    testsupport::ScratchDir dir(L"text-file-write");
    {
        TextFileWriter writer(dir / L"out.txt");
        writer.WriteLine(L"@echo off");
        writer.WriteLine(L"中文");
        writer.Write(L"tail");
        writer.Close();
    }
    EXPECT_EQ(testsupport::ReadBytes(dir / L"out.txt"), "@echo off\r\n\xD6\xD0\xCE\xC4\r\ntail");
}

TEST(TextFile, OpeningForOutputEmptiesAnExistingFile) {
    testsupport::ScratchDir dir(L"text-file-empty");
    testsupport::WriteBytes(dir / L"out.txt", "old content that is longer");
    TextFileWriter writer(dir / L"out.txt");
    writer.Write(L"new");
    writer.Close();
    EXPECT_EQ(testsupport::ReadBytes(dir / L"out.txt"), "new");
}

TEST(TextFile, ReadOnlyFileIsNeitherOverwrittenNorDeleted) {
    testsupport::ScratchDir dir(L"text-file-readonly");
    testsupport::WriteBytes(dir / L"locked.bat", "keep");
    testsupport::SetAttributes(dir / L"locked.bat", FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(TextFileWriter(dir / L"locked.bat"), platform::Win32Error);
    EXPECT_THROW(platform::RemoveFile(dir / L"locked.bat"), platform::Win32Error);
    EXPECT_EQ(testsupport::ReadBytes(dir / L"locked.bat"), "keep");
}

TEST(TextFile, UnrepresentableTextRaises) {
    testsupport::ScratchDir dir(L"text-file-unicode");
    TextFileWriter writer(dir / L"out.txt");
    EXPECT_THROW(writer.WriteLine(L"\u0915"), platform::Win32Error);
}

TEST(TextFile, ReadsLinesIncludingALastLineWithoutCrLf) {
    testsupport::ScratchDir dir(L"text-file-read");
    testsupport::WriteBytes(dir / L"in.txt", "one\r\n\r\n  \r\n\xD6\xD0\r\nlast");
    TextFileReader reader(dir / L"in.txt");
    std::vector<std::wstring> lines;
    while (!reader.AtEnd()) {
        lines.push_back(reader.ReadLine());
    }
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"one", L"", L"  ", L"中", L"last"}));
}

TEST(TextFile, SingleCrLfIsOneEmptyLine) {
    testsupport::ScratchDir dir(L"text-file-single");
    testsupport::WriteBytes(dir / L"in.txt", "\r\n");
    TextFileReader reader(dir / L"in.txt");
    ASSERT_FALSE(reader.AtEnd());
    EXPECT_EQ(reader.ReadLine(), L"");
    EXPECT_TRUE(reader.AtEnd());
}

TEST(TextFile, MissingFileRaisesOnOpenAndDelete) {
    testsupport::ScratchDir dir(L"text-file-missing");
    EXPECT_THROW(TextFileReader(dir / L"none.txt"), platform::Win32Error);
    EXPECT_THROW(platform::RemoveFile(dir / L"none.txt"), platform::Win32Error);
}
