// The shell's real folder picker, answered from a second thread as a user would answer it.
#include "folder_picker_driver.h"
#include "platform/ansi_text.h"
#include "platform/sys_api.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const wchar_t Title[] = L"RAR 文件位置：";

// A folder name of 60 Chinese characters, told apart by its first.
std::wstring LongName(wchar_t first) {
    return first + std::wstring(59, L'档');
}

// What a 260-byte ANSI buffer held of path: at most 259 bytes and the NUL, never half a character.
std::wstring CutAtAnsiBuffer(const std::wstring& path) {
    std::string bytes = platform::ToAnsi(path).substr(0, MAX_PATH - 1);
    size_t whole = 0;
    while (whole < bytes.size()) {
        const size_t next =
            whole + (platform::IsAnsiLeadByte(static_cast<unsigned char>(bytes[whole])) ? 2 : 1);
        if (next > bytes.size()) {
            break;
        }
        whole = next;
    }
    return platform::FromAnsi(bytes.substr(0, whole));
}

bool Shows(const testsupport::SeenPicker& picker, const std::wstring& text) {
    return std::find(picker.texts.begin(), picker.texts.end(), text) != picker.texts.end();
}

} // namespace

// The folder's path is longer than a 260-byte ANSI buffer, and a sibling folder answers to the part of
// it that such a buffer held.
TEST(BrowseForFolder, LongPathComesBackWhole) {
    testsupport::ScratchDir dir(L"picker");
    std::wstring picked = dir.path();
    for (wchar_t first : {L'甲', L'乙', L'丙'}) {
        picked += L"\\" + LongName(first);
        testsupport::MakeDir(picked);
    }
    ASSERT_GT(platform::ToAnsi(picked).size(), size_t{MAX_PATH}) << "the path must not fit the old buffer";
    ASSERT_LT(picked.size(), size_t{MAX_PATH}) << "Wine's shell takes paths of fewer than 260 UTF-16 units";
    const std::wstring prefix = CutAtAnsiBuffer(picked);
    ASSERT_GT(prefix.size(), (dir / LongName(L'甲')).size()) << "the cut falls inside the second name";
    testsupport::MakeDir(prefix);

    std::wstring answer;
    testsupport::SeenPicker seen;
    {
        testsupport::FolderPickerDriver user(picked);
        answer = sysAPI::BrowseForFolder(Title, nullptr);
        seen = user.Seen();
    }
    ASSERT_TRUE(seen.hasFolderTree) << "the shell's picker never opened";
    EXPECT_TRUE(seen.hasEditField);
    EXPECT_TRUE(Shows(seen, Title));
    EXPECT_EQ(answer, picked);
    EXPECT_NE(answer, prefix);
}

TEST(BrowseForFolder, ChineseFolderNameComesBackAsTheSameText) {
    testsupport::ScratchDir dir(L"picker");
    const std::wstring picked = dir / L"压缩 文件夹";
    testsupport::MakeDir(picked);
    std::wstring answer;
    {
        testsupport::FolderPickerDriver user(picked);
        answer = sysAPI::BrowseForFolder(Title, nullptr);
    }
    EXPECT_EQ(answer, picked);
}

TEST(BrowseForFolder, CancelGivesEmptyAndEmptyTitleShowsTheDefault) {
    std::wstring answer = L"unchanged";
    testsupport::SeenPicker seen;
    {
        testsupport::FolderPickerDriver user(L"");
        answer = sysAPI::BrowseForFolder(L"", nullptr);
        seen = user.Seen();
    }
    ASSERT_TRUE(seen.hasFolderTree) << "the shell's picker never opened";
    EXPECT_TRUE(Shows(seen, L"Select a folder:"));
    EXPECT_EQ(answer, L"");
}
