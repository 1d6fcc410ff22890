#include "job/batch_file.h"
#include "job/list_file.h"
#include "platform/win32_error.h"
#include "scratch.h"

#include <gtest/gtest.h>

using job::BatchLine;
using job::CreatBatFile;
using job::JobState;

namespace {

class BatchFiles : public ::testing::Test {
  protected:
    BatchFiles() : dir_(L"batch-files") {
        form_.strListFile = dir_ / L"RARLIST.LST";
        form_.strRarExe = L"Z:\\TOOLS~1\\RAR.EXE";
        form_.cmbFileTypeText = [this] { return pattern_; };
    }
    std::string Batch() const { return testsupport::ReadBytes(dir_ / L"Brindle.BAT"); }

    testsupport::ScratchDir dir_;
    JobState form_;
    std::wstring pattern_ = L"*.htm";
};

} // namespace

TEST_F(BatchFiles, ListFileIsOneLinePerEntryAndAFinalEmptyLine) {
    form_.strFileList = L"C:\\A.RAR|C:\\存档\\B.RAR||";
    job::WriteListFile(form_);
    EXPECT_EQ(testsupport::ReadBytes(form_.strListFile),
              "C:\\A.RAR\r\nC:\\\xB4\xE6\xB5\xB5\\B.RAR\r\n\r\n\r\n");
    form_.strFileList.clear();
    job::WriteListFile(form_);
    EXPECT_EQ(testsupport::ReadBytes(form_.strListFile), "\r\n");
}

TEST_F(BatchFiles, OneArchiverLinePerArchiveAndTheListIsDeleted) {
    form_.strFileList = L"Z:\\DATA\\A.RAR|  |Z:\\数据\\B.RAR|";
    job::WriteListFile(form_);
    ASSERT_TRUE(CreatBatFile(form_, dir_ / L"Brindle.BAT"));
    EXPECT_EQ(Batch(), "@echo off\r\n"
                       "Z:\\TOOLS~1\\RAR.EXE d Z:\\DATA\\A.RAR *.htm\r\n"
                       "Z:\\TOOLS~1\\RAR.EXE d Z:\\\xCA\xFD\xBE\xDD\\B.RAR *.htm\r\n");
    EXPECT_FALSE(testsupport::Exists(form_.strListFile));
}

TEST_F(BatchFiles, EmptyListGivesOnlyEchoOff) {
    job::WriteListFile(form_);
    ASSERT_TRUE(CreatBatFile(form_, dir_ / L"Brindle.BAT"));
    EXPECT_EQ(Batch(), "@echo off\r\n");
}

TEST_F(BatchFiles, LastLineWithoutCrLfAndBlankLinesAreHandled) {
    testsupport::WriteBytes(form_.strListFile, "  \r\n Z:\\A.RAR \r\n\r\nZ:\\B.RAR");
    ASSERT_TRUE(CreatBatFile(form_, dir_ / L"Brindle.BAT"));
    EXPECT_EQ(Batch(), "@echo off\r\n"
                       "Z:\\TOOLS~1\\RAR.EXE d Z:\\A.RAR *.htm\r\n"
                       "Z:\\TOOLS~1\\RAR.EXE d Z:\\B.RAR *.htm\r\n");
}

TEST_F(BatchFiles, PatternIsReadForEveryLine) {
    testsupport::WriteBytes(form_.strListFile, "Z:\\A.RAR\r\nZ:\\B.RAR\r\n\r\n");
    int reads = 0;
    form_.cmbFileTypeText = [&reads] {
        return ++reads == 1 ? std::wstring(L"*.htm") : std::wstring(L"*.url");
    };
    ASSERT_TRUE(CreatBatFile(form_, dir_ / L"Brindle.BAT"));
    EXPECT_EQ(reads, 2);
    EXPECT_NE(Batch().find("B.RAR *.url"), std::string::npos);
}

