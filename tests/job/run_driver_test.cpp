#include "job/run_driver.h"
#include "platform/sys_api.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <vector>

using job::RunInputs;

namespace {

struct RecordingView : job::RunView {
    void ShowError(const std::wstring& text) override { errors.push_back(text); }
    void WriteMessage(const std::wstring& message) override { messages.push_back(message); }
    void SetBusy(bool busy) override { busyChanges.push_back(busy); }

    std::vector<std::wstring> errors;
    std::vector<std::wstring> messages;
    std::vector<bool> busyChanges;
};

// The archiver's arguments as it logged them: verb, archive, masks.
std::vector<std::string> Fields(const std::string& call) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t end = call.find('\t'); end != std::string::npos; end = call.find('\t', start)) {
        fields.push_back(call.substr(start, end - start));
        start = end + 1;
    }
    fields.push_back(call.substr(start));
    return fields;
}

// Wine keeps the on-disk case of names that are valid 8.3 names already.
bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.data() + text.size() - tail.size(),
                            static_cast<int>(tail.size()), tail.data(),
                            static_cast<int>(tail.size())) == CSTR_EQUAL;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class RunDriver : public ::testing::Test {
  protected:
    RunDriver() : root_(L"run-driver"), folder_(root_ / L"my archives") {
        testsupport::MakeDir(root_ / L"tools");
        ::CopyFileW((testsupport::ExecutableFolder() + L"\\Rar.exe").c_str(),
                    (root_ / L"tools\\Rar.exe").c_str(), FALSE);
        testsupport::MakeDir(folder_);
        form_.strRarExe = sysAPI::GetShortPath(root_ / L"tools\\Rar.exe");
        form_.cmbFileTypeText = [this] { return pattern_; };
    }
    void Run(const std::wstring& folder, bool subfolders, bool batchOnly) {
        job::RunCleanUp(form_, RunInputs{folder, subfolders, batchOnly}, view_);
    }
    std::vector<std::string> Calls() const {
        const std::wstring log = root_ / L"tools\\rar-calls.log";
        return testsupport::Exists(log) ? Lines(testsupport::ReadBytes(log)) : std::vector<std::string>();
    }

    testsupport::ScratchDir root_;
    std::wstring folder_;
    job::JobState form_;
    std::wstring pattern_ = L"*.htm";
    RecordingView view_;
};

} // namespace

TEST_F(RunDriver, FullRunLogsTheBatchAndItsOutputAndRemovesTheWorkingFiles) {
    testsupport::WriteBytes(folder_ + L"\\a.rar", "x");
    testsupport::MakeDir(folder_ + L"\\子目录");
    testsupport::WriteBytes(folder_ + L"\\子目录\\b.rar", "x");
    Run(folder_, true, false);

    EXPECT_TRUE(view_.errors.empty());
    ASSERT_EQ(view_.messages.size(), 2u);
    EXPECT_EQ(view_.messages[0], L"批处理文件：" + folder_ + L"\\Brindle.BAT 已生成！");
    EXPECT_EQ(view_.messages[1].find(L"Deleting from "), 0u);
    EXPECT_NE(view_.messages[1].find(L"\r\nDeleting from "), std::wstring::npos)
        << "both archives' output is logged";
    EXPECT_EQ(view_.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_FALSE(testsupport::Exists(folder_ + L"\\Brindle.BAT"));
    EXPECT_FALSE(testsupport::Exists(folder_ + L"\\RARLIST.LST"));

    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    const auto first = Fields(calls[0]);
    const auto second = Fields(calls[1]);
    ASSERT_EQ(first.size(), 3u);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(first[0], "d");
    EXPECT_TRUE(EndsWithNoCase(first[1], "\\A.RAR")) << first[1];
    EXPECT_TRUE(EndsWithNoCase(second[1], "\\B.RAR")) << second[1];
    EXPECT_EQ(first[2], "*.htm");
    EXPECT_EQ(second[2], "*.htm");
}

TEST_F(RunDriver, ArchiverReceivesExactlyTheMasksTyped) {
    testsupport::WriteBytes(folder_ + L"\\a.rar", "x");
    pattern_ = L"*.htm a&b.txt 100%.txt \"x y&z.txt\" ^c <d>|e";
    Run(folder_, false, false);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u) << "no second command ran";
    const auto fields = Fields(calls[0]);
    EXPECT_EQ(fields, (std::vector<std::string>{"d", fields.at(1), "*.htm", "a&b.txt", "100%.txt",
                                                "x y&z.txt", "^c", "<d>|e"}));
}

