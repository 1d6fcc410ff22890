// The only-batch run as the user feels it: Brindle.exe's own window is given a folder, include-subfolders
// and only-batch are ticked, Execute is pressed, and the time runs until Execute is enabled again. The
// references, in the same run: a bare walk of the same tree, `dir /s /b`, and the floor of the search, a
// bare walk that asks for the 8.3 aliases the batch's short paths are made of.
#include "app/layout.h"
#include "benchmarks.h"
#include "platform/unique_handle.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr wchar_t WindowClass[] = L"BrindleMainWindow";

struct FindContext {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK NoteWindow(HWND window, LPARAM context) {
    auto& find = *reinterpret_cast<FindContext*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (owner == find.processId && std::wstring(name) == WindowClass && ::IsWindowVisible(window)) {
        find.window = window;
        return FALSE;
    }
    return TRUE;
}

// Brindle.exe started from its own folder, until its window is closed.
class RunningBrindle {
  public:
    explicit RunningBrindle(const std::wstring& exe) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + exe + L"\"";
        const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
        PROCESS_INFORMATION information{};
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                              &startup, &information)) {
            return;
        }
        process_.reset(information.hProcess);
        platform::unique_handle thread(information.hThread);
        FindContext find{information.dwProcessId, nullptr};
        for (int i = 0; i < 20000 && find.window == nullptr; ++i) {
            ::EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&find));
            ::Sleep(1);
        }
        window_ = find.window;
    }
    ~RunningBrindle() {
        if (window_ != nullptr) {
            ::PostMessageW(window_, WM_CLOSE, 0, 0);
        }
        ::WaitForSingleObject(process_.get(), 10000);
    }
    RunningBrindle(const RunningBrindle&) = delete;
    RunningBrindle& operator=(const RunningBrindle&) = delete;

    HWND Control(app::ControlId id) const { return ::GetDlgItem(window_, id); }
    bool Shown() const { return window_ != nullptr; }

  private:
    platform::unique_handle process_;
    HWND window_ = nullptr;
};

void Tick(HWND checkBox) {
    if (::SendMessageW(checkBox, BM_GETCHECK, 0, 0) != BST_CHECKED) {
        ::SendMessageW(checkBox, BM_CLICK, 0, 0);
    }
}

// Presses Execute and waits until it is enabled again; false when the run did not end within a minute.
bool PressExecute(const RunningBrindle& brindle) {
    const HWND execute = brindle.Control(app::cmdExecute);
    DWORD_PTR result = 0;
    // The click is handled, and the run made, before the sent message returns.
    if (!::SendMessageTimeoutW(execute, BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result)) {
        return false;
    }
    while (!::IsWindowEnabled(execute)) {
        ::Sleep(1);
    }
    return true;
}

} // namespace

int WindowRun(const std::wstring& root, const std::wstring& brindleExe) {
    RunningBrindle brindle(brindleExe);
    if (!brindle.Shown()) {
        std::fprintf(stderr, "window run: Brindle's window did not show (Rar.exe beside it?)\n");
        return 1;
    }
    ::SendMessageW(brindle.Control(app::txtPath), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(root.c_str()));
    Tick(brindle.Control(app::chkSubPath));
    Tick(brindle.Control(app::chkSaveBat));
    // A first run brings the tree's listing into the caches, as it is for the references.
    PressExecute(brindle);
    std::vector<double> ours, walk, dir, aliases;
    // More rounds than elsewhere: the figure is a sum of small parts, and the machine is shared.
    for (int i = 0; i < 2 * Repetitions - 1; ++i) {
        bool ended = true;
        ours.push_back(Seconds([&] { ended = PressExecute(brindle); }));
        if (!ended) {
            std::fprintf(stderr, "window run: the run did not end\n");
            return 1;
        }
        walk.push_back(Seconds([&] { BareWalk(root); }));
        aliases.push_back(Seconds([&] { BareWalk(root, FindExInfoStandard); }));
        dir.push_back(Seconds([&] { RunQuietly(L"cmd /c dir /s /b /a:-h-s *.rar", root); }));
    }
    ::DeleteFileW((root + L"\\Brindle.BAT").c_str());
    Row("only-batch run through the window vs bare walk", SpreadOf(ours), SpreadOf(walk),
        SpreadOf(Ratios(ours, walk)), "<= 1.2");
    Row("only-batch run through the window vs `dir /s /b`", SpreadOf(ours), SpreadOf(dir),
        SpreadOf(Ratios(ours, dir)), "<= 0.5");
    Row("only-batch run through the window vs bare walk asking for 8.3 aliases (the search's floor)",
        SpreadOf(ours), SpreadOf(aliases), SpreadOf(Ratios(ours, aliases)), "report");
    Row("(bare walk asking for 8.3 aliases vs bare walk)", SpreadOf(aliases), SpreadOf(walk),
        SpreadOf(Ratios(aliases, walk)), "report");
    return 0;
}

} // namespace bench
