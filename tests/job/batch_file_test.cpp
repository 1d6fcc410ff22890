#include "job/batch_file.h"
#include "scratch.h"

#include <gtest/gtest.h>

TEST(BatchLine, PathsThatAreNotShortAreQuotedAndTheirPercentSignsDoubled) {
    EXPECT_EQ(job::BatchLine(L"C:\\PROGRA~1\\RAR.EXE", L"D:\\ARCHIV~1\\A.RAR", L"*.htm"),
              L"C:\\PROGRA~1\\RAR.EXE d D:\\ARCHIV~1\\A.RAR *.htm");
    EXPECT_EQ(job::BatchLine(L"C:\\My Tools\\Rar.exe", L"D:\\a&b\\100%.rar", L"*.htm"),
              L"\"C:\\My Tools\\Rar.exe\" d \"D:\\a&b\\100%%.rar\" *.htm");
}

// The window refuses what cannot be written before the build starts; a build that fails part-way all the
// same (here the list is gone) must leave the user's batch as it was.
TEST(CreatBatFile, AFailedBuildLeavesTheBatchThatWasThereAsItWas) {
    testsupport::ScratchDir dir(L"batch");
    job::JobState form;
    form.strListFile = dir / L"RARLIST.LST";
    form.strRarExe = L"Z:\\TOOLS~1\\RAR.EXE";
    form.cmbFileTypeText = [] { return std::wstring(L"*.htm"); };
    testsupport::WriteBytes(dir / L"Brindle.BAT", "kept by the user\r\n");
    EXPECT_FALSE(job::CreatBatFile(form, dir / L"Brindle.BAT"));
    EXPECT_EQ(testsupport::ReadBytes(dir / L"Brindle.BAT"), "kept by the user\r\n");
    EXPECT_FALSE(testsupport::Exists(dir / L"Brindle.BAT.new"));
    testsupport::WriteBytes(form.strListFile, "Z:\\A.RAR\r\n\r\n");
    EXPECT_TRUE(job::CreatBatFile(form, dir / L"Brindle.BAT"));
    EXPECT_EQ(testsupport::ReadBytes(dir / L"Brindle.BAT"),
              "@echo off\r\nZ:\\TOOLS~1\\RAR.EXE d Z:\\A.RAR *.htm\r\n");
    EXPECT_FALSE(testsupport::Exists(form.strListFile));
}
