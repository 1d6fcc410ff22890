#include "app/frm_main.h"
#include "app/startup.h"
#include "message_box_watcher.h"
#include "platform/file_identity.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::MessageBoxWatcher;

namespace {

const std::wstring MissingText = L"本程序目录中找不到 Rar.exe！\r\n您可以从 WinRAR 程序目录中复制一份。\r\n";

} // namespace

TEST(StartUp, AnArchiverThatIsMissingHiddenSystemOrAFolderEndsTheProgramWithAMessage) {
    for (DWORD attributes : {DWORD{0}, DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM},
                             DWORD{FILE_ATTRIBUTE_DIRECTORY}}) {
        testsupport::ScratchDir dir(L"startup");
        if (attributes == FILE_ATTRIBUTE_DIRECTORY) {
            testsupport::MakeDir(dir / L"Rar.exe");
        } else if (attributes != 0) {
            testsupport::WriteBytes(dir / L"Rar.exe", "MZ");
            testsupport::SetAttributes(dir / L"Rar.exe", attributes);
        }
        MessageBoxWatcher watcher;
        EXPECT_FALSE(app::frmMain(dir.path()).Create(::GetModuleHandleW(nullptr))) << attributes;
        ASSERT_TRUE(watcher.WaitFor(1)) << attributes;
        EXPECT_EQ(watcher.Seen()[0].text, MissingText);
        EXPECT_TRUE(watcher.Seen()[0].hasIcon);
        // The window's end posted the quit message; it must not cut the next message box short.
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
}

TEST(StartUp, AReadOnlyArchiverInAFolderWithBlanksIsFoundAndCalledByItsShortPath) {
    EXPECT_EQ(app::ArchiverPath(L"D:\\"), L"D:\\Rar.exe");
    testsupport::ScratchDir dir(L"startup read-only folder");
    testsupport::WriteBytes(dir / L"Rar.exe", "MZ");
    testsupport::SetAttributes(dir / L"Rar.exe", FILE_ATTRIBUTE_READONLY);
    MessageBoxWatcher watcher;
    app::frmMain window(dir.path());
    ASSERT_TRUE(window.Create(::GetModuleHandleW(nullptr)));
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(window.form().strRarExe.find(L' '), std::wstring::npos);
    EXPECT_TRUE(platform::SameFile(window.form().strRarExe, dir / L"Rar.exe"));
    testsupport::SetAttributes(dir / L"Rar.exe", FILE_ATTRIBUTE_NORMAL);
}

TEST(StartUp, TheProgramWithoutItsArchiverShowsTheMessageAndNeverItsWindow) {
    testsupport::ScratchDir dir(L"startup exe");
    const std::wstring exe = dir / L"Brindle.exe";
    ASSERT_TRUE(::CopyFileW(testsupport::WindowsPathFromEnv("BRINDLE_EXE").c_str(), exe.c_str(), FALSE));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + exe + L"\"";
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                 nullptr, &startup, &process));
    MessageBoxWatcher watcher(process.dwProcessId);
    ::ResumeThread(process.hThread);
    ASSERT_TRUE(watcher.WaitFor(1, 20000));
    EXPECT_EQ(watcher.Seen()[0].text, MissingText);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0) << "the program ended";
    DWORD owner = 0;
    ::GetWindowThreadProcessId(::FindWindowW(L"BrindleMainWindow", nullptr), &owner);
    EXPECT_NE(owner, process.dwProcessId);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}
