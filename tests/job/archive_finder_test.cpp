#include "job/archive_finder.h"
#include "platform/dir_listing.h"
#include "platform/file_identity.h"
#include "platform/sys_api.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <set>

#include <cstdlib>
#include <vector>

using job::AutoListFiles;
using job::JobState;

namespace {

std::vector<std::wstring> Entries(const std::wstring& fileList) {
    std::vector<std::wstring> entries;
    size_t start = 0;
    for (size_t bar = fileList.find(L'|'); bar != std::wstring::npos; bar = fileList.find(L'|', start)) {
        entries.push_back(fileList.substr(start, bar - start));
        start = bar + 1;
    }
    EXPECT_EQ(start, fileList.size()) << "the list must end with '|'";
    return entries;
}

// The search done the slow, literal way: two listings per folder and one short-path call per file.
void ReferenceSearch(const std::wstring& dirIn, bool subfolders, std::wstring& out) {
    std::wstring dir = dirIn;
    if (dir.back() != L'\\') {
        dir += L'\\';
    }
    platform::DirListing files;
    for (auto name = files.FirstName(dir + L"*.rar", platform::attr::Archive); !name.empty();
         name = files.NextName()) {
        std::wstring upper = name.substr(name.find_first_not_of(L' '));
        upper = upper.substr(0, upper.find_last_not_of(L' ') + 1);
        ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
        out += sysAPI::GetShortPath(dir + upper) + L"|";
    }
    if (!subfolders) {
        return;
    }
    std::vector<std::wstring> table;
    platform::DirListing folders;
    for (auto name = folders.FirstName(dir + L"*.*", platform::attr::Directory); !name.empty();
         name = folders.NextName()) {
        if (name != L"." && name != L".." &&
            (platform::GetAttributes(dir + name) & platform::attr::Directory) != 0) {
            table.push_back(dir + name + L"\\");
        }
    }
    for (const auto& sub : table) {
        ReferenceSearch(sub, subfolders, out);
    }
}

std::wstring Search(const std::wstring& dir, bool subfolders, bool* result = nullptr) {
    JobState form;
    const bool found = AutoListFiles(form, dir, L"*.rar", subfolders);
    if (result != nullptr) {
        *result = found;
    }
    return form.strFileList;
}

void Touch(const std::wstring& path) {
    testsupport::WriteBytes(path, "Rar!");
}

class NestedTree : public ::testing::Test {
  protected:
    NestedTree() : dir_(L"finder-tree") {
        Touch(dir_ / L"top.rar");
        Touch(dir_ / L"UPPER.RAR");
        Touch(dir_ / L"a long archive name.rar");
        Touch(dir_ / L"notes.txt");
        testsupport::MakeDir(dir_ / L"folder.rar");
        testsupport::MakeDir(dir_ / L"sub one");
        Touch(dir_ / L"sub one\\inner.rar");
        testsupport::MakeDir(dir_ / L"sub one\\深 层");
        Touch(dir_ / L"sub one\\深 层\\网页 备份.rar");
        testsupport::MakeDir(dir_ / L"sub two");
        Touch(dir_ / L"sub two\\x.rar");
        Touch(dir_ / L"hidden.rar");
        testsupport::SetAttributes(dir_ / L"hidden.rar", FILE_ATTRIBUTE_HIDDEN);
        Touch(dir_ / L"system.rar");
        testsupport::SetAttributes(dir_ / L"system.rar", FILE_ATTRIBUTE_SYSTEM);
        Touch(dir_ / L"readonly.rar");
        testsupport::SetAttributes(dir_ / L"readonly.rar", FILE_ATTRIBUTE_READONLY);
        testsupport::MakeDir(dir_ / L"secret");
        Touch(dir_ / L"secret\\never.rar");
        testsupport::SetAttributes(dir_ / L"secret", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    }
    testsupport::ScratchDir dir_;
};

} // namespace

TEST_F(NestedTree, GivesExactlyWhatTheShortPathCallGivesPerFile) {
    std::wstring expected;
    ReferenceSearch(dir_.path(), true, expected);
    EXPECT_EQ(Search(dir_.path(), true), expected);
    std::wstring flat;
    ReferenceSearch(dir_.path(), false, flat);
    EXPECT_EQ(Search(dir_.path(), false), flat);
}

TEST_F(NestedTree, FilesFirstThenSubfoldersDepthFirst) {
    const auto entries = Entries(Search(dir_.path(), true));
    ASSERT_EQ(entries.size(), 7u);
    auto sameFile = [](const std::wstring& a, const std::wstring& b) {
        const auto x = platform::IdentifyPath(a);
        const auto y = platform::IdentifyPath(b);
        return x && y && *x == *y;
    };
    // Wine lists a folder sorted by name: "a long...", "readonly", "top", "UPPER" (case-insensitively).
    EXPECT_TRUE(sameFile(entries[0], dir_ / L"a long archive name.rar"));
    EXPECT_TRUE(sameFile(entries[1], dir_ / L"readonly.rar"));
    EXPECT_TRUE(sameFile(entries[2], dir_ / L"top.rar"));
    EXPECT_TRUE(sameFile(entries[3], dir_ / L"UPPER.RAR"));
    EXPECT_TRUE(sameFile(entries[4], dir_ / L"sub one\\inner.rar"));
    EXPECT_TRUE(sameFile(entries[5], dir_ / L"sub one\\深 层\\网页 备份.rar"));
    EXPECT_TRUE(sameFile(entries[6], dir_ / L"sub two\\x.rar"));
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.find(L' '), std::wstring::npos) << "a short path holds no blank";
    }
}

