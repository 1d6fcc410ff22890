#include "platform/file_identity.h"
#include "platform/mod_function.h"
#include "platform/sys_api.h"
#include "platform/win32_error.h"
#include "scratch.h"

#include <gtest/gtest.h>

using sysAPI::GetShortPath;

namespace {

bool SameFile(const std::wstring& a, const std::wstring& b) {
    const auto first = platform::IdentifyPath(a);
    const auto second = platform::IdentifyPath(b);
    return first && second && *first == *second;
}

} // namespace

TEST(GetShortPath, MissingPathGivesEmpty) {
    testsupport::ScratchDir dir(L"short-missing");
    EXPECT_EQ(GetShortPath(dir / L"no such file.rar"), L"");
    EXPECT_EQ(GetShortPath(L""), L"");
}

TEST(GetShortPath, NameWithBlanksGetsAnAliasNamingTheSameFile) {
    testsupport::ScratchDir dir(L"short-blanks");
    testsupport::WriteBytes(dir / L"my archive.rar", "x");
    const std::wstring shortPath = GetShortPath(dir / L"my archive.rar");
    ASSERT_FALSE(shortPath.empty());
    EXPECT_EQ(shortPath.find(L' '), std::wstring::npos);
    EXPECT_TRUE(SameFile(shortPath, dir / L"my archive.rar"));
}

TEST(GetShortPath, ChineseNamesComeBackWhole) {
    testsupport::ScratchDir dir(L"short-chinese");
    testsupport::MakeDir(dir / L"压缩 文件夹");
    testsupport::WriteBytes(dir / L"压缩 文件夹\\网页.rar", "x");
    const std::wstring shortPath = GetShortPath(dir / L"压缩 文件夹\\网页.rar");
    ASSERT_FALSE(shortPath.empty());
    EXPECT_TRUE(SameFile(shortPath, dir / L"压缩 文件夹\\网页.rar"));
}

TEST(GetShortPath, ShortFormLongerThanTheLongOneIsComplete) {
    testsupport::ScratchDir dir(L"short-longer");
    std::wstring path = dir.path();
    for (int level = 0; level < 12; ++level) {
        path += L"\\a b";
        testsupport::MakeDir(path);
    }
    path += L"\\x y.rar";
    testsupport::WriteBytes(path, "x");
    const std::wstring shortPath = GetShortPath(path);
    ASSERT_FALSE(shortPath.empty());
    EXPECT_GT(shortPath.size(), path.size());
    EXPECT_TRUE(SameFile(shortPath, path));
}

TEST(GetShortPath, UnrepresentableNameGivesEmpty) {
    testsupport::ScratchDir dir(L"short-unicode");
    testsupport::WriteBytes(dir / L"\u0915.rar", "x");
    EXPECT_EQ(GetShortPath(dir / L"\u0915.rar"), L"");
}

TEST(FolderExists, ExistingFolderOrFileWithoutFinalSeparator) {
    testsupport::ScratchDir dir(L"folder-exists");
    testsupport::MakeDir(dir / L"sub");
    testsupport::WriteBytes(dir / L"file.txt", "x");
    EXPECT_TRUE(ModFunction::FolderExists(dir / L"sub"));
    EXPECT_TRUE(ModFunction::FolderExists(dir / L"sub\\"));
    EXPECT_TRUE(ModFunction::FolderExists(dir / L"file.txt"));
    EXPECT_FALSE(ModFunction::FolderExists(dir / L"missing"));
    EXPECT_FALSE(ModFunction::FolderExists(L""));
}

TEST(FolderExists, HiddenFolderCountsAsMissing) {
    testsupport::ScratchDir dir(L"folder-hidden");
    testsupport::MakeDir(dir / L"secret");
    testsupport::SetAttributes(dir / L"secret", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(ModFunction::FolderExists(dir / L"secret"));
}

TEST(FolderExists, MalformedPathRaises) {
    EXPECT_THROW(ModFunction::FolderExists(L"Z:\\bad|dir\\sub"), platform::Win32Error);
}
