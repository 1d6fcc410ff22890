#include "app/layout.h"
#include "folder_picker_driver.h"
#include "message_box_watcher.h"
#include "window_fixture.h"

#include <windowsx.h>

#include <vector>

using apptest::Pump;
using apptest::Text;
using namespace app;

namespace {

RECT ClientRectOf(HWND control, HWND parent) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring FaceName(HWND control, LONG* height) {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    ::GetObjectW(font, sizeof logFont, &logFont);
    *height = logFont.lfHeight;
    return logFont.lfFaceName;
}

} // namespace

class MainWindow : public apptest::WindowTest {};

TEST_F(MainWindow, OpensAsDesignedAfterStartUp) {
    const HWND main = window_->hwnd();
    EXPECT_EQ(Text(main), L"Brindle - v0.1.14");
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_EQ(::GetFocus(), Control(txtPath));

    const HWND combo = Control(cmbFileType);
    ASSERT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 5);
    const wchar_t* expected[] = {L"*.htm", L"*.url", L"*.lnk", L"*.nfo", L"*.txt"};
    for (int i = 0; i < 5; ++i) {
        wchar_t item[16] = {};
        ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ(item, expected[i]);
    }
    EXPECT_EQ(Text(combo), L"*.htm");
    EXPECT_EQ(::SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);

    EXPECT_EQ(Text(Control(txtPath)), L"");
    EXPECT_EQ(Text(Control(txtOutput)), L"");
    EXPECT_EQ(Button_GetCheck(Control(chkSubPath)), BST_UNCHECKED);
    EXPECT_EQ(Button_GetCheck(Control(chkSaveBat)), BST_UNCHECKED);
    EXPECT_TRUE(::IsWindowEnabled(Control(cmdExecute)));
    EXPECT_EQ(Text(Control(cmdExecute)), L"执行(&E)");
    EXPECT_EQ(Text(Control(cmdPath)), L"浏览(&B)…");
    EXPECT_EQ(Text(Control(Label1)), L"暂时只有批量删除 RAR 中的指定文件功能，如果可能以后再加其它功能:)");
    EXPECT_EQ(Text(Control(fraOutput)), L"RAR.EXE 消息");
}

