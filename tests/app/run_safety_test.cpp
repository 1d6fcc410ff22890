// Runs through the real window that must clean exactly the archives pointed at, with exactly the masks
// typed, or refuse before anything is written; and output that must reach the log whole.

#include "message_box_watcher.h"
#include "platform/dir_listing.h"
#include "platform/file_identity.h"
#include "window_fixture.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

using apptest::Pump;
using apptest::RecordedCalls;
using apptest::Text;
using namespace app;

namespace {

std::wstring FromUtf8(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(
        CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

// The archive the recording archiver was given in one call.
std::wstring ArchiveOf(const std::string& call) {
    const size_t start = call.find('\t') + 1;
    return FromUtf8(call.substr(start, call.find('\t', start) - start));
}

size_t Count(const std::wstring& text, const std::wstring& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

std::wstring ManyMasks(int count) {
    std::wstring masks;
    for (int i = 0; i < count; ++i) {
        masks += (i > 0 ? L" *.x" : L"*.x") + std::to_wstring(10000 + i);
    }
    return masks;
}

// Two names outside the code page whose Wine aliases collide in one folder (Windows keeps aliases unique,
// so there the search finds none and the test has nothing to show).
std::optional<std::pair<std::wstring, std::wstring>> CollidingNames(const std::wstring& folder) {
    std::map<std::wstring, std::wstring> byAlias;
    for (int batch = 0; batch < 20; ++batch) {
        for (int i = batch * 200; i < (batch + 1) * 200; ++i) {
            testsupport::WriteBytes(folder + L"\\\uD55C\uAD6D" + std::to_wstring(i) + L".rar", "x");
        }
        platform::DirListing listing;
        for (auto entry = listing.First(folder + L"\\*.rar", platform::attr::Archive); entry;
             entry = listing.Next()) {
            const auto [at, added] = byAlias.emplace(entry->shortName, entry->name);
            if (!added && at->second != entry->name && !entry->shortName.empty()) {
                return std::make_pair(at->second, entry->name);
            }
        }
    }
    return std::nullopt;
}

class RunThroughTheWindow : public apptest::WindowTest {
  protected:
    void TearDown() override {
        ::DeleteFileW(Says().c_str());
        apptest::WindowTest::TearDown();
    }
    static std::wstring Says() { return testsupport::ExecutableFolder() + L"\\rar-says.bin"; }
    void Run(const std::wstring& folder, const std::wstring& pattern, bool batchOnly = false) {
        ::SetWindowTextW(Control(txtPath), folder.c_str());
        ::SetWindowTextW(Control(cmbFileType), pattern.c_str());
        Button_SetCheck(Control(chkSaveBat), batchOnly ? BST_CHECKED : BST_UNCHECKED);
        Click(cmdExecute);
    }
    std::wstring Log() const { return Text(Control(txtOutput)); }
};

} // namespace

TEST_F(RunThroughTheWindow, OutputHoldingANulReachesTheLogWholeAndTheNextEntryStandsApart) {
    testsupport::ScratchDir dir(L"window nul");
    testsupport::WriteBytes(dir / L"a.rar", "x");
    testsupport::WriteBytes(Says(), std::string("before\0after\r\n\xCD\xEA\xB3\xC9 OK\r\n", 23));
    Run(dir.path(), L"*.htm");
    Run(dir.path(), L"*.htm");
    const std::wstring log = Log();
    EXPECT_EQ(Count(log, L"before\u2400after\r\n\u5B8C\u6210 OK\r\n\r\n" + std::wstring(60, L'-')), 2u);
    EXPECT_EQ(Count(log, std::wstring(60, L'-')), 8u) << "four entries, each between two rules";
    EXPECT_EQ(log.substr(log.size() - 60), std::wstring(60, L'-'));
}

TEST_F(RunThroughTheWindow, PatternsTheBatchCannotCarryAreRefusedBeforeAnythingIsWritten) {
    const struct {
        std::wstring pattern;
        std::wstring message;
    } cases[] = {
        {L"   ", L"要删除的文件类型不能为空，请检查！"},
        {ManyMasks(1200), L"要删除的文件类型太长，批处理文件中的命令不能超过 8191 个字符，请缩短！"},
        {L"*.htm \uAD11\uACE0.txt", L"要删除的文件类型中有系统代码页无法表示的字符，请检查！"},
        {L"*\u00F6*.nfo", L"要删除的文件类型中有系统代码页无法表示的字符，请检查！"},
        {L"\U0001F600.txt", L"要删除的文件类型中有系统代码页无法表示的字符，请检查！"},
    };
    testsupport::ScratchDir dir(L"window refusals");
    testsupport::WriteBytes(dir / L"a.rar", "x");
    testsupport::WriteBytes(dir / L"ab.rar", "x");
    testsupport::WriteBytes(dir / L"Brindle.BAT", "kept by the user\r\n");
    for (const auto& c : cases) {
        testsupport::MessageBoxWatcher watcher;
        Run(dir.path(), c.pattern);
        ASSERT_TRUE(watcher.WaitFor(1, 5000));
        EXPECT_EQ(watcher.Seen()[0].text, c.message);
        EXPECT_TRUE(RecordedCalls().empty()) << "nothing ran";
        EXPECT_EQ(testsupport::ReadBytes(dir / L"Brindle.BAT"), "kept by the user\r\n");
        EXPECT_FALSE(testsupport::Exists(dir / L"RARLIST.LST"));
        EXPECT_EQ(Log(), L"");
        EXPECT_TRUE(::IsWindowEnabled(Control(cmdExecute)));
    }
}

TEST_F(RunThroughTheWindow, ALongPatternThatFitsIsHandedOverWhole) {
    testsupport::ScratchDir dir(L"window long pattern");
    testsupport::WriteBytes(dir / L"a.rar", "x");
    const std::wstring masks = ManyMasks(800);
    Run(dir.path(), masks);
    const auto calls = RecordedCalls();
    ASSERT_EQ(calls.size(), 1u);
    std::wstring expected = masks;
    std::replace(expected.begin(), expected.end(), L' ', L'\t');
    EXPECT_EQ(FromUtf8(calls[0].substr(calls[0].find("\t*.x"))), L"\t" + expected);
}

TEST_F(RunThroughTheWindow, TheBatchRunsWhateverTheFolderIsCalled) {
    testsupport::ScratchDir root(L"window folder names");
    std::wstring deep = root.path();
    while (deep.size() < 252) {
        deep += L"\\" + std::wstring(std::min<size_t>(60, 252 - deep.size()), L'd');
    }
    const std::wstring folders[] = {root / L"p%OS%q", root / L"\uD55C\uAD6D", root / L"Caf\u00E9 \u00F6",
                                    deep};
    for (const auto& folder : folders) {
        ::CreateDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str(), nullptr);
        for (size_t at = root.path().size() + 1; (at = folder.find(L'\\', at)) != std::wstring::npos; ++at) {
            ::CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
        }
        ::CreateDirectoryW(folder.c_str(), nullptr);
        testsupport::WriteBytes(folder + L"\\x.rar", "x");
        ::DeleteFileW(apptest::CallsLog().c_str());

        Run(folder, L"*.htm");
        const auto calls = RecordedCalls();
        ASSERT_EQ(calls.size(), 1u) << testing::PrintToString(folder) << "\n"
                                    << testing::PrintToString(Log());
        EXPECT_TRUE(platform::SameFile(ArchiveOf(calls[0]), folder + L"\\x.rar"));
        EXPECT_FALSE(testsupport::Exists(folder + L"\\Brindle.BAT"));
    }
}

TEST_F(RunThroughTheWindow, AFolderTypedWithBlanksOrAForwardSlashIsTheSameFolder) {
    testsupport::ScratchDir dir(L"window typed folder");
    testsupport::WriteBytes(dir / L"a.rar", "x");
    for (const std::wstring& typed : {L"  " + dir.path() + L" ", dir.path() + L"/"}) {
        ::DeleteFileW(apptest::CallsLog().c_str());
        Run(typed, L"*.htm", true);
        EXPECT_NE(Log().rfind(L"批处理文件：" + dir.path() + L"\\Brindle.BAT 已生成！"), std::wstring::npos);
        ::DeleteFileW((dir / L"Brindle.BAT").c_str());
    }
}

TEST_F(RunThroughTheWindow, ArchivesTheBatchCannotNameAreListedInTheLogAndTheRestAreCleaned) {
    testsupport::ScratchDir search(L"window alias search");
    const auto names = CollidingNames(search.path());
    if (!names) {
        GTEST_SKIP() << "no two aliases collide here";
    }
    testsupport::ScratchDir dir(L"window skipped");
    testsupport::WriteBytes(dir / names->first, "x");
    testsupport::WriteBytes(dir / names->second, "x");
    testsupport::WriteBytes(dir / L"plain.rar", "x");
    Run(dir.path(), L"*.htm");

    const auto calls = RecordedCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(platform::SameFile(ArchiveOf(calls[0]), dir / L"plain.rar"));
    const std::wstring log = Log();
    const size_t skipped =
        log.find(L"以下压缩文件无法写入批处理文件（路径含有当前代码页无法表示的字符），已跳过：\r\n");
    ASSERT_NE(skipped, std::wstring::npos);
    EXPECT_NE(log.find(dir / names->first + L"\r\n", skipped), std::wstring::npos);
    EXPECT_NE(log.find(dir / names->second + L"\r\n", skipped), std::wstring::npos);
    EXPECT_LT(skipped, log.find(L"已生成！")) << "named before the batch message";
}
