// What frmMain's two buttons do. Execute reads the boxes into the run's inputs; the run shows errors, asks,
// writes log entries and holds the window busy through frmMain. Browse asks the shell's folder picker.

#include "app/frm_main.h"

#include "app/controls.h"
#include "app/log_box.h"
#include "app/startup.h"
#include "job/job_state.h"
#include "platform/mod_function.h"
#include "platform/sys_api.h"
#include "platform/win32_error.h"

namespace app {

namespace {

// Clicks and keys that arrived while a run held the thread were meant for a busy window; they must not
// start a second run the moment Execute is enabled again.
void DiscardQueuedInput() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (::PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

} // namespace

void frmMain::cmdExecute_Click() {
    const job::RunInputs inputs{TextOf(Control(txtPath)), TextOf(Control(cmbFileType)),
                                IsChecked(Control(chkSubPath)), IsChecked(Control(chkSaveBat))};
    job::RunCleanUp(form_, inputs, *this);
}

void frmMain::cmdPath_Click() {
    const std::wstring folder = sysAPI::BrowseForFolder(L"RAR 文件位置：", hwnd_, FolderToOpenAt());
    // Cancel leaves what the user typed.
    if (!folder.empty()) {
        SetTextOf(Control(txtPath), folder);
    }
    RestoreFocus();
}

// The folder in the folder box, when it names one, for the picker to open at.
std::wstring frmMain::FolderToOpenAt() const {
    const std::wstring folder = job::NormalizeFolder(TextOf(Control(txtPath)));
    try {
        return !folder.empty() && ModFunction::FolderExists(folder) ? folder : std::wstring();
    } catch (const platform::Win32Error&) {
        return std::wstring(); // a malformed path or a drive that is not ready
    }
}

void frmMain::ShowError(const std::wstring& text) {
    ::MessageBoxW(hwnd_, text.c_str(), ProgramTitle, MB_OK | MB_ICONSTOP);
    RestoreFocus();
}

bool frmMain::Confirm(const std::wstring& question) {
    const int answer =
        ::MessageBoxW(hwnd_, question.c_str(), ProgramTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    RestoreFocus();
    return answer == IDYES;
}

void frmMain::WriteMessage(std::wstring_view strMessage) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    AppendLogEntry(Control(txtOutput), strMessage, now);
}

void frmMain::SetBusy(bool busy) {
    const HWND execute = Control(cmdExecute);
    if (busy) {
        focusBeforeRun_ = ::GetFocus();
        busy_ = true;
        ::EnableWindow(execute, FALSE);
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return;
    }
    DiscardQueuedInput();
    busy_ = false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::EnableWindow(execute, TRUE);
    // Disabling the focused button took the focus away; give it back so the keyboard keeps working.
    if (focusBeforeRun_ != nullptr && ::IsWindow(focusBeforeRun_) && ::GetFocus() != focusBeforeRun_) {
        ::SetFocus(focusBeforeRun_);
    }
}

} // namespace app
