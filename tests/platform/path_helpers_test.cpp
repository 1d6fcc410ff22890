#include "platform/file_identity.h"
#include "platform/sys_api.h"
#include "scratch.h"

#include <gtest/gtest.h>

using sysAPI::GetShortPath;

TEST(GetShortPath, NamesTheSameFileWithoutBlanksOrIsEmpty) {
    ASSERT_EQ(::GetACP(), 936u) << "the test bed runs under code page 936";
    testsupport::ScratchDir dir(L"short");
    std::wstring deep = dir.path();
    for (int level = 0; level < 12; ++level) {
        testsupport::MakeDir(deep += L"\\a b");
    }
    testsupport::MakeDir(dir / L"压缩 文件夹");
    const std::wstring named[] = {dir / L"my archive.rar", dir / L"压缩 文件夹\\网页.rar",
                                  deep + L"\\x y.rar"};
    for (const auto& path : named) {
        testsupport::WriteBytes(path, "x");
        const std::wstring shortPath = GetShortPath(path);
        EXPECT_EQ(shortPath.find(L' '), std::wstring::npos) << testing::PrintToString(shortPath);
        EXPECT_TRUE(platform::SameFile(shortPath, path)) << testing::PrintToString(shortPath);
    }
    EXPECT_GT(GetShortPath(named[2]).size(), named[2].size())
        << "a short form longer than the long one is whole";
    testsupport::WriteBytes(dir / L"\u0915.rar", "x");
    for (const std::wstring& unnamed : {dir / L"\u0915.rar", dir / L"missing.rar", std::wstring()}) {
        EXPECT_EQ(GetShortPath(unnamed), L"");
    }
}