TEST_F(MainWindow, HasAFixedBorderAMinimizeBoxAndNoMaximizeBox) {
    const LONG_PTR style = ::GetWindowLongPtrW(window_->hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
}

TEST_F(MainWindow, ControlsStandWhereTheDesignPutsThemAt96Dpi) {
    const HWND main = window_->hwnd();
    RECT client{};
    ::GetClientRect(main, &client);
    EXPECT_EQ(client.right, 519);
    EXPECT_EQ(client.bottom, 330);

    for (const ControlRow& row : ControlTable()) {
        const RECT actual = ClientRectOf(Control(row.id), main);
        const RECT designed = ControlRect(row, 96);
        EXPECT_EQ(actual.left, designed.left) << row.id;
        EXPECT_EQ(actual.top, designed.top) << row.id;
        if (row.kind != ControlKind::SizedLabel && row.kind != ControlKind::Combo) {
            EXPECT_EQ(actual.right, designed.right) << row.id;
            EXPECT_EQ(actual.bottom, designed.bottom) << row.id;
        }
    }
    // The folder box of the design, in pixels: 16 + 96 across, 8 + 19 down, 297 x 18.
    const RECT folder = ClientRectOf(Control(txtPath), main);
    EXPECT_EQ(folder.left, 112);
    EXPECT_EQ(folder.top, 27);
    EXPECT_EQ(folder.right - folder.left, 297);
    EXPECT_EQ(folder.bottom - folder.top, 18);
}

TEST_F(MainWindow, EveryControlUsesTahomaNinePoint) {
    for (const ControlRow& row : ControlTable()) {
        LONG height = 0;
        EXPECT_EQ(FaceName(Control(row.id), &height), L"Tahoma") << row.id;
        EXPECT_EQ(height, -12) << row.id;
    }
}

TEST_F(MainWindow, TabSkipsFramesAndLabelsAndCyclesBackToTheFolderBox) {
    const HWND main = window_->hwnd();
    const std::vector<HWND> expected = {Control(cmdPath),    Control(chkSubPath), Control(cmbFileType),
                                        Control(chkSaveBat), Control(cmdExecute), Control(txtPath)};
    HWND at = Control(txtPath);
    for (HWND next : expected) {
        at = ::GetNextDlgTabItem(main, at, FALSE);
        EXPECT_EQ(at, next);
    }
    EXPECT_EQ(::GetNextDlgTabItem(main, Control(txtPath), TRUE), Control(cmdExecute))
        << "Shift+Tab runs back";
}

TEST_F(MainWindow, AccessKeysToggleTheCheckBoxesWhereverTheFocusIs) {
    PressKey('s', true);
    EXPECT_EQ(Button_GetCheck(Control(chkSubPath)), BST_CHECKED);
    ::SetFocus(Control(cmdExecute));
    PressKey('c', true);
    EXPECT_EQ(Button_GetCheck(Control(chkSaveBat)), BST_CHECKED);
    PressKey('s', true);
    EXPECT_EQ(Button_GetCheck(Control(chkSubPath)), BST_UNCHECKED);
}

TEST_F(MainWindow, EnterAndAltEStartARun) {
    testsupport::MessageBoxWatcher watcher;
    ::SetWindowTextW(Control(txtPath), L"");
    PressKey(VK_RETURN);
    ASSERT_TRUE(watcher.WaitFor(1, 5000));
    PressKey('e', true);
    ASSERT_TRUE(watcher.WaitFor(2, 5000));
    for (const auto& box : watcher.Seen()) {
        EXPECT_EQ(box.text, L"文件夹： 不存在，请检查！");
        EXPECT_TRUE(box.hasIcon);
    }
}

TEST_F(MainWindow, TheLogTakesNoTypingButKeepsItsText) {
    window_->WriteMessage(L"kept");
    const std::wstring before = Text(Control(txtOutput));
    ::SetFocus(Control(txtOutput));
    EXPECT_EQ(::GetFocus(), Control(txtOutput));
    PressKey('X');
    ::SendMessageW(Control(txtOutput), WM_CHAR, 'x', 1);
    ::SendMessageW(Control(txtOutput), WM_KEYDOWN, VK_DELETE, 1);
    ::SendMessageW(Control(txtOutput), WM_PASTE, 0, 0);
    EXPECT_EQ(Text(Control(txtOutput)), before);
    EXPECT_TRUE(::GetWindowLongPtrW(Control(txtOutput), GWL_STYLE) & WS_HSCROLL)
        << "long lines scroll sideways";
}

TEST_F(MainWindow, ARunThroughTheWindowLogsTheBatchAndTheArchiverOutput) {
    testsupport::ScratchDir dir(L"window run");
    testsupport::MakeDir(dir / L"sub");
    testsupport::WriteBytes(dir / L"a.rar", "x");
    testsupport::WriteBytes(dir / L"sub\\b.rar", "x");

    ::SetWindowTextW(Control(txtPath), dir.path().c_str());
    Button_SetCheck(Control(chkSubPath), BST_CHECKED);
    ::SetWindowTextW(Control(cmbFileType), L"*.jpg");
    Click(cmdExecute);

    const std::wstring log = Text(Control(txtOutput));
    EXPECT_NE(log.find(L"批处理文件：" + dir.path() + L"\\Brindle.BAT 已生成！\r\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"Deleting from "), std::wstring::npos);
    EXPECT_EQ(log.substr(log.size() - 60), std::wstring(60, L'-'));
    DWORD start = 0, end = 0;
    ::SendMessageW(Control(txtOutput), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, log.size()) << "the caret stands at the end";

    const auto calls = apptest::RecordedCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].find("\\sub\\"), std::string::npos) << "files of the folder first";
    EXPECT_EQ(calls[0].find("\\SUB\\"), std::string::npos);
    EXPECT_TRUE(calls[1].find("\\sub\\") != std::string::npos ||
                calls[1].find("\\SUB\\") != std::string::npos)
        << "then the subfolder";
    for (const auto& call : calls) {
        EXPECT_EQ(call.substr(call.size() - 6), "\t*.jpg") << "the typed pattern was used";
    }
    EXPECT_TRUE(::IsWindowEnabled(Control(cmdExecute)));
    EXPECT_EQ(Text(Control(txtPath)), dir.path()) << "the inputs keep the user's values";
    EXPECT_EQ(Button_GetCheck(Control(chkSubPath)), BST_CHECKED);
    EXPECT_FALSE(testsupport::Exists(dir / L"Brindle.BAT"));
}

TEST_F(MainWindow, BlankPatternIsRefusedWithAMessageAndNothingIsWritten) {
    testsupport::ScratchDir dir(L"window blank");
    testsupport::WriteBytes(dir / L"a.rar", "x");
    testsupport::MessageBoxWatcher watcher;
    ::SetWindowTextW(Control(txtPath), dir.path().c_str());
    ::SetWindowTextW(Control(cmbFileType), L"   ");
    Click(cmdExecute);
    ASSERT_TRUE(watcher.WaitFor(1, 5000));
    EXPECT_EQ(watcher.Seen()[0].text, L"要删除的文件类型不能为空，请检查！");
    EXPECT_FALSE(testsupport::Exists(dir / L"Brindle.BAT"));
    EXPECT_FALSE(testsupport::Exists(dir / L"RARLIST.LST"));
    EXPECT_EQ(Text(Control(txtOutput)), L"");
}

TEST_F(MainWindow, AnErrorDuringARunIsShownAndTheWindowEndsIdle) {
    testsupport::ScratchDir dir(L"window error");
    testsupport::WriteBytes(dir / L"a.rar", "x");
    // A list file that cannot be overwritten stops the run part-way.
    testsupport::WriteBytes(dir / L"RARLIST.LST", "old\r\n");
    testsupport::SetAttributes(dir / L"RARLIST.LST", FILE_ATTRIBUTE_READONLY);
    testsupport::MessageBoxWatcher watcher;
    ::SetWindowTextW(Control(txtPath), dir.path().c_str());
    ::SetFocus(Control(cmdExecute));
    Click(cmdExecute);
    ASSERT_TRUE(watcher.WaitFor(1, 5000));
    EXPECT_EQ(watcher.Seen()[0].text.rfind(L"运行中出错，已停止：\r\n", 0), 0u) << "says what failed";
    EXPECT_NE(watcher.Seen()[0].text.find(L"RARLIST.LST"), std::wstring::npos);
    EXPECT_TRUE(::IsWindowEnabled(Control(cmdExecute)));
    EXPECT_EQ(::GetFocus(), Control(cmdExecute)) << "the keyboard still reaches the window";
    EXPECT_TRUE(::IsWindow(window_->hwnd()));
    testsupport::SetAttributes(dir / L"RARLIST.LST", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MainWindow, AMoveToAMonitorOf150PercentScalesLayoutAndFont) {
    const HWND main = window_->hwnd();
    // The rectangle the system suggests: the client area at 150 percent inside the same frame.
    RECT window{};
    RECT before{};
    ::GetWindowRect(main, &window);
    ::GetClientRect(main, &before);
    window.right += 779 - before.right;
    window.bottom += 495 - before.bottom;
    ::SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&window));
    RECT client{};
    ::GetClientRect(main, &client);
    EXPECT_EQ(client.right, 779);
    EXPECT_EQ(client.bottom, 495);
    for (const ControlRow& row : ControlTable()) {
        const RECT actual = ClientRectOf(Control(row.id), main);
        const RECT designed = ControlRect(row, 144);
        EXPECT_EQ(actual.left, designed.left) << row.id;
        EXPECT_EQ(actual.top, designed.top) << row.id;
        LONG height = 0;
        FaceName(Control(row.id), &height);
        EXPECT_EQ(height, -18) << row.id;
    }
    const RECT execute = ClientRectOf(Control(cmdExecute), main);
    EXPECT_EQ(execute.right - execute.left, 170) << "113 pixels at 96 DPI, half as much again";
}

