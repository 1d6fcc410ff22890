#include "app/frm_main.h"
#include "app/resource_ids.h"
#include "app/startup.h"
#include "message_box_watcher.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::MessageBoxWatcher;

namespace {

const std::wstring MissingText = L"本程序目录中找不到 Rar.exe！\r\n您可以从 WinRAR 程序目录中复制一份。\r\n";

// Start-up in a program folder that the test prepares; true when the window would show.
bool StartsIn(const std::wstring& folder, MessageBoxWatcher& watcher) {
    app::frmMain window(folder);
    const bool started = window.Create(::GetModuleHandleW(nullptr));
    if (!started) {
        EXPECT_TRUE(watcher.WaitFor(1, 5000));
    }
    // The window's end posted the quit message; it must not cut the next message box short.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    return started;
}

std::wstring BrindleExe() {
    return testsupport::WindowsPathFromEnv("BRINDLE_EXE");
}

} // namespace

TEST(StartUp, ArchiverPathHasNoDoubledSeparatorAtADriveRoot) {
    EXPECT_EQ(app::ArchiverPath(L"D:\\"), L"D:\\Rar.exe");
    EXPECT_EQ(app::ArchiverPath(L"D:\\Tools"), L"D:\\Tools\\Rar.exe");
}

TEST(StartUp, CaptionCarriesTheVersionWithoutLeadingZeros) {
    EXPECT_EQ(app::WindowCaption(), L"Brindle - v0.1.14");
}

TEST(StartUp, MissingArchiverIsReportedAndTheProgramEnds) {
    testsupport::ScratchDir dir(L"startup");
    MessageBoxWatcher watcher;
    EXPECT_FALSE(StartsIn(dir.path(), watcher));
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, MissingText);
    EXPECT_TRUE(watcher.Seen()[0].hasIcon);
}

TEST(StartUp, HiddenOrSystemArchiverOrAFolderOfThatNameCountsAsMissing) {
    for (DWORD attributes : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        testsupport::ScratchDir dir(L"startup");
        testsupport::WriteBytes(dir / L"Rar.exe", "MZ");
        testsupport::SetAttributes(dir / L"Rar.exe", attributes);
        MessageBoxWatcher watcher;
        EXPECT_FALSE(StartsIn(dir.path(), watcher)) << attributes;
    }
    testsupport::ScratchDir dir(L"startup");
    testsupport::MakeDir(dir / L"Rar.exe");
    MessageBoxWatcher watcher;
    EXPECT_FALSE(StartsIn(dir.path(), watcher));
}

TEST(StartUp, ReadOnlyArchiverIsFoundAndCalledByItsShortPath) {
    testsupport::ScratchDir dir(L"startup read-only folder");
    testsupport::WriteBytes(dir / L"Rar.exe", "MZ");
    testsupport::SetAttributes(dir / L"Rar.exe", FILE_ATTRIBUTE_READONLY);
    MessageBoxWatcher watcher;
    app::frmMain window(dir.path());
    ASSERT_TRUE(window.Create(::GetModuleHandleW(nullptr)));
    EXPECT_TRUE(watcher.Seen().empty());
    const std::wstring& rar = window.form().strRarExe;
    EXPECT_EQ(rar.find(L' '), std::wstring::npos) << "the short form of a folder with blanks";
    // Wine keeps the on-disk case of a name that is a valid 8.3 name already.
    EXPECT_EQ(::CompareStringOrdinal(rar.c_str() + rar.size() - 8, 8, L"\\RAR.EXE", 8, TRUE), CSTR_EQUAL)
        << rar;
    testsupport::SetAttributes(dir / L"Rar.exe", FILE_ATTRIBUTE_NORMAL);
}

TEST(StartUp, ProgramWithoutItsArchiverShowsTheMessageAndNeverItsWindow) {
    testsupport::ScratchDir dir(L"startup exe");
    const std::wstring exe = dir / L"Brindle.exe";
    ASSERT_TRUE(::CopyFileW(BrindleExe().c_str(), exe.c_str(), FALSE));
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
    EXPECT_EQ(watcher.Seen()[0].processId, process.dwProcessId);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0) << "the program ended";
    const HWND main = ::FindWindowW(L"BrindleMainWindow", nullptr);
    DWORD owner = 0;
    if (main != nullptr) {
        ::GetWindowThreadProcessId(main, &owner);
    }
    EXPECT_NE(owner, process.dwProcessId);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

TEST(ProgramFile, StatesItsVersionAndCarriesAFourImageIcon) {
    const std::wstring exe = BrindleExe();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
    for (const wchar_t* key :
         {L"\\StringFileInfo\\080404b0\\FileVersion", L"\\StringFileInfo\\080404b0\\ProductVersion"}) {
        wchar_t* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(::VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&value), &length));
        EXPECT_STREQ(value, L"0.01.0014");
    }

    const HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const HRSRC group = ::FindResourceW(module, MAKEINTRESOURCEW(IDI_BRINDLE), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* bytes = static_cast<const unsigned char*>(::LockResource(::LoadResource(module, group)));
    const int count = bytes[4] | (bytes[5] << 8);
    ASSERT_EQ(count, 4);
    std::vector<std::pair<int, int>> images;
    for (int i = 0; i < count; ++i) {
        const unsigned char* entry = bytes + 6 + 14 * i;
        images.emplace_back(entry[0], entry[6] | (entry[7] << 8));
    }
    EXPECT_EQ(images, (std::vector<std::pair<int, int>>{{16, 4}, {16, 8}, {32, 4}, {32, 8}}));
    ::FreeLibrary(module);
}
