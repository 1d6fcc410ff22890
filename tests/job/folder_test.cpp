#include "job/job_state.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <optional>

// What the folder box holds, and the folder a run works in: relative forms are resolved where the system
// resolves them, not where the batch later runs.
TEST(RunFolder, TheFolderBoxTextIsTheFullPathOfTheFolderItNames) {
    testsupport::ScratchDir dir(L"folder");
    for (const auto& folder : {L"cur", L"cur\\sub", L"x", L"下载 合集", L"sub"}) {
        testsupport::MakeDir(dir / folder);
    }
    const std::wstring drive = dir.path().substr(0, 2);
    const std::wstring cur = dir / L"cur";
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
        // Another drive is current: "Z:sub" is below Z:'s own current folder.
        {L"C:\\", cur, drive + L"sub", cur + L"\\sub"},
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
