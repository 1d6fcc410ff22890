// An archiver that crashes on the first of two archives, or asks on standard input or the console, never
// holds a run through the window: the second archive is cleaned, the log shows what was printed.

#include "dialog_answerer.h"
#include "window_fixture.h"

#include <windows.h>

using apptest::Calls;
using namespace testsupport;

namespace {

const std::wstring Rule(60, L'-');

// A console for this process, as cmd always has one on Windows (Wine gives a child none when its parent has
// none). The standard handles are copies kept aside: Wine's FreeConsole, which the run calls, closes those
// AllocConsole set.
void ShareAConsoleAsWindowsDoes() {
    const DWORD ids[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    HANDLE copies[3] = {};
    for (int i = 0; i < 3; ++i) {
        ::DuplicateHandle(::GetCurrentProcess(), ::GetStdHandle(ids[i]), ::GetCurrentProcess(), &copies[i], 0,
                          TRUE, DUPLICATE_SAME_ACCESS);
    }
    ::FreeConsole();
    ::AllocConsole();
    ::ShowWindow(::GetConsoleWindow(), SW_HIDE);
    for (int i = 0; i < 3; ++i) {
        ::SetStdHandle(ids[i], copies[i]);
    }
}

using ArchiverTroubleThroughTheWindow = apptest::WindowTest;

} // namespace

// A crash and a question on standard input end the archiver by themselves. A question on the console waits
// for ever, as it would on Windows: the user stops the run (no further archive starts) and then ends the
// archive in progress at once, after a question. The log tells each archive's fate by its real name.
TEST_F(ArchiverTroubleThroughTheWindow, NeverHoldsTheRunBeyondTheUsersStop) {
    ScratchDir dir(L"window archiver trouble");
    const std::wstring a = dir / L"a.rar", b = dir / L"b.rar";
    const struct {
        const char* mode;
        std::wstring printed; // what the archiver printed on the first archive
        size_t calls;
        std::wstring ends; // how the log ends
    } cases[] = {
        {"crash", L"Crashing\r\n", 2,
         L"共 2 个压缩文件：删除了文件的 1 个，没有匹配文件的 0 个，失败 1 个，未处理（已停止）0 "
         L"个。\r\n失败的压缩文件：\r\n  " +
             a + L"：异常退出（退出代码 0xC0000005）"},
        {"stdin", L"Enter password (stdin): stdin: end of input\r\n", 2,
         L"共 2 个压缩文件：删除了文件的 2 个，没有匹配文件的 0 个，失败 0 个，未处理（已停止）0 个。"},
        {"console", L"Enter password (console): ", 1,
         L"运行已停止，1 个压缩文件未处理。\r\n正在处理的压缩文件已被立即结束：" + a +
             L"\r\n它的临时文件可能留在其所在的文件夹中。\r\n" + Rule},
    };
    WriteBytes(a, "x");
    WriteBytes(b, "x");
    ShareAConsoleAsWindowsDoes();
    for (const auto& c : cases) {
        WriteBytes(apptest::ArchiverFile(L"rar-asks.txt"), c.mode);
        ::SendMessageW(Control(app::txtOutput), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        StartRun(dir.path(), L"*.htm");
        if (std::string(c.mode) == "console") {
            // The question shows in the log while the run goes on, and the caption tells which archive.
            EXPECT_TRUE(PumpUntil([&] { return Log().find(c.printed) != std::wstring::npos; }));
            EXPECT_EQ(apptest::Text(window_->hwnd()), L"Brindle - v0.1.14 - 1/2");
            ASSERT_TRUE(::IsWindowVisible(Control(app::cmdStop)));
            Press(app::cmdStop);
            EXPECT_TRUE(window_->Running()) << "the archive in progress is not ended by the first stop";
            DialogAnswerer user;
            user.AnswerBoxesWith(IDYES);
            Press(app::cmdStop);
            ASSERT_EQ(user.Seen().size(), 1u);
            EXPECT_NE(user.Seen()[0].text.find(L"临时文件"), std::wstring::npos);
            EXPECT_EQ(user.Seen()[0].defaultButton, IDNO);
        }
        // A run that waits for ever fails here, and closing the window ends all it started.
        ASSERT_NO_FATAL_FAILURE(WaitForRunEnd()) << c.mode;
        const auto calls = Calls();
        const std::wstring log = Log();
        ASSERT_EQ(calls.size(), c.calls) << c.mode;
        EXPECT_NE(log.find(L"Deleting from " + calls[0].at(1) + L"\r\n" + c.printed), std::wstring::npos)
            << c.mode << "\n"
            << testing::PrintToString(log);
        EXPECT_NE(log.find(c.ends), std::wstring::npos) << c.mode << "\n" << testing::PrintToString(log);
        EXPECT_EQ(apptest::Text(window_->hwnd()), L"Brindle - v0.1.14") << c.mode;
        EXPECT_FALSE(::IsWindowVisible(Control(app::cmdStop))) << c.mode;
        EXPECT_FALSE(Exists(dir / L"Brindle.BAT") || Exists(dir / L"RARLIST.LST")) << c.mode;
        EXPECT_TRUE(::IsWindowEnabled(Control(app::cmdExecute))) << c.mode;
    }
    EXPECT_NE(Log().find(L"失败的压缩文件：\r\n  " + a +
                         L"：已被用户中止（退出代码 255）\r\n未处理的压缩文件：\r\n  " + b),
              std::wstring::npos);
}
