// Runs through the real window with the recording archiver: exactly the archives meant are cleaned with
// exactly the masks typed, or the run is refused before anything is written.

#include "dialog_answerer.h"
#include "platform/file_identity.h"
#include "platform/short_path.h"
#include "window_fixture.h"

#include <algorithm>
#include <vector>

using apptest::Calls;
using namespace app;
using namespace testsupport;

namespace {

const std::wstring Rule(60, L'-');

size_t Count(const std::wstring& text, const std::wstring& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

std::wstring ManyMasks(int count) {
    std::wstring masks = L"*.x10000";
    for (int i = 1; i < count; ++i) {
        masks += L" *.x" + std::to_wstring(10000 + i);
    }
    return masks;
}

// A log entry after its time line, with its rules.
const auto Entry = [](const std::wstring& message) {
    return L"\r\n" + Rule + L"\r\n" + message + L"\r\n" + Rule;
};
const auto LeftBehind = [](const std::wstring& d) {
    return Exists(d + L"\\Brindle.BAT") || Exists(d + L"\\RARLIST.LST");
};
const auto Q = [](const auto& value) { return testing::PrintToString(value); };

void Archives(std::initializer_list<std::wstring> paths) {
    for (const auto& path : paths) {
        WriteBytes(path, "x");
    }
}

using RunThroughTheWindow = apptest::WindowTest;

} // namespace

// Each folder is typed as a user may type it: with blanks around it or a final separator it is the same
// folder. The archiver's output, a NUL and Chinese in it, reaches the log whole.
TEST_F(RunThroughTheWindow, CleansEachArchiveOfTheTreeOnceWithExactlyTheMasksTyped) {
    ScratchDir root(L"window run");
    // A program named by a prefix of the folder's path must never start in the batch's place.
    ::CopyFileW((ExecutableFolder() + L"\\Rar.exe").c_str(), (root / L"my.exe").c_str(), FALSE);
    std::wstring deep = root / std::wstring(60, L'd');
    while (deep.size() < 252) {
        deep += L"\\" + std::wstring(std::min<size_t>(60, 252 - deep.size()), L'd');
    }
    const struct {
        std::wstring folder, typed, pattern;
        std::string batchTail; // the end of an archive's line in the batch, in code page 936
        std::vector<std::wstring> masks;
    } cases[] = {
        {root / L"my files",
         L"  " + root / L"my files" + L" ",
         L"*.htm *.url 网页.txt",
         " *.htm *.url \xCD\xF8\xD2\xB3.txt",
         {L"*.htm", L"*.url", L"网页.txt"}},
        {root / L"p%OS%q",
         root / L"p%OS%q" + L"/",
         L"a&b.txt 100%.txt",
         " a^&b.txt 100%%.txt",
         {L"a&b.txt", L"100%.txt"}},
        {root / L"\uD55C\uAD6D",
         root / L"\uD55C\uAD6D" + L"\\",
         L"\"x y&z.txt\" ^c <d>|e",
         " \"x y&z.txt\" ^^c ^<d^>^|e",
         {L"x y&z.txt", L"^c", L"<d>|e"}},
        {root / L"Caf\u00E9 \u00F6",
         root / L"Caf\u00E9 \u00F6",
         L"\"50%.txt\"",
         " \"50%%.txt\"",
         {L"50%.txt"}},
        // A long pattern that fits on a batch line is handed over whole.
        {deep, deep, ManyMasks(800), "*.x10799", {}},
    };
    const std::wstring says = L"before\u2400after\r\n\u5B8C\u6210 OK\r\n";
    WriteBytes(apptest::ArchiverFile(L"rar-says.bin"),
               std::string("before\0after\r\n\xCD\xEA\xB3\xC9 OK\r\n", 23));
    Button_SetCheck(Control(chkSubPath), BST_CHECKED);
    for (const auto& c : cases) {
        MakeDir(c.folder + L"\\sub");
        Archives({c.folder + L"\\z.rar", c.folder + L"\\sub\\b.rar"});
        Run(c.typed, c.pattern, true);
        const std::string batch = ReadBytes(c.folder + L"\\Brindle.BAT");
        EXPECT_EQ(batch.substr(batch.size() - c.batchTail.size() - 2), c.batchTail + "\r\n");
        ::SendMessageW(Control(txtOutput), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        Run(c.typed, c.pattern);
        const auto calls = Calls();
        ASSERT_EQ(calls.size(), 2u) << Q(c.typed) << Q(Log());
        EXPECT_TRUE(platform::SameFile(calls[0].at(1), c.folder + L"\\z.rar")) << "the folder's files first";
        EXPECT_TRUE(platform::SameFile(calls[1].at(1), c.folder + L"\\sub\\b.rar"));
        for (const auto& call : calls) {
            EXPECT_EQ(call.front(), L"d");
            const std::vector<std::wstring> masks(call.begin() + 2, call.end());
            EXPECT_TRUE(c.masks.empty() ? masks.size() == 800 && masks.back() == L"*.x10799"
                                        : masks == c.masks);
        }
        EXPECT_EQ(Log().find(Entry(L"批处理文件：" + c.folder + L"\\Brindle.BAT 已生成！") + L"\r\n"), 5u)
            << "the first entry, after its time";
        EXPECT_EQ(Count(Log(), says), 2u);
        EXPECT_EQ(Count(Log(), says + L"\r\n" + Rule), 1u) << "the output's entry ends with the output";
        EXPECT_TRUE(
            Log().ends_with(Entry(L"共 2 个压缩文件：删除了文件的 2 个，没有匹配文件的 0 个，失败 0 个，"
                                  L"未处理（已停止）0 个。")))
            << "the summary closes the log";
        EXPECT_TRUE(::IsWindowEnabled(Control(cmdExecute)));
        EXPECT_EQ(apptest::Text(Control(txtPath)) + apptest::Text(Control(cmbFileType)), c.typed + c.pattern);
        EXPECT_FALSE(LeftBehind(c.folder));
    }
    EXPECT_FALSE(Exists(root / L"rar-calls.log")) << "my.exe was started";
}

TEST_F(RunThroughTheWindow, WhatCannotRunIsRefusedBeforeAnythingIsWritten) {
    ScratchDir dir(L"window refusals");
    Archives({dir / L"a.rar", dir / L"ab.rar"});
    WriteBytes(dir / L"Brindle.BAT", "kept by the user\r\n");
    MakeDir(dir / L"secret");
    SetAttributes(dir / L"secret", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    // A folder too long to be a current folder, and its short form as well.
    std::wstring tooLong = dir / L"too-long";
    MakeDir(tooLong);
    for (int i = 0; i < 60 && platform::WideShortPath(tooLong).value_or(L"").size() < 262; ++i) {
        MakeDir(tooLong += L"\\dddddddd");
    }
    const std::wstring codePage = L"要删除的文件类型中有系统代码页无法表示的字符，请检查！";
    const std::wstring tooLong8191 =
        L"要删除的文件类型太长，批处理文件中的一行命令不能超过 8191 个字节（一个汉字占两个字节），请缩短！";
    const std::wstring missing = L" 不存在，请检查！";
    const struct {
        std::wstring folder, pattern, message;
    } cases[] = {
        {dir.path(), L" \t ", L"要删除的文件类型不能为空，请检查！"},
        {dir.path(), ManyMasks(1200), tooLong8191},
        // Short enough in characters, too long in the bytes the interpreter reads.
        {dir.path(), L"*." + std::wstring(4200, L'\u7F51'), tooLong8191},
        {dir.path(), L"*.htm \uAD11\uACE0.txt", codePage},
        {dir.path(), L"\U0001F600.txt", codePage},
        // A line break would end the archiver's line and run the rest as a command of its own.
        {dir.path(), L"*.htm\r\ndel *.rar", L"要删除的文件类型中含有换行符或其他控制字符，请检查！"},
        {L"", L"*.htm", L"文件夹：" + missing},
        {dir / L"gone", L"*.htm", L"文件夹：" + dir / L"gone" + missing},
        {dir / L"secret", L"*.htm", L"文件夹：" + dir / L"secret" + missing},
        {L"Z:\\bad|dir\\x", L"*.htm", L"文件夹：Z:\\bad|dir\\x" + missing},
        {tooLong, L"*.htm", L"文件夹：" + tooLong + L" 的路径太长，无法在其中运行批处理文件，请检查！"},
    };
    for (const auto& c : cases) {
        DialogAnswerer watcher;
        Run(c.folder, c.pattern);
        ASSERT_TRUE(watcher.WaitFor(1));
        EXPECT_EQ(watcher.Seen()[0].text, c.message);
        EXPECT_TRUE(watcher.Seen()[0].hasIcon);
        EXPECT_TRUE(Calls().empty()) << "nothing ran";
        EXPECT_EQ(ReadBytes(dir / L"Brindle.BAT"), "kept by the user\r\n");
        EXPECT_FALSE(Exists(dir / L"RARLIST.LST"));
        EXPECT_EQ(Log(), L"");
        EXPECT_TRUE(::IsWindowEnabled(Control(cmdExecute)));
    }
}

TEST_F(RunThroughTheWindow, AFailurePartWayIsShownNothingRunsAndTheWindowEndsIdle) {
    ScratchDir dir(L"window error");
    WriteBytes(dir / L"a.rar", "x");
    // A list file that cannot be overwritten stops the run part-way.
    WriteBytes(dir / L"RARLIST.LST", "old\r\n");
    SetAttributes(dir / L"RARLIST.LST", FILE_ATTRIBUTE_READONLY);
    DialogAnswerer watcher;
    ::SetFocus(Control(cmdExecute));
    Run(dir.path(), L"*.htm");
    ASSERT_TRUE(watcher.WaitFor(1));
    EXPECT_EQ(watcher.Seen()[0].text.rfind(L"运行中出错，已停止：\r\n", 0), 0u) << "says what failed";
    EXPECT_NE(watcher.Seen()[0].text.find(L"RARLIST.LST"), std::wstring::npos);
    EXPECT_TRUE(::IsWindowEnabled(Control(cmdExecute)));
    EXPECT_EQ(::GetFocus(), Control(cmdExecute)) << "the keyboard still reaches the window";
    SetAttributes(dir / L"RARLIST.LST", FILE_ATTRIBUTE_NORMAL);

    // A batch that cannot be written is neither run nor changed, the log says why and of which file, and
    // this run's list is removed.
    WriteBytes(dir / L"Brindle.BAT", "@echo off\r\necho someone else's\r\n");
    for (const std::wstring named : {L"Brindle.BAT", L"Brindle.BAT.new"}) { // the file the log names
        if (named == L"Brindle.BAT") {
            SetAttributes(dir / named, FILE_ATTRIBUTE_READONLY);
        } else {
            MakeDir(dir / named); // a folder in the way
        }
        Run(dir.path(), L"*.htm");
        const std::wstring failed = L"批处理文件：" + dir / L"Brindle.BAT" + L" 生成失败！\r\n";
        const size_t at = Log().rfind(failed);
        ASSERT_NE(at, std::wstring::npos) << Q(Log());
        EXPECT_NE(Log().find(dir / named + L"\r\n" + Rule, at), std::wstring::npos)
            << "the reason and the file: " << Q(Log().substr(at));
        EXPECT_TRUE(Calls().empty());
        EXPECT_EQ(ReadBytes(dir / L"Brindle.BAT"), "@echo off\r\necho someone else's\r\n");
        EXPECT_FALSE(Exists(dir / L"RARLIST.LST"));
        SetAttributes(dir / L"Brindle.BAT", FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(RunThroughTheWindow, ArchivesTheBatchCannotNameAreListedInTheLogAndTheRestAreCleaned) {
    // Two names outside the code page whose Wine aliases collide (Windows keeps aliases unique, so there
    // the finder can name both and the test has nothing to show).
    ScratchDir dir(L"window skipped");
    const std::wstring first = L"\uD55C\uAD6D18.rar", second = L"\uD55C\uAD6D1808.rar";
    Archives({dir / first, dir / second, dir / L"plain.rar"});
    if (platform::WideShortPath(dir / first) != platform::WideShortPath(dir / second)) {
        GTEST_SKIP() << "the two aliases do not collide here";
    }
    Run(dir.path(), L"*.htm");
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_TRUE(platform::SameFile(Calls()[0].at(1), dir / L"plain.rar"));
    const std::wstring cannot = L"（路径含有当前代码页无法表示的字符）";
    EXPECT_EQ(Log().find(Entry(L"以下压缩文件无法写入批处理文件，已跳过：\r\n" + dir / first + cannot +
                               L"\r\n" + dir / second + cannot)),
              5u)
        << "named in the first entry, before the batch message";
}

// A pattern that makes the archiver take every member asks first; 否 is the default and leaves everything
// as it was. Which patterns ask, and the question's words, are the PatternRules tests'.
TEST_F(RunThroughTheWindow, APatternThatEmptiesWholeArchivesAsksFirstAndNoLeavesEverythingAsItWas) {
    ScratchDir dir(L"window question");
    WriteBytes(dir / L"a.rar", "x");
    const std::wstring everything = L"会删除压缩包中的全部文件，压缩包本身也会被删除。确定要继续吗？";
    const struct {
        std::wstring pattern;
        std::wstring asked; // the question's text from the quoted pattern on; empty when nothing is asked
        bool batchOnly = false;
    } cases[] = {
        {L"*.htm  *", L"“*”" + everything},
        {L"-r -ep1",
         L"“-r -ep1”中除了开关（以“-”开头的部分）没有文件名或通配符，Rar.exe 会因此删除压缩包中的全部文件"},
        {L"*",
         L"“*”会让批处理文件删除压缩包中的全部文件（压缩包本身也会被删除）。确定要生成这个批处理文件吗？",
         true},
        {L"-r *.htm", L""},
    };
    for (const auto& c : cases) {
        for (const int answer : {0, IDYES}) { // Enter first: the default must be 否
            DialogAnswerer watcher;
            watcher.AnswerBoxesWith(answer);
            Run(dir.path(), c.pattern, c.batchOnly);
            const auto seen = watcher.Seen();
            const bool ran = c.asked.empty() || answer == IDYES;
            EXPECT_EQ(Calls().size(), ran && !c.batchOnly ? 1u : 0u) << Q(c.pattern);
            EXPECT_EQ(Exists(dir / L"Brindle.BAT"), ran && c.batchOnly);
            EXPECT_FALSE(Exists(dir / L"RARLIST.LST"));
            ::DeleteFileW((dir / L"Brindle.BAT").c_str());
            if (c.asked.empty()) {
                EXPECT_TRUE(seen.empty()) << Q(c.pattern);
                continue;
            }
            ASSERT_EQ(seen.size(), 1u) << Q(c.pattern);
            EXPECT_EQ(seen[0].text.find(L"要删除的文件类型" + c.asked), 0u) << Q(seen[0].text);
            EXPECT_EQ(seen[0].defaultButton, IDNO);
        }
    }
}

// The folder meant: relative to where Brindle was started (a path left relative in the batch, which runs in
// the folder, would name the archive of the same name one level down, planted here), or pasted in quotes.
// Of its entries only those whose own name ends in .rar: 备份.rar_old, whose 8.3 alias may end in .RAR,
// stays.
TEST_F(RunThroughTheWindow, OnlyTheArchivesOfTheFolderMeantAreCleaned) {
    ScratchDir root(L"window folders");
    const std::wstring sub = root / L"sub", x = root / L"x", only = root / L"only";
    for (const auto& folder : {sub + L"\\sub", x, root / L"cur", only}) {
        MakeDir(folder);
    }
    Archives({sub + L"\\a.rar", sub + L"\\sub\\a.rar", x + L"\\a.rar"});
    for (const auto& name : {L"a.rar", L"B.RAR", L"旧版.rarx", L"备份.rar_old", L"copy.rar-backup"}) {
        WriteBytes(only + L"\\" + name, "x");
    }
    const struct {
        std::wstring current, typed;
        std::vector<std::wstring> cleaned;
    } cases[] = {
        {root.path(), L"sub", {sub + L"\\a.rar"}},
        {root / L"cur", L"..\\x", {x + L"\\a.rar"}},
        {root.path(), L"\"" + only + L"\"", {only + L"\\a.rar", only + L"\\B.RAR"}},
    };
    std::wstring started(MAX_PATH, L'\0');
    started.resize(::GetCurrentDirectoryW(MAX_PATH, started.data()));
    for (const auto& c : cases) {
        ASSERT_TRUE(::SetCurrentDirectoryW(c.current.c_str()));
        Run(c.typed, L"*.htm");
        const auto calls = Calls();
        ASSERT_EQ(calls.size(), c.cleaned.size()) << Q(c.typed) << Q(Log());
        for (const auto& call : calls) {
            EXPECT_TRUE(
                std::any_of(c.cleaned.begin(), c.cleaned.end(),
                            [&](const std::wstring& meant) { return platform::SameFile(call.at(1), meant); }))
                << Q(c.typed) << " cleaned " << Q(call.at(1));
        }
    }
    ::SetCurrentDirectoryW(started.c_str());
}

// A second Brindle on the folder of a run going on (发送到 makes it easy) is refused before it writes
// anything; the first run's batch and list stay its own, and it cleans every archive.
TEST_F(RunThroughTheWindow, ASecondRunOnTheSameFolderIsRefusedAndTheFirstGoesOnUndisturbed) {
    ScratchDir dir(L"window second run");
    Archives({dir / L"a.rar", dir / L"b.rar"});
    const std::wstring holds = apptest::ArchiverFile(L"rar-holds");
    WriteBytes(holds, "");
    StartRun(dir.path(), L"*.htm");
    ASSERT_TRUE(PumpUntil([] { return Calls().size() == 1; }));
    {
        app::frmMain second(ExecutableFolder());
        ASSERT_TRUE(second.Create(::GetModuleHandleW(nullptr)));
        second.Show(SW_SHOWNORMAL);
        ::SetWindowTextW(second.Control(txtPath), dir.path().c_str());
        DialogAnswerer watcher;
        ::SendMessageW(second.Control(cmdExecute), BM_CLICK, 0, 0);
        ASSERT_TRUE(watcher.WaitFor(1));
        EXPECT_NE(watcher.Seen()[0].text.find(L"正在被另一次清理使用"), std::wstring::npos)
            << Q(watcher.Seen()[0].text);
        EXPECT_FALSE(second.Running());
    }
    ::DeleteFileW(holds.c_str());
    WaitForRunEnd();
    EXPECT_EQ(Calls().size(), 2u);
    EXPECT_NE(Log().find(L"共 2 个压缩文件：删除了文件的 2 个"), std::wstring::npos) << Q(Log());
    EXPECT_FALSE(LeftBehind(dir.path()));
}

// A network folder: the interpreter refuses it as its current folder on Windows, and the short-path call
// answers nothing for it. Wine serves \\brindle-nas\scratch from the test's scratch folder.
TEST_F(RunThroughTheWindow, ArchivesOnANetworkShareAreCleanedAndTheBatchNeverStartsThere) {
    ScratchDir dir(L"window share");
    const std::wstring scratch = WindowsPathFromEnv("BRINDLE_SCRATCH");
    const std::wstring share = L"\\\\brindle-nas\\scratch" + dir.path().substr(scratch.size());
    MakeDir(dir / L"100%");
    Archives({dir / L"a.rar", dir / L"b c.rar", dir / L"100%\\x.rar"});
    const std::wstring cwdLog = apptest::ArchiverFile(L"rar-cwd.log");
    ::DeleteFileW(cwdLog.c_str());
    Run(share, L"*.htm");
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u) << Q(Log());
    EXPECT_EQ(calls[0].at(1), share + L"\\a.rar");
    EXPECT_EQ(calls[1].at(1), share + L"\\b c.rar");
    const std::string cwd = ReadBytes(cwdLog);
    EXPECT_EQ(cwd.find("\\\\"), std::string::npos) << "started in " << cwd;
    EXPECT_FALSE(Exists(dir / L"Brindle.BAT"));

    // On the interpreter's line a '%' in the folder's name could name another folder: refused.
    DialogAnswerer watcher;
    Run(share + L"\\100%", L"*.htm");
    ASSERT_TRUE(watcher.WaitFor(1));
    EXPECT_NE(watcher.Seen()[0].text.find(L"映射为一个驱动器号"), std::wstring::npos);
    EXPECT_TRUE(Calls().empty());
    EXPECT_FALSE(Exists(dir / L"100%\\Brindle.BAT"));
}
