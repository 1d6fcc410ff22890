#include "job/archive_finder.h"
#include "platform/file_identity.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The entries of a run's list, after those that were there before it; empty entries included.
std::vector<std::wstring> Search(const std::wstring& dir, bool subfolders, bool expectFound = true) {
    job::JobState form;
    form.strFileList = L"earlier|";
    EXPECT_EQ(job::AutoListFiles(form, dir, L"*.rar", subfolders), expectFound);
    EXPECT_EQ(form.strFileList.rfind(L"earlier|", 0), 0u) << "entries are only appended";
    EXPECT_EQ(form.strFileList.back(), L'|');
    std::vector<std::wstring> entries;
    for (size_t start = 8, bar; (bar = form.strFileList.find(L'|', start)) != std::wstring::npos;
         start = bar + 1) {
        entries.push_back(form.strFileList.substr(start, bar - start));
    }
    return entries;
}

struct Entry {
    std::wstring path; // a folder ends with '\'
    DWORD attributes = 0;
};

} // namespace

TEST(AutoListFiles, FindsEachArchiveOfTheTreeOnceInOrder) {
    const std::vector<Entry> tree = {{L"top.rar"},
                                     {L"UPPER.RAR"},
                                     {L"a long archive name.rar"},
                                     {L"notes.txt"},
                                     {L"folder.rar\\"},
                                     {L"hidden.rar", FILE_ATTRIBUTE_HIDDEN},
                                     {L"system.rar", FILE_ATTRIBUTE_SYSTEM},
                                     {L"readonly.rar", FILE_ATTRIBUTE_READONLY},
                                     {L"sub one\\"},
                                     {L"sub one\\inner.rar"},
                                     {L"sub one\\深 层\\"},
                                     {L"sub one\\深 层\\网页 备份.rar"},
                                     {L"sub two\\"},
                                     {L"sub two\\x.rar"},
                                     {L"secret\\"},
                                     {L"secret\\never.rar"},
                                     {L"secret\\", FILE_ATTRIBUTE_HIDDEN},
                                     {L"system\\"},
                                     {L"system\\never.rar"},
                                     {L"system\\", FILE_ATTRIBUTE_SYSTEM}};
    const std::vector<std::wstring> top = {L"a long archive name.rar", L"readonly.rar", L"top.rar",
                                           L"UPPER.RAR"};
    const struct {
        const char* what;
        std::vector<Entry> tree;
        bool subfolders;
        std::vector<std::wstring> found; // in this order; Wine lists a folder sorted by name
    } cases[] = {
        {"this folder only", tree, false, top},
        {"files first, then subfolders depth first",
         tree,
         true,
         {top[0], top[1], top[2], top[3], L"sub one\\inner.rar", L"sub one\\深 层\\网页 备份.rar",
          L"sub two\\x.rar"}},
        {"blanks at the ends of names",
         {{L" a.rar"}, {L" only.rar"}, {L"a.rar"}},
         false,
         {L" a.rar", L" only.rar", L"a.rar"}},
        {"names outside the code page",
         {{L"\u0915\u093e archive.rar"},
          {L"\u0e01 folder\\"},
          {L"\u0e01 folder\\inside.rar"},
          {L"plain.rar"}},
         true,
         {L"plain.rar", L"\u0915\u093e archive.rar", L"\u0e01 folder\\inside.rar"}},
        // The system's own search of *.rar matches the alias too (here ABCD~YRS.RAR), and so does the finder.
        {"a name that matches only through its alias",
         {{L"abcdefgh.rarx"}, {L"b.rxr"}},
         false,
         {L"abcdefgh.rarx"}},
        {"nothing to find", {{L"a.zip"}, {L"sub\\"}}, true, {}},
    };
    for (const auto& c : cases) {
        testsupport::ScratchDir dir(L"finder");
        for (const auto& entry : c.tree) {
            if (entry.path.back() == L'\\') {
                testsupport::MakeDir(dir / entry.path);
            } else {
                testsupport::WriteBytes(dir / entry.path, "Rar!");
            }
            if (entry.attributes != 0) {
                testsupport::SetAttributes(dir / entry.path, entry.attributes);
            }
        }
        const auto entries = Search(dir.path(), c.subfolders);
        EXPECT_EQ(Search(dir.path() + L"\\", c.subfolders), entries)
            << c.what << ": a final '\\' changes nothing";
        ASSERT_EQ(entries.size(), c.found.size()) << c.what;
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].find(L' '), std::wstring::npos)
                << c.what << ": " << testing::PrintToString(entries[i]);
            EXPECT_TRUE(platform::SameFile(entries[i], dir / c.found[i]))
                << c.what << ": " << testing::PrintToString(entries[i]) << " for "
                << testing::PrintToString(c.found[i]);
        }
    }
}

TEST(AutoListFiles, MalformedPathFails) {
    EXPECT_TRUE(Search(L"Z:\\bad|name", true, false).empty());
}

TEST(AutoListFiles, FolderReachedThroughLinksIsSearchedOnce) {
    const std::wstring tree = testsupport::WindowsPathFromEnv("BRINDLE_LINK_TREE");
    EXPECT_EQ(Search(tree, true).size(), 2u);
}

TEST(AutoListFiles, FolderWithMoreThan32767SubfoldersIsSearchedCompletely) {
    const std::wstring tree = testsupport::WindowsPathFromEnv("BRINDLE_WIDE_TREE");
    const auto entries = Search(tree, true);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(platform::SameFile(entries[1], tree + L"\\d33000\\last.rar"));
}
