#include "job/archive_finder.h"
#include "platform/file_identity.h"
#include "platform/win32_error.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::wstring> Split(const std::wstring& text) {
    std::vector<std::wstring> parts;
    for (size_t start = 0, bar = 0; bar != std::wstring::npos && !text.empty(); start = bar + 1) {
        bar = text.find(L'|', start);
        parts.push_back(text.substr(start, bar - start));
    }
    return parts;
}

// The entries a search appends to a list that already holds one, each ended by '|'.
std::vector<std::wstring> Search(const std::wstring& dir, bool subfolders, job::JobState* state = nullptr) {
    job::JobState own;
    job::JobState& form = state != nullptr ? *state : own;
    form.strFileList = L"earlier|";
    EXPECT_TRUE(job::AutoListFiles(form, dir, L"*.rar", subfolders));
    EXPECT_EQ(form.strFileList.rfind(L"earlier|", 0), 0u) << "entries are only appended";
    EXPECT_EQ(form.strFileList.back(), L'|');
    return Split(form.strFileList.substr(8, form.strFileList.size() - 9));
}

} // namespace

TEST(AutoListFiles, FindsEachArchiveOfTheTreeOnceInOrder) {
    // A folder ends with '\'; "H:", "S:" and "R:" make an entry hidden, system or read-only.
    const std::wstring tree =
        L"top.rar|UPPER.RAR|a long archive name.rar|notes.txt|folder.rar\\|H:hidden.rar|"
        L"S:system.rar|R:readonly.rar|sub one\\|sub one\\inner.rar|sub one\\深 层\\|"
        L"sub one\\深 层\\网页 备份.rar|sub two\\|sub two\\x.rar|secret\\|secret\\never.rar|"
        L"H:secret\\|system\\|system\\never.rar|S:system\\";
    const std::wstring top = L"a long archive name.rar|readonly.rar|top.rar|UPPER.RAR";
    const struct {
        const char* what;
        std::wstring tree;
        bool subfolders;
        std::wstring found; // in this order: Wine lists a folder sorted by name
    } cases[] = {
        {"this folder only", tree, false, top},
        {"files first, then subfolders depth first", tree, true,
         top + L"|sub one\\inner.rar|sub one\\深 层\\网页 备份.rar|sub two\\x.rar"},
        {"blanks at the ends of names", L" a.rar| only.rar|a.rar", false, L" a.rar| only.rar|a.rar"},
        {"names outside the code page",
         L"\u0915\u093e archive.rar|\u0e01 folder\\|\u0e01 folder\\in.rar|p.rar", true,
         L"p.rar|\u0915\u093e archive.rar|\u0e01 folder\\in.rar"},
        // Not what matches only through its 8.3 alias (备份.rar_old's ends in .RAR), as the system's search
        // would.
        {"only names ending in .rar", L"a.rar|B.RAR|旧版.rarx|备份.rar_old|copy.rar-backup|abcdefgh.rarx",
         false, L"a.rar|B.RAR"},
        {"nothing to find", L"a.zip|sub\\", true, L""},
    };
    for (const auto& c : cases) {
        testsupport::ScratchDir dir(L"finder");
        for (const auto& entry : Split(c.tree)) {
            const bool marked = entry[1] == L':';
            const std::wstring path = dir / entry.substr(marked ? 2 : 0);
            if (path.back() == L'\\') {
                testsupport::MakeDir(path);
            } else {
                testsupport::WriteBytes(path, "Rar!");
            }
            if (marked) {
                const DWORD attributes[] = {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
                                            FILE_ATTRIBUTE_READONLY};
                testsupport::SetAttributes(path, attributes[std::wstring(L"HSR").find(entry[0])]);
            }
        }
        const auto found = Split(c.found);
        const auto entries = Search(dir.path(), c.subfolders);
        ASSERT_EQ(entries.size(), found.size()) << c.what;
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].find(L' '), std::wstring::npos)
                << c.what << testing::PrintToString(entries[i]);
            EXPECT_TRUE(platform::SameFile(entries[i], dir / found[i]))
                << c.what << testing::PrintToString(entries[i]);
        }
    }
}

TEST(AutoListFiles, FolderReachedThroughLinksIsSearchedOnce) {
    EXPECT_EQ(Search(testsupport::WindowsPathFromEnv("BRINDLE_LINK_TREE"), true).size(), 2u);
}

// Wine shows a Unix folder named "a*b", which no Windows path can name, so listing it fails, as listing a
// folder the user may not read does on Windows (the tests run as root, who reads every folder).
TEST(AutoListFiles, SubfoldersThatCannotBeListedAreReportedWithTheSystemsReason) {
    const std::wstring tree = testsupport::WindowsPathFromEnv("BRINDLE_UNLISTABLE_TREE");
    job::JobState form;
    const auto entries = Search(tree, true, &form);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(platform::SameFile(entries[1], tree + L"\\ok\\in.rar"));
    ASSERT_EQ(form.unlistedFolders.size(), 1u);
    EXPECT_EQ(form.unlistedFolders[0].path, tree + L"\\a*b");
    EXPECT_EQ(form.unlistedFolders[0].reason, platform::SystemMessage(ERROR_INVALID_NAME));

    // The starting folder's own failure is the search's answer.
    job::JobState start;
    EXPECT_FALSE(job::AutoListFiles(start, tree + L"\\a*b", L"*.rar", true));
    EXPECT_TRUE(start.unlistedFolders.empty());
}

TEST(AutoListFiles, FolderWithMoreThan32767SubfoldersIsSearchedCompletely) {
    const std::wstring tree = testsupport::WindowsPathFromEnv("BRINDLE_WIDE_TREE");
    const auto entries = Search(tree, true);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(platform::SameFile(entries[1], tree + L"\\d33000\\last.rar"));
}
