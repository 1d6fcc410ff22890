#include "job/batch_file.h"
#include "job/list_file.h"
#include "job/working_files.h"
#include "platform/unique_handle.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <optional>

// The folder box's text names a folder relative to where the system resolves it, not where the batch runs.
TEST(RunFolder, TheFolderBoxTextIsTheFullPathOfTheFolderItNames) {
    testsupport::ScratchDir dir(L"folder");
    for (const auto& folder : {L"cur", L"cur\\sub", L"x", L"下载 合集", L"sub"}) {
        testsupport::MakeDir(dir / folder);
    }
    const std::wstring drive = dir.path().substr(0, 2), cur = dir / L"cur";
    const struct {
        std::wstring current;  // the process's current folder
        std::wstring driveOwn; // the drive's own current folder, as a console passes it ("=Z:")
        std::wstring typed;
        std::optional<std::wstring> folder;
    } cases[] = {
        {cur, L"", L"sub", cur + L"\\sub"},
        {cur, L"", L" .\\sub\t", cur + L"\\sub"},
        {cur, L"", L"..\\x", dir / L"x"},
        {cur, L"", L"../x/", dir / L"x\\"},
        {cur, L"", drive + L"sub", cur + L"\\sub"},
        {L"C:\\", cur, drive + L"sub", cur + L"\\sub"}, // below the other drive's own current folder
        {cur, L"", drive, drive + L"\\"},
        // Explorer's 复制为路径 puts the path between double quotes.
        {cur, L"", L"\"" + dir / L"下载 合集" + L"\"", dir / L"下载 合集"},
        {cur, L"", L" \t\"..\\x\" ", dir / L"x"},
        {cur, L"", L"\"" + drive + L"\"", drive + L"\\"},
        {cur, L"", L"", std::nullopt},
        {cur, L"", L" \"\" ", std::nullopt},
    };
    const std::wstring driveVariable = L"=" + drive;
    for (const auto& c : cases) {
        ASSERT_TRUE(::SetCurrentDirectoryW(c.current.c_str()));
        ::SetEnvironmentVariableW(driveVariable.c_str(), c.driveOwn.empty() ? nullptr : c.driveOwn.c_str());
        EXPECT_EQ(job::AbsoluteFolder(job::NormalizeFolder(c.typed)), c.folder)
            << testing::PrintToString(c.typed);
    }
    ::SetCurrentDirectoryW(dir.path().c_str());
}

// From the moment each is written until the run removes it, the list and the batch can be read by any
// program (the interpreter reads the batch) but written, renamed or deleted by none.
TEST(CreatBatFile, WritesTheLinesGivenRemovesTheListAndHoldsTheBatchUntilTheRunEnds) {
    testsupport::ScratchDir dir(L"batch");
    job::JobState form;
    form.strListFile = dir / L"RARLIST.LST";
    form.strBatFile = dir / L"Brindle.BAT";
    form.strRarExe = L"Z:\\TOOLS~1\\RAR.EXE";
    form.strFileList = L"Z:\\A.RAR|";
    const auto open = [](const std::wstring& path, DWORD access) {
        return platform::unique_handle(::CreateFileW(path.c_str(), access,
                                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                     nullptr, OPEN_EXISTING, 0, nullptr));
    };
    const auto heldFromOthers = [&](const std::wstring& path) {
        return open(path, GENERIC_READ) && !open(path, GENERIC_WRITE) && !::DeleteFileW(path.c_str()) &&
               !::MoveFileExW(path.c_str(), (path + L".moved").c_str(), MOVEFILE_REPLACE_EXISTING) &&
               job::FolderInUseByARun(dir.path());
    };
    // As the interpreter reads the batch: sharing writing and deleting with the run that holds it.
    const auto readShared = [&](const std::wstring& path) {
        char bytes[256];
        DWORD got = 0;
        return ::ReadFile(open(path, GENERIC_READ).get(), bytes, sizeof bytes, &got, nullptr)
                   ? std::string(bytes, got)
                   : std::string();
    };
    for (const bool removeIfUnrun : {true, false}) {
        {
            job::WorkingFiles files(form);
            job::WriteListFile(form, files);
            EXPECT_EQ(readShared(form.strListFile), "Z:\\A.RAR\r\n\r\n");
            EXPECT_TRUE(heldFromOthers(form.strListFile));
            std::wstring why;
            EXPECT_TRUE(job::CreatBatFile(form.strBatFile, job::ArchiveLines(form, L"*.htm"), why, files,
                                          removeIfUnrun));
            EXPECT_EQ(readShared(form.strBatFile), "@echo off\r\nZ:\\TOOLS~1\\RAR.EXE d Z:\\A.RAR *.htm\r\n");
            EXPECT_FALSE(testsupport::Exists(form.strListFile));
            EXPECT_TRUE(heldFromOthers(form.strBatFile));
        }
        EXPECT_EQ(testsupport::Exists(form.strBatFile), !removeIfUnrun)
            << "removed only where the run made it";
        EXPECT_FALSE(job::FolderInUseByARun(dir.path()));
    }
}
