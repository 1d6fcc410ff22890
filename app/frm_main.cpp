#include "app/frm_main.h"

#include "app/control_setup.h"
#include "app/controls.h"
#include "app/dpi.h"
#include "app/given_folder.h"
#include "app/startup.h"
#include "job/job_state.h"
#include "platform/win32_error.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <exception>
#include <utility>

namespace app {

namespace {

constexpr wchar_t ClassName[] = L"BrindleMainWindow";
constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD WindowExStyle = WS_EX_CONTROLPARENT;
// Posted to the window by itself: once its first paint is done, and after a control got the focus.
constexpr UINT ShownMessage = WM_APP;
constexpr UINT FocusMovedMessage = WM_APP + 1;

} // namespace

frmMain::frmMain(std::wstring programFolder) : programFolder_(std::move(programFolder)) {}

frmMain::~frmMain() {
    // A run still going ends with the window: every process of it, at once.
    run_.reset();
    if (hwnd_ != nullptr) {
        ::DestroyWindow(hwnd_);
    }
}

bool frmMain::Create(HINSTANCE instance) {
    RegisterWindowClass(instance, ClassName, WindowProc);
    // The caption as designed; start-up replaces it before the window first shows.
    if (::CreateWindowExW(WindowExStyle, ClassName, L"appName", WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this) == nullptr) {
        platform::ThrowLastError("CreateWindowExW");
    }
    if (!Form_Load()) {
        ::DestroyWindow(std::exchange(hwnd_, nullptr));
        return false;
    }
    return true;
}

void frmMain::Show(int showCommand) {
    CenterOnWorkArea(hwnd_);
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
    ::SetFocus(Control(txtPath));
    ::PostMessageW(hwnd_, ShownMessage, 0, 0);
}

void frmMain::TakeFolder(const std::wstring& path) {
    SetTextOf(Control(txtPath), FolderOf(path));
}

LRESULT CALLBACK frmMain::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<frmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->controls_.Clear();
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SYSCOMMAND:
        // Minimising takes the focus away before the window is told it is inactive.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            RememberFocus();
        }
        break;
    case WM_ACTIVATE:
        // Handled here, not by the default, which would leave the focus on the window itself.
        OnActivate(LOWORD(wParam) != WA_INACTIVE, HIWORD(wParam) != 0);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case RunEventsMessage:
        OnRunEvents();
        return 0;
    case WM_TIMER:
        if (wParam == RunEventsTimer) {
            OnRunEvents();
            return 0;
        }
        break;
    case WM_CLOSE:
        // The close box and Alt+F4 during a run ask whether to stop it first.
        if (run_) {
            OnCloseDuringRun();
            return 0;
        }
        break;
    case DM_GETDEFID:
        return MAKELRESULT(defaultButton_, DC_HASDEFID);
    case FocusMovedMessage:
        FollowFocus();
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case ShownMessage:
        OnShown();
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        // The hourglass stays over the window until the run ends; the stop button shows the arrow, as it
        // takes clicks.
        if (run_ && reinterpret_cast<HWND>(wParam) != Control(cmdStop)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void frmMain::OnCreate() {
    dpi_ = WindowDpi(hwnd_);
    // Folders dropped from Explorer arrive as WM_DROPFILES.
    ::DragAcceptFiles(hwnd_, TRUE);
    CreateControls(hwnd_, controls_);
    SetClientSize(hwnd_, TwipsToPixels(ClientWidthTwips, dpi_), TwipsToPixels(ClientHeightTwips, dpi_));
    ApplyLayout(dpi_);
}

void frmMain::ApplyLayout(int dpi) {
    unique_hfont font(CreateDesignFont(dpi));
    LayOutControls(hwnd_, controls_, font.get(), dpi);
    // The controls now use the new font, so the old one may go.
    font_ = std::move(font);
}

// A plain window gets no focus handling from the dialog manager: remember the focused control when the
// window is deactivated (a message box, the picker, another program, minimising) and give it back on
// activation, so no key ever reaches a window whose focus is nowhere.
void frmMain::OnActivate(bool active, bool minimized) {
    if (!active) {
        RememberFocus();
    } else if (!minimized) {
        RestoreFocus();
    }
}

void frmMain::RememberFocus() {
    const HWND focus = ::GetFocus();
    if (focus != nullptr && ::IsChild(hwnd_, focus)) {
        focusWhenInactive_ = focus;
    }
}

void frmMain::RestoreFocus() {
    HWND target = focusWhenInactive_;
    if (target == nullptr || !::IsWindow(target) || !::IsChild(hwnd_, target) || !::IsWindowEnabled(target)) {
        target = Control(txtPath);
    }
    ::SetFocus(target);
}

void frmMain::OnCommand(int id, int notification) {
    const bool focused =
        ((id == cmdPath || id == cmdExecute || id == cmdStop || id == chkSubPath || id == chkSaveBat) &&
         notification == BN_SETFOCUS) ||
        ((id == txtPath || id == txtOutput) && notification == EN_SETFOCUS) ||
        (id == cmbFileType && notification == CBN_SETFOCUS);
    if (focused) {
        FollowFocus();
        // Again once the dialog manager is done: after a Tab it sets the buttons' borders its own way.
        ::PostMessageW(hwnd_, FocusMovedMessage, 0, 0);
        return;
    }
    if (notification != BN_CLICKED) {
        return;
    }
    // A handler's failure must not unwind into the system's window procedure.
    try {
        if (id == cmdExecute) {
            cmdExecute_Click();
        } else if (id == cmdPath) {
            cmdPath_Click();
        } else if (id == cmdStop) {
            cmdStop_Click();
        }
    } catch (const platform::Win32Error& error) {
        ShowError(job::RunStoppedMessage(error.Describe()));
    } catch (const std::exception& error) {
        ShowError(job::RunStoppedMessage(platform::WidenAscii(error.what())));
    }
}

// As in a dialog, however the focus got where it is (a click, Tab, an access key, given back after a box or
// the picker): the push button that has the focus is the one Enter presses and shows the default border;
// wherever else the focus is, Execute is.
void frmMain::FollowFocus() {
    const HWND focus = ::GetFocus();
    defaultButton_ = focus == Control(cmdPath) ? cmdPath : focus == Control(cmdStop) ? cmdStop : cmdExecute;
    for (const ControlId button : {cmdPath, cmdStop, cmdExecute}) {
        ShowAsDefault(Control(button), button == defaultButton_);
    }
}

void frmMain::OnDropFiles(HDROP drop) {
    const unique_hdrop dropped(drop);
    const std::wstring path = DroppedPath(dropped.get());
    if (!path.empty()) {
        TakeFolder(path);
    }
}

// The shell completes typed folders in the folder box, as in its own boxes. Set up once the window shows:
// starting COM takes 10 to 20 ms, which the first paint need not wait for.
void frmMain::OnShown() {
    if (com_) {
        return;
    }
    com_.emplace();
    if (com_->initialized()) {
        completion_.Attach(Control(txtPath));
    }
}

LRESULT frmMain::OnCtlColorStatic(HDC dc, HWND control) {
    if (control == Control(Label1)) {
        ::SetTextColor(dc, RGB(0, 0, 255));
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    if (control == Control(txtOutput)) {
        // Locked, not disabled: the log keeps the look of a text box.
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    }
    return ::DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(control));
}

void frmMain::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    // The system's rectangle gives the client area its size at the new DPI, frame included.
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyLayout(dpi_);
}

bool frmMain::Form_Load() {
    form_.strRarExe = ArchiverPath(programFolder_);
    bool present = false;
    try {
        present = ArchiverPresent(form_.strRarExe);
    } catch (const platform::Win32Error&) {
        // A program folder that cannot be listed holds no archiver that could be run.
    }
    if (!present) {
        ::MessageBoxW(nullptr, ArchiverMissingText().c_str(), ProgramTitle, MB_OK | MB_ICONSTOP);
        return false;
    }
    form_.strRarExe = ArchiverCommandPath(form_.strRarExe);

    const HWND combo = Control(cmbFileType);
    ComboResetContent(combo);
    const auto& entries = PatternEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        ComboInsertString(combo, i, entries[i]);
    }
    ComboSetCurSel(combo, 0);

    ::SetWindowTextW(hwnd_, WindowCaption().c_str());
    return true;
}

} // namespace app