TEST_F(MainWindow, OnlyBatchLeavesTheBatchInAFolderGivenWithItsFinalSeparator) {
    testsupport::ScratchDir dir(L"window batch only");
    testsupport::WriteBytes(dir / L"a.rar", "x");
    ::SetWindowTextW(Control(txtPath), (dir.path() + L"\\").c_str());
    Button_SetCheck(Control(chkSaveBat), BST_CHECKED);
    Click(cmdExecute);
    const std::wstring log = Text(Control(txtOutput));
    EXPECT_NE(log.find(L"批处理文件：" + dir.path() + L"\\Brindle.BAT 已生成！\r\n"), std::wstring::npos)
        << "no doubled separator";
    EXPECT_EQ(log.find(L"Deleting"), std::wstring::npos) << "nothing ran";
    EXPECT_TRUE(testsupport::Exists(dir / L"Brindle.BAT"));
    EXPECT_FALSE(testsupport::Exists(dir / L"RARLIST.LST"));
}

TEST_F(MainWindow, BrowsePutsThePickedFolderIntoTheFolderBoxAndCancelEmptiesIt) {
    std::wstring title;
    HWND owner = nullptr;
    std::wstring answer = L"Z:\\资料 目录\\子目录";
    window_->SetFolderPicker([&](std::wstring_view pickerTitle, HWND pickerOwner) {
        title = pickerTitle;
        owner = pickerOwner;
        return answer;
    });
    PressKey('b', true);
    EXPECT_EQ(title, L"RAR 文件位置：");
    EXPECT_EQ(owner, window_->hwnd());
    EXPECT_EQ(Text(Control(txtPath)), L"Z:\\资料 目录\\子目录");
    answer.clear();
    Click(cmdPath);
    EXPECT_EQ(Text(Control(txtPath)), L"") << "a cancelled picker empties the folder box";
}

// The shell is loaded on the first press of Browse, not at start-up, and its picker fills the folder box.
TEST_F(MainWindow, BrowseLoadsTheShellOnFirstUseAndPutsTheShellPickersFolderIntoTheFolderBox) {
    EXPECT_EQ(::GetModuleHandleW(L"shell32.dll"), nullptr) << "the shell was loaded before Browse";
    testsupport::ScratchDir dir(L"browse");
    const std::wstring picked = dir / L"资料 目录";
    testsupport::MakeDir(picked);
    {
        testsupport::FolderPickerDriver user(picked);
        Click(cmdPath);
        EXPECT_TRUE(user.Seen().hasFolderTree) << "the shell's picker never opened";
    }
    EXPECT_EQ(Text(Control(txtPath)), picked);
    EXPECT_NE(::GetModuleHandleW(L"shell32.dll"), nullptr);
}
