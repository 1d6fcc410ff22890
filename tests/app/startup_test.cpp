#include "dialog_answerer.h"
#include "platform/unique_handle.h"
#include "scratch.h"

#include <gtest/gtest.h>

TEST(StartUp, WithoutAUsableArchiverTheProgramShowsWhyAndEndsWithoutItsWindow) {
    for (DWORD attributes :
         {0ul, DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}, DWORD{FILE_ATTRIBUTE_DIRECTORY}}) {
        testsupport::ScratchDir dir(L"startup-exe");
        std::wstring command = dir / L"Brindle.exe";
        ASSERT_TRUE(
            ::CopyFileW(testsupport::WindowsPathFromEnv("BRINDLE_EXE").c_str(), command.c_str(), FALSE));
        if (attributes == FILE_ATTRIBUTE_DIRECTORY) {
            testsupport::MakeDir(dir / L"Rar.exe");
        } else if (attributes != 0) {
            testsupport::WriteBytes(dir / L"Rar.exe", "MZ");
            testsupport::SetAttributes(dir / L"Rar.exe", attributes);
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                     nullptr, nullptr, &startup, &process));
        const platform::unique_handle thread(process.hThread), program(process.hProcess);
        testsupport::DialogAnswerer watcher(L"", process.dwProcessId);
        ::ResumeThread(thread.get());
        ASSERT_TRUE(watcher.WaitFor(1, 20000)) << attributes;
        EXPECT_EQ(watcher.Seen()[0].text,
                  L"本程序目录中找不到 Rar.exe！\r\n您可以从 WinRAR 程序目录中复制一份。\r\n");
        EXPECT_TRUE(watcher.Seen()[0].hasIcon);
        EXPECT_EQ(::WaitForSingleObject(program.get(), 20000), WAIT_OBJECT_0) << "the program ended";
        DWORD owner = 0;
        ::GetWindowThreadProcessId(::FindWindowW(L"BrindleMainWindow", nullptr), &owner);
        EXPECT_NE(owner, process.dwProcessId);
    }
}
