#include "job/batch_file.h"
#include "job/list_file.h"
#include "job/refusal.h"
#include "job/working_files.h"
#include "platform/ansi_text.h"
#include "platform/unique_handle.h"
#include "scratch.h"

#include <gtest/gtest.h>

TEST(BatchLine, PathsThatAreNotShortAreQuotedAndTheirPercentSignsDoubled) {
    EXPECT_EQ(job::BatchLine(L"C:\\PROGRA~1\\RAR.EXE", L"D:\\ARCHIV~1\\A.RAR", L"*.htm"),
              L"C:\\PROGRA~1\\RAR.EXE d D:\\ARCHIV~1\\A.RAR *.htm");
    EXPECT_EQ(job::BatchLine(L"C:\\My Tools\\Rar.exe", L"D:\\a&b\\100%.rar", L"*.htm"),
              L"\"C:\\My Tools\\Rar.exe\" d \"D:\\a&b\\100%%.rar\" *.htm");
}

// The interpreter reads 8191 bytes of a line: a Chinese character takes two of them.
TEST(ArchiveLines, ALineLongerThanTheInterpreterReadsIsRefusedByItsBytes) {
    job::JobState form;
    form.strRarExe = L"Z:\\TOOLS~1\\RAR.EXE";
    form.strFileList = L"Z:\\A.RAR| |Z:\\B.RAR|";
    const std::wstring head = L"Z:\\TOOLS~1\\RAR.EXE d Z:\\A.RAR ";
    const struct {
        std::wstring pattern;
        bool fits;
    } cases[] = {
        {std::wstring(job::MaxBatchLineLength - head.size(), L'x'), true},
        {std::wstring(job::MaxBatchLineLength - head.size() + 1, L'x'), false},
        {std::wstring((job::MaxBatchLineLength - head.size()) / 2, L'网'), true},
        {std::wstring((job::MaxBatchLineLength - head.size()) / 2 + 1, L'网'), false},
    };
    for (const auto& c : cases) {
        const auto line = head + c.pattern;
        if (c.fits) {
            EXPECT_EQ(job::ArchiveLines(form, c.pattern).front(), line);
        } else {
            EXPECT_THROW(job::ArchiveLines(form, c.pattern), job::Refusal) << line.size();
        }
    }
}

// From the moment each is written until the run removes it, the list and the batch can be read by any
// program (the interpreter reads the batch) but written, renamed or deleted by none.
TEST(CreatBatFile, WritesTheLinesGivenRemovesTheListAndHoldsTheBatchUntilTheRunEnds) {
    testsupport::ScratchDir dir(L"batch");
    job::JobState form;
    form.strListFile = dir / L"RARLIST.LST";
    form.strBatFile = dir / L"Brindle.BAT";
    form.strRarExe = L"Z:\\TOOLS~1\\RAR.EXE";
    form.strFileList = L"Z:\\A.RAR|";
    const auto heldFromOthers = [](const std::wstring& path) {
        const platform::unique_handle reader(
            ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, 0, nullptr));
        const platform::unique_handle writer(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, 0, nullptr));
        return reader && !writer && !::DeleteFileW(path.c_str()) &&
               !::MoveFileExW(path.c_str(), (path + L".moved").c_str(), MOVEFILE_REPLACE_EXISTING) &&
               job::FolderInUseByARun(path.substr(0, path.find_last_of(L'\\')));
    };
    // As the interpreter reads the batch: sharing writing and deleting with the run that holds it.
    const auto readShared = [](const std::wstring& path) {
        const platform::unique_handle file(
            ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, 0, nullptr));
        char bytes[256];
        DWORD got = 0;
        return ::ReadFile(file.get(), bytes, sizeof bytes, &got, nullptr) ? std::string(bytes, got)
                                                                          : std::string();
    };
    for (const bool removeIfUnrun : {true, false}) {
        {
            job::WorkingFiles files(form);
            job::WriteListFile(form, files);
            EXPECT_EQ(readShared(form.strListFile), "Z:\\A.RAR\r\n\r\n");
            EXPECT_TRUE(heldFromOthers(form.strListFile));
            std::wstring why;
            EXPECT_TRUE(job::CreatBatFile(form.strBatFile, job::ArchiveLines(form, L"*.htm"), why, files,
                                          removeIfUnrun));
            EXPECT_EQ(readShared(form.strBatFile), "@echo off\r\nZ:\\TOOLS~1\\RAR.EXE d Z:\\A.RAR *.htm\r\n");
            EXPECT_FALSE(testsupport::Exists(form.strListFile));
            EXPECT_TRUE(heldFromOthers(form.strBatFile));
        }
        EXPECT_EQ(testsupport::Exists(form.strBatFile), !removeIfUnrun)
            << "removed only where the run made it";
        EXPECT_FALSE(job::FolderInUseByARun(dir.path()));
    }
}

// The interpreter reads a batch in the OEM code page; where that is not the ANSI one, a character that
// reads back as another would name another archive or member.
TEST(BatchText, OnlyTextTheInterpreterReadsBackAsWrittenGoesIntoTheBatch) {
    const struct {
        std::wstring text;
        unsigned ansi, oem;
        bool carried;
    } cases[] = {
        {L"D:\\Caf\u00E9\\a.rar", 1252, 850, false},
        {L"D:\\Cafe\\a.rar", 1252, 850, true},
        {L"D:\\\u7F51\u9875\\a.rar", 936, 936, true},
        {L"D:\\\uD55C\\a.rar", 936, 936, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::TryToBatchText(c.text, c.ansi, c.oem).has_value(), c.carried)
            << testing::PrintToString(c.text);
    }
}
