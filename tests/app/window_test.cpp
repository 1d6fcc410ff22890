#include "app/layout.h"
#include "app/log_box.h"
#include "dialog_answerer.h"
#include "platform/file_identity.h"
#include "window_fixture.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

using apptest::Pump;
using apptest::Text;
using namespace app;
using namespace testsupport;

namespace {

RECT RectIn(HWND control, HWND parent) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LONG FontHeight(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return std::wstring(font.lfFaceName) == L"Tahoma" ? font.lfHeight : 0;
}

const std::wstring Rule(60, L'-');

// The paths as Explorer's drop hands them over: a DROPFILES header, then each path ending in a NUL, and one
// more NUL.
HGLOBAL Drop(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const auto& path : paths) {
        list += path + L'\0';
    }
    // Zeroed memory: the final NUL is there already.
    const HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    *header = {sizeof(DROPFILES), {}, FALSE, TRUE};
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(header + 1));
    ::GlobalUnlock(memory);
    return memory;
}

} // namespace

class MainWindow : public apptest::WindowTest {
  protected:
    // The client area, the folder box and Execute as the design gives them at a DPI, and the font height.
    void ExpectLayout(int dpi, SIZE client, RECT folder, LONG executeWidth, LONG fontHeight) {
        RECT actual{};
        ::GetClientRect(window_->hwnd(), &actual);
        EXPECT_EQ(actual.right, client.cx) << dpi;
        EXPECT_EQ(actual.bottom, client.cy) << dpi;
        const RECT box = RectIn(Control(txtPath), window_->hwnd());
        EXPECT_TRUE(::EqualRect(&box, &folder))
            << dpi << ": " << box.left << "," << box.top << " " << box.right << "," << box.bottom;
        const RECT execute = RectIn(Control(cmdExecute), window_->hwnd());
        EXPECT_EQ(execute.right - execute.left, executeWidth) << dpi;
        for (const ControlRow& row : ControlTable()) {
            const RECT rect = RectIn(Control(row.id), window_->hwnd());
            EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.cx &&
                        rect.bottom <= client.cy)
                << row.id << " stands inside the window at " << dpi;
            EXPECT_EQ(FontHeight(Control(row.id)), fontHeight) << row.id << ": Tahoma 9 points at " << dpi;
        }
    }
};

// The focus on opening and the order of the Tab key are the keys test's, through real key presses.
TEST_F(MainWindow, OpensWithTheFirstPatternLaidOutAsDesignedAndScalesOnAMoveToA150PercentMonitor) {
    EXPECT_EQ(Text(Control(cmbFileType)), L"*.htm");
    ExpectLayout(96, {519, 330}, {112, 27, 112 + 297, 27 + 18}, 113, -12);
    // The rectangle the system suggests: the client area at 150 percent inside the same frame.
    RECT window{}, client{};
    ::GetWindowRect(window_->hwnd(), &window);
    ::GetClientRect(window_->hwnd(), &client);
    window.right += 779 - client.right;
    window.bottom += 495 - client.bottom;
    ::SendMessageW(window_->hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&window));
    ExpectLayout(144, {779, 495}, {168, 41, 168 + 446, 41 + 27}, 170, -18);
}

// The folder chosen in the picker comes back whole: longer than a 260-byte ANSI buffer and ending in a name
// the code page cannot hold; and that is the folder cleaned. The picker opens at the folder in the box, and
// Cancel leaves the box as it was.
TEST_F(MainWindow, BrowseTakesTheChosenFolderWholeOpensAtTheFolderInTheBoxAndCancelLeavesIt) {
    ScratchDir dir(L"browse");
    std::wstring picked = dir.path();
    for (wchar_t first : {L'甲', L'乙', L'丙'}) {
        picked += L"\\" + (first + std::wstring(40, L'档'));
    }
    picked += L"\\\uD55C\uAD6D 资料";
    ASSERT_LT(picked.size(), size_t{MAX_PATH}) << "Wine's shell takes paths of fewer than 260 UTF-16 units";
    MakeDir(picked);
    WriteBytes(picked + L"\\a.rar", "x");
    {
        DialogAnswerer user(picked);
        Click(cmdPath);
        ASSERT_EQ(user.Seen().size(), 1u) << "the shell's picker never opened";
        EXPECT_NE(user.Seen()[0].text.find(L"RAR 文件位置：\n"), std::wstring::npos);
    }
    // Asserted: a run on any other folder would stop at a message box no one answers.
    ASSERT_EQ(Text(Control(txtPath)), picked);
    Click(cmdExecute);
    ASSERT_EQ(apptest::Calls().size(), 1u) << testing::PrintToString(Log());
    EXPECT_TRUE(platform::SameFile(apptest::Calls()[0].at(1), picked + L"\\a.rar"));
    {
        DialogAnswerer user;
        Click(cmdPath);
        ASSERT_EQ(user.Seen().size(), 1u);
        EXPECT_EQ(user.Seen()[0].selected, L"\uD55C\uAD6D 资料") << "opened at the folder in the box";
    }
    EXPECT_EQ(Text(Control(txtPath)), picked) << "Cancel leaves the folder box as it was";
}

