#include "app/layout.h"
#include "dialog_answerer.h"
#include "scratch.h"
#include "started_program.h"

#include <gtest/gtest.h>

namespace {

// Brindle.exe copied into folder, with the recording archiver beside it unless told otherwise.
std::wstring ProgramIn(const std::wstring& folder, bool withArchiver = true) {
    testsupport::MakeDir(folder);
    const std::wstring exe = folder + L"\\Brindle.exe";
    EXPECT_TRUE(::CopyFileW(testsupport::WindowsPathFromEnv("BRINDLE_EXE").c_str(), exe.c_str(), FALSE));
    if (withArchiver) {
        EXPECT_TRUE(::CopyFileW((testsupport::ExecutableFolder() + L"\\Rar.exe").c_str(),
                                (folder + L"\\Rar.exe").c_str(), FALSE));
    }
    return exe;
}

} // namespace

TEST(StartUp, WithoutAUsableArchiverTheProgramShowsWhyAndEndsWithoutItsWindow) {
    for (DWORD attributes :
         {0ul, DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}, DWORD{FILE_ATTRIBUTE_DIRECTORY}}) {
        testsupport::ScratchDir dir(L"startup-exe");
        const std::wstring exe = ProgramIn(dir.path(), false);
        if (attributes == FILE_ATTRIBUTE_DIRECTORY) {
            testsupport::MakeDir(dir / L"Rar.exe");
        } else if (attributes != 0) {
            testsupport::WriteBytes(dir / L"Rar.exe", "MZ");
            testsupport::SetAttributes(dir / L"Rar.exe", attributes);
        }
        const testsupport::StartedProgram program(exe);
        testsupport::DialogAnswerer watcher(L"", program.id());
        ASSERT_TRUE(watcher.WaitFor(1, 20000)) << attributes;
        EXPECT_EQ(watcher.Seen()[0].text,
                  L"本程序目录中找不到 Rar.exe！\r\n您可以从 WinRAR 程序目录中复制一份。\r\n");
        EXPECT_TRUE(watcher.Seen()[0].hasIcon);
        EXPECT_FALSE(watcher.Seen()[0].mainWindowShown) << "the window shows while its box is up";
        // Nor after the box, until the program has ended.
        bool ended = false, shown = false;
        for (int turn = 0; turn < 1000 && !ended; ++turn) {
            shown = shown || !testsupport::ShownWindowsOf(program.id(), L"BrindleMainWindow").empty();
            ended = program.WaitForEnd(20);
        }
        EXPECT_TRUE(ended) << "the program ended";
        EXPECT_FALSE(shown) << "the window showed after the box";
    }
}

// A shortcut or Explorer's 发送到 starts the program with a folder, or a file in it: the window shows with
// that folder in the folder box, and nothing runs until the user presses Execute.
TEST(StartUp, AFolderOnTheCommandLineIsInTheFolderBoxWhenTheWindowShows) {
    testsupport::ScratchDir dir(L"command line");
    const std::wstring exe = ProgramIn(dir / L"program");
    const std::wstring folder = dir / L"下载 合集";
    testsupport::MakeDir(folder);
    testsupport::WriteBytes(folder + L"\\a.rar", "x");
    const struct {
        std::wstring arguments, box;
    } cases[] = {
        {L"\"" + folder + L"\"", folder},
        {L"\"" + folder + L"\\a.rar\"", folder},
        {L"\"..\\下载 合集\"", folder}, // from the program's folder, where it was started
        {L"\"Z:\\\"", L"Z:\\"},         // a drive, as Explorer quotes it
        {L"", L""},
    };
    for (const auto& c : cases) {
        const testsupport::StartedProgram program(exe, c.arguments);
        const HWND window = testsupport::WaitForShownWindow(program.id(), L"BrindleMainWindow", 20000);
        ASSERT_NE(window, nullptr) << testing::PrintToString(c.arguments);
        wchar_t box[1024] = {}; // another process's text, which GetWindowText does not ask for
        ::SendMessageW(::GetDlgItem(window, app::txtPath), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(box));
        EXPECT_EQ(std::wstring(box), c.box) << testing::PrintToString(c.arguments);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.WaitForEnd(20000));
    }
    EXPECT_FALSE(testsupport::Exists(dir / L"program\\rar-calls.log")) << "a run started";
}