TEST_F(NestedTree, FinalSeparatorMakesNoDifference) {
    EXPECT_EQ(Search(dir_.path(), true), Search(dir_.path() + L"\\", true));
}

TEST_F(NestedTree, HiddenAndSystemEntriesAreNeitherListedNorEntered) {
    const std::wstring list = Search(dir_.path(), true);
    EXPECT_EQ(list.find(L"HIDDEN"), std::wstring::npos);
    EXPECT_EQ(list.find(L"SYSTEM"), std::wstring::npos);
    EXPECT_EQ(list.find(L"NEVER"), std::wstring::npos);
    EXPECT_EQ(list.find(L"FOLDER.RAR"), std::wstring::npos);
}

TEST_F(NestedTree, EntriesAreOnlyAppended) {
    JobState form;
    form.strFileList = L"earlier|";
    EXPECT_TRUE(AutoListFiles(form, dir_.path(), L"*.rar", false));
    EXPECT_EQ(form.strFileList.rfind(L"earlier|", 0), 0u);
}

TEST(AutoListFiles, EmptyFolderLeavesTheListUnchangedAndSucceeds) {
    testsupport::ScratchDir dir(L"finder-empty");
    bool found = false;
    EXPECT_EQ(Search(dir.path(), true, &found), L"");
    EXPECT_TRUE(found);
}

TEST(AutoListFiles, MalformedPathFails) {
    bool found = true;
    Search(L"Z:\\bad|name", true, &found);
    EXPECT_FALSE(found);
}

TEST(AutoListFiles, NamesWithOuterBlanksAreEachAddressedByTheirOwnEntry) {
    testsupport::ScratchDir dir(L"finder-blanks");
    const std::vector<std::wstring> names = {L" a.rar", L" only.rar", L"a.rar"};
    std::set<platform::FileIdentity> files;
    for (const auto& name : names) {
        Touch(dir / name);
        files.insert(*platform::IdentifyPath(dir / name));
    }
    const auto entries = Entries(Search(dir.path(), false));
    ASSERT_EQ(entries.size(), names.size());
    std::set<platform::FileIdentity> found;
    for (const auto& entry : entries) {
        const auto identity = platform::IdentifyPath(entry);
        ASSERT_TRUE(identity.has_value()) << "names an existing file: " << testing::PrintToString(entry);
        found.insert(*identity);
    }
    EXPECT_EQ(found, files) << "each archive once, none twice";
}

TEST(AutoListFiles, NamesOutsideTheCodePageAreFoundThroughTheirAlias) {
    testsupport::ScratchDir dir(L"finder-unicode");
    Touch(dir / L"\u0915\u093e archive.rar");
    testsupport::MakeDir(dir / L"\u0e01 folder");
    Touch(dir / L"\u0e01 folder\\inside.rar");
    Touch(dir / L"plain.rar");
    const auto entries = Entries(Search(dir.path(), true));
    ASSERT_EQ(entries.size(), 3u);
    for (const auto& entry : entries) {
        EXPECT_FALSE(entry.empty());
        EXPECT_TRUE(platform::IdentifyPath(entry).has_value()) << "names an existing file";
        EXPECT_EQ(entry.find(L'?'), std::wstring::npos);
    }
}

TEST(AutoListFiles, FolderReachedThroughLinksIsSearchedOnce) {
    const std::wstring tree = testsupport::WindowsPathFromEnv("BRINDLE_LINK_TREE");
    if (tree.empty()) {
        GTEST_SKIP() << "the link tree is made by the test setup";
    }
    bool found = false;
    const auto entries = Entries(Search(tree, true, &found));
    EXPECT_TRUE(found);
    EXPECT_EQ(entries.size(), 2u);
}

TEST(AutoListFiles, FolderWithMoreThan32767SubfoldersIsSearchedCompletely) {
    const std::wstring tree = testsupport::WindowsPathFromEnv("BRINDLE_WIDE_TREE");
    if (tree.empty()) {
        GTEST_SKIP() << "the wide tree is made by the test setup";
    }
    bool found = false;
    const auto entries = Entries(Search(tree, true, &found));
    EXPECT_TRUE(found);
    ASSERT_EQ(entries.size(), 2u);
    // Wine keeps the on-disk case of names that are valid 8.3 names already.
    std::wstring last = entries[1];
    std::transform(last.begin(), last.end(), last.begin(), ::towupper);
    EXPECT_NE(last.find(L"D33000\\LAST.RAR"), std::wstring::npos) << "the last subfolder was searched";
}