// A folder dropped from Explorer goes into the folder box; a file, an archive too, stands for its folder;
// of several, the first counts. Nothing runs.
TEST_F(MainWindow, AFolderDroppedOnTheWindowGoesIntoTheFolderBox) {
    EXPECT_TRUE(::GetWindowLongPtrW(window_->hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES)
        << "Explorer drops only on a window that takes dropped files";
    ScratchDir dir(L"drop");
    const std::wstring folder = dir / L"下载 合集";
    MakeDir(folder);
    WriteBytes(folder + L"\\a.rar", "x");
    WriteBytes(folder + L"\\说明.txt", "x");
    const std::vector<std::wstring> cases[] = {
        {folder}, {folder + L"\\a.rar"}, {folder + L"\\说明.txt", dir.path()}};
    for (const auto& dropped : cases) {
        ::SetWindowTextW(Control(txtPath), L"typed before");
        ::PostMessageW(window_->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(Drop(dropped)), 0);
        Pump(window_->hwnd());
        EXPECT_EQ(Text(Control(txtPath)), folder) << testing::PrintToString(dropped);
    }
    EXPECT_TRUE(apptest::Calls().empty());
    EXPECT_EQ(Log(), L"");
}

TEST_F(MainWindow, LogEntriesFollowEachOtherWholeTheEndStaysInViewAndTypingChangesNothing) {
    SYSTEMTIME at{};
    at.wHour = 9;
    at.wMinute = 5;
    // Megabytes, and enough entries for the box's buffer to be handed over several times.
    std::wstring expected;
    for (int i = 0; expected.size() < 3'000'000; ++i) {
        const std::wstring message =
            i == 0 ? L"line 1\r\n\tline 2\r\n"
                   : std::wstring(i % 2 ? 2000 : 200'000, static_cast<wchar_t>(L'a' + i % 26)) +
                         std::to_wstring(i);
        AppendLogEntry(Control(txtOutput), message, at);
        expected +=
            (i == 0 ? L"" : L"\r\n") + std::wstring(L"09:05\r\n") + Rule + L"\r\n" + message + L"\r\n" + Rule;
    }
    const std::wstring log = Log();
    ASSERT_EQ(log.size(), expected.size());
    EXPECT_TRUE(log == expected);
    const LRESULT lines = ::SendMessageW(Control(txtOutput), EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(::SendMessageW(Control(txtOutput), EM_GETFIRSTVISIBLELINE, 0, 0), lines - 20)
        << "the end is in view";
    EXPECT_TRUE(::IsWindowVisible(Control(txtOutput))) << "the box is shown after its appends";
    ::SetFocus(Control(txtOutput));
    ::SendMessageW(Control(txtOutput), WM_CHAR, 'x', 1);
    ::SendMessageW(Control(txtOutput), WM_KEYDOWN, VK_DELETE, 1);
    ::SendMessageW(Control(txtOutput), WM_PASTE, 0, 0);
    EXPECT_TRUE(Log() == expected) << "the log takes no typing";
}

// Enter while the folder box's list of suggestions shows is the list's (Windows shows the list; Wine's
// completion shows none, so the loop's answer is given here): it presses nothing. Otherwise Enter in the
// folder box presses Execute.
TEST_F(MainWindow, EnterTakenByTheListOfSuggestionsPressesNothing) {
    ScratchDir dir(L"suggestions");
    WriteBytes(dir / L"a.rar", "x");
    ::SetWindowTextW(Control(txtPath), dir.path().c_str());
    ::SetFocus(Control(txtPath));
    MSG enter{Control(txtPath), WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {}};
    EXPECT_FALSE(app::HandleDialogKeys(window_->hwnd(), enter, true));
    Pump(window_->hwnd());
    EXPECT_FALSE(window_->Running());
    EXPECT_TRUE(apptest::Calls().empty());
    EXPECT_TRUE(app::HandleDialogKeys(window_->hwnd(), enter, false));
    WaitForRunEnd();
    EXPECT_EQ(apptest::Calls().size(), 1u);
}