TEST_F(BatchFiles, AFailedBuildLeavesTheBatchThatWasThereAsItWas) {
    const std::wstring manyMasks = [] {
        std::wstring masks;
        for (int i = 0; i < 1200; ++i) {
            masks += L"*.x" + std::to_wstring(10000 + i) + L" ";
        }
        return masks;
    }();
    struct Case {
        const char* what;
        std::wstring pattern;
        bool listPresent;
    } cases[] = {
        {"empty pattern", L"", true},
        {"blank pattern", L" \t ", true},
        {"line too long", manyMasks, true},
        {"list missing", L"*.htm", false},
    };
    for (const auto& c : cases) {
        testsupport::WriteBytes(dir_ / L"Brindle.BAT", "kept by the user\r\n");
        ::DeleteFileW(form_.strListFile.c_str());
        if (c.listPresent) {
            testsupport::WriteBytes(form_.strListFile, "Z:\\A.RAR\r\n\r\n");
        }
        pattern_ = c.pattern;
        EXPECT_FALSE(CreatBatFile(form_, dir_ / L"Brindle.BAT")) << c.what;
        EXPECT_EQ(Batch(), "kept by the user\r\n") << c.what;
        EXPECT_EQ(testsupport::Exists(form_.strListFile), c.listPresent) << c.what << ": the list stays";
        EXPECT_FALSE(testsupport::Exists(dir_ / L"Brindle.BAT.new")) << c.what;
    }
}

TEST_F(BatchFiles, ReadOnlyBatchIsNotOverwrittenAndTheListStays) {
    testsupport::WriteBytes(form_.strListFile, "Z:\\A.RAR\r\n\r\n");
    testsupport::WriteBytes(dir_ / L"Brindle.BAT", "someone else's");
    testsupport::SetAttributes(dir_ / L"Brindle.BAT", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(CreatBatFile(form_, dir_ / L"Brindle.BAT"));
    EXPECT_EQ(Batch(), "someone else's");
    EXPECT_TRUE(testsupport::Exists(form_.strListFile));
}

TEST_F(BatchFiles, ArchiveNotRepresentableInTheCodePageFails) {
    form_.strFileList = L"Z:\\\u0915.RAR|";
    EXPECT_THROW(job::WriteListFile(form_), platform::Win32Error);
    pattern_ = L"*.\u0915";
    testsupport::WriteBytes(form_.strListFile, "Z:\\A.RAR\r\n");
    EXPECT_FALSE(CreatBatFile(form_, dir_ / L"Brindle.BAT"));
}

TEST(BatchLine, TrueShortPathsAreWrittenPlain) {
    EXPECT_EQ(BatchLine(L"C:\\PROGRA~1\\RAR.EXE", L"D:\\ARCHIV~1\\A.RAR", L"*.htm"),
              L"C:\\PROGRA~1\\RAR.EXE d D:\\ARCHIV~1\\A.RAR *.htm");
}

TEST(BatchLine, LongPathsWithBlanksOrSpecialCharactersAreQuoted) {
    EXPECT_EQ(BatchLine(L"C:\\My Tools\\Rar.exe", L"D:\\a&b\\x.rar", L"*.htm"),
              L"\"C:\\My Tools\\Rar.exe\" d \"D:\\a&b\\x.rar\" *.htm");
    EXPECT_EQ(job::QuoteIfNeeded(L"D:\\100%\\X.RAR"), L"D:\\100%%\\X.RAR");
}

TEST(BatchLine, PatternSpecialCharactersAreNeutralisedOutsideQuotes) {
    EXPECT_EQ(job::EscapeForBatch(L"*.htm *.url"), L"*.htm *.url");
    EXPECT_EQ(job::EscapeForBatch(L"a&b.txt"), L"a^&b.txt");
    EXPECT_EQ(job::EscapeForBatch(L"100%.txt"), L"100%%.txt");
    EXPECT_EQ(job::EscapeForBatch(L"x|y <z> ^w"), L"x^|y ^<z^> ^^w");
    EXPECT_EQ(job::EscapeForBatch(L"\"a&b c.txt\" d&e"), L"\"a&b c.txt\" d^&e");
    EXPECT_EQ(job::EscapeForBatch(L"\"50%.txt\""), L"\"50%%.txt\"");
}
