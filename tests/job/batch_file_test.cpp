#include "job/batch_file.h"
#include "scratch.h"

#include <gtest/gtest.h>

TEST(BatchLine, PathsThatAreNotShortAreQuotedAndTheirPercentSignsDoubled) {
    EXPECT_EQ(job::BatchLine(L"C:\\PROGRA~1\\RAR.EXE", L"D:\\ARCHIV~1\\A.RAR", L"*.htm"),
              L"C:\\PROGRA~1\\RAR.EXE d D:\\ARCHIV~1\\A.RAR *.htm");
    EXPECT_EQ(job::BatchLine(L"C:\\My Tools\\Rar.exe", L"D:\\a&b\\100%.rar", L"*.htm"),
              L"\"C:\\My Tools\\Rar.exe\" d \"D:\\a&b\\100%%.rar\" *.htm");
}

TEST(CreatBatFile, AFailedBuildLeavesTheBatchThatWasThereAsItWas) {
    testsupport::ScratchDir dir(L"batch");
    job::JobState form;
    form.strListFile = dir / L"RARLIST.LST";
    form.strRarExe = L"Z:\\TOOLS~1\\RAR.EXE";
    std::wstring pattern;
    form.cmbFileTypeText = [&pattern] { return pattern; };
    const struct {
        const char* what;
        std::wstring pattern;
        bool listPresent;
        DWORD batchAttributes;
    } cases[] = {
        {"blank pattern", L" \t ", true, 0},
        {"line too long", std::wstring(8200, L'x'), true, 0},
        {"pattern outside the code page", L"*.\u0915", true, 0},
        {"list missing", L"*.htm", false, 0},
        {"read-only batch", L"*.htm", true, FILE_ATTRIBUTE_READONLY},
    };
    for (const auto& c : cases) {
        testsupport::WriteBytes(dir / L"Brindle.BAT", "kept by the user\r\n");
        testsupport::SetAttributes(dir / L"Brindle.BAT",
                                   c.batchAttributes ? c.batchAttributes : FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(form.strListFile.c_str());
        if (c.listPresent) {
            testsupport::WriteBytes(form.strListFile, "Z:\\A.RAR\r\n\r\n");
        }
        pattern = c.pattern;
        EXPECT_FALSE(job::CreatBatFile(form, dir / L"Brindle.BAT")) << c.what;
        EXPECT_EQ(testsupport::ReadBytes(dir / L"Brindle.BAT"), "kept by the user\r\n") << c.what;
        EXPECT_EQ(testsupport::Exists(form.strListFile), c.listPresent) << c.what << ": the list stays";
        EXPECT_FALSE(testsupport::Exists(dir / L"Brindle.BAT.new")) << c.what;
        testsupport::SetAttributes(dir / L"Brindle.BAT", FILE_ATTRIBUTE_NORMAL);
    }
    pattern = L"*.htm";
    EXPECT_TRUE(job::CreatBatFile(form, dir / L"Brindle.BAT"));
    EXPECT_EQ(testsupport::ReadBytes(dir / L"Brindle.BAT"),
              "@echo off\r\nZ:\\TOOLS~1\\RAR.EXE d Z:\\A.RAR *.htm\r\n");
    EXPECT_FALSE(testsupport::Exists(form.strListFile));
}
