// What frmMain's Browse button does (the shell's folder picker), and the message boxes and log entries
// that the window shows for itself and for a run.

#include "app/frm_main.h"

#include "app/controls.h"
#include "app/log_box.h"
#include "app/startup.h"
#include "job/job_state.h"
#include "platform/mod_function.h"
#include "platform/sys_api.h"
#include "platform/win32_error.h"

namespace app {

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
    return job::ExistingFolder(TextOf(Control(txtPath))).value_or(std::wstring());
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

} // namespace app