TEST_F(RunDriver, OnlyBatchLeavesTheBatchAndRunsNothing) {
    testsupport::WriteBytes(folder_ + L"\\a.rar", "x");
    Run(folder_ + L"\\", false, true);
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0], L"批处理文件：" + folder_ + L"\\Brindle.BAT 已生成！");
    EXPECT_EQ(form_.strListFile, folder_ + L"\\RARLIST.LST");
    const std::string batch = testsupport::ReadBytes(folder_ + L"\\Brindle.BAT");
    EXPECT_EQ(batch.rfind("@echo off\r\n", 0), 0u);
    EXPECT_NE(batch.find(" d "), std::string::npos);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(RunDriver, FolderWithoutArchivesLogsAnEmptyOutput) {
    Run(folder_, true, false);
    ASSERT_EQ(view_.messages.size(), 2u);
    EXPECT_EQ(view_.messages[1], L"");
}

TEST_F(RunDriver, MissingFolderIsRefusedWithItsName) {
    Run(folder_ + L"\\gone", false, false);
    ASSERT_EQ(view_.errors.size(), 1u);
    EXPECT_EQ(view_.errors[0], L"文件夹：" + folder_ + L"\\gone 不存在，请检查！");
    Run(L"", false, false);
    EXPECT_EQ(view_.errors[1], L"文件夹： 不存在，请检查！");
    Run(L"Z:\\bad|dir\\x", false, false);
    EXPECT_EQ(view_.errors.size(), 3u);
    EXPECT_TRUE(view_.busyChanges.empty());
}

TEST_F(RunDriver, BlankPatternIsRefusedBeforeAnythingIsWritten) {
    testsupport::WriteBytes(folder_ + L"\\a.rar", "x");
    pattern_ = L"   ";
    Run(folder_, false, false);
    ASSERT_EQ(view_.errors.size(), 1u);
    EXPECT_EQ(view_.errors[0], L"要删除的文件类型不能为空，请检查！");
    EXPECT_FALSE(testsupport::Exists(folder_ + L"\\Brindle.BAT"));
    EXPECT_FALSE(testsupport::Exists(folder_ + L"\\RARLIST.LST"));
    EXPECT_TRUE(Calls().empty());
}

TEST_F(RunDriver, ABatchThatWasNotBuiltIsNeverRun) {
    testsupport::WriteBytes(folder_ + L"\\a.rar", "x");
    testsupport::WriteBytes(folder_ + L"\\Brindle.BAT", "@echo off\r\necho someone else's\r\n");
    testsupport::SetAttributes(folder_ + L"\\Brindle.BAT", FILE_ATTRIBUTE_READONLY);
    Run(folder_, false, false);
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0], L"批处理文件：" + folder_ + L"\\Brindle.BAT 生成失败！");
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(testsupport::Exists(folder_ + L"\\Brindle.BAT")) << "not this run's file";
    EXPECT_FALSE(testsupport::Exists(folder_ + L"\\RARLIST.LST")) << "this run's list is removed";
    testsupport::SetAttributes(folder_ + L"\\Brindle.BAT", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RunDriver, ErrorInTheMiddleIsShownAndTheRunEndsIdle) {
    testsupport::WriteBytes(folder_ + L"\\a.rar", "x");
    testsupport::MakeDir(folder_ + L"\\RARLIST.LST");
    Run(folder_, false, false);
    ASSERT_EQ(view_.errors.size(), 1u);
    EXPECT_NE(view_.errors[0].find(L"RARLIST.LST"), std::wstring::npos);
    EXPECT_EQ(view_.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_TRUE(Calls().empty());
}
