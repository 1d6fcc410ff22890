// An archiver that crashes on the first of two archives, or asks on standard input or the console, never
// holds a run through the window: the second archive is cleaned, the log shows what was printed.

#include "platform/unique_handle.h"
#include "window_fixture.h"

#include <windows.h>

#include <tlhelp32.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

using apptest::Calls;

namespace {

// Once the time given has passed, and until it is stopped, ends every process below the interpreters this
// test started (not the host of its own console): a run that would wait for ever then ends, and the test
// fails instead of hanging.
class Watchdog {
  public:
    explicit Watchdog(DWORD milliseconds)
        : thread_([this, milliseconds] {
              for (DWORD waited = 0; !stop_; waited += 100, ::Sleep(100)) {
                  if (waited >= milliseconds) {
                      fired_ = true;
                      EndDescendants();
                  }
              }
          }) {}
    ~Watchdog() {
        stop_ = true;
        thread_.join();
    }
    bool fired() const { return fired_; }

  private:
    static void EndDescendants() {
        std::vector<PROCESSENTRY32W> all;
        const platform::unique_handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
             more = ::Process32NextW(snapshot.get(), &entry)) {
            all.push_back(entry);
        }
        std::set<DWORD> doomed;
        for (size_t before = SIZE_MAX; before != doomed.size();) {
            before = doomed.size();
            for (const auto& p : all) {
                if (doomed.count(p.th32ParentProcessID) != 0 ||
                    (p.th32ParentProcessID == ::GetCurrentProcessId() &&
                     _wcsicmp(p.szExeFile, L"cmd.exe") == 0)) {
                    doomed.insert(p.th32ProcessID);
                }
            }
        }
        for (const DWORD id : doomed) {
            ::TerminateProcess(platform::unique_handle(::OpenProcess(PROCESS_TERMINATE, FALSE, id)).get(), 1);
        }
    }

    std::atomic<bool> stop_{false}, fired_{false};
    std::thread thread_;
};

// Gives this process a console, as cmd always has one on Windows (Wine gives a child none when its parent
// has none): a child that shared it would wait for an answer no one gives. The standard handles become
// copies of the test's own: Wine's FreeConsole, which the run calls, closes the standard handles that
// AllocConsole set, and the test's output would go with them.
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

TEST_F(ArchiverTroubleThroughTheWindow, NeverHoldsTheRun) {
    const struct {
        const char* mode;
        std::wstring printed; // what the archiver printed on the first archive
    } cases[] = {
        {"console", L"Enter password (console): console: end of input\r\n"},
        {"crash", L"Crashing\r\n"},
        {"stdin", L"Enter password (stdin): stdin: end of input\r\n"},
    };
    testsupport::ScratchDir dir(L"window archiver trouble");
    testsupport::WriteBytes(dir / L"a.rar", "x");
    testsupport::WriteBytes(dir / L"b.rar", "x");
    ShareAConsoleAsWindowsDoes();
    for (const auto& c : cases) {
        testsupport::WriteBytes(apptest::ArchiverFile(L"rar-asks.txt"), c.mode);
        ::SendMessageW(Control(app::txtOutput), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        bool ended = false;
        {
            const Watchdog watchdog(30000);
            Run(dir.path(), L"*.htm");
            ended = !watchdog.fired();
        }
        EXPECT_TRUE(ended) << c.mode << ": the run had to be ended from outside";
        const auto calls = Calls();
        const std::wstring log = Log();
        EXPECT_EQ(calls.size(), 2u) << c.mode << ": the second archive was not cleaned";
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_NE(log.find(L"Deleting from " + calls[i].at(1) + L"\r\n" + (i == 0 ? c.printed : L"")),
                      std::wstring::npos)
                << c.mode << "\n"
                << testing::PrintToString(log);
        }
        EXPECT_FALSE(testsupport::Exists(dir / L"Brindle.BAT")) << c.mode;
        EXPECT_TRUE(::IsWindowEnabled(Control(app::cmdExecute))) << c.mode;
    }
}
