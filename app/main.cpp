// Brindle: finds the RAR archives of a folder and deletes the members that match a pattern from each,
// through a batch of archiver commands whose output lands in the window's log.

#include "app/dialog_keys.h"
#include "app/frm_main.h"
#include "app/given_folder.h"
#include "app/startup.h"
#include "platform/win32_error.h"

#include <windows.h>

#include <commctrl.h>

#include <exception>

namespace {

int RunMessageLoop(const app::frmMain& window) {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager gives the window Tab, access keys and the default button.
        if (!app::HandleDialogKeys(window.hwnd(), message, window.CompletionListShown())) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    try {
        app::frmMain window(app::ProgramFolder());
        if (!window.Create(instance)) {
            return 1;
        }
        // A shortcut's or 发送到's folder (a file stands for its folder) is in the box when the window shows.
        if (const std::wstring given = app::CommandLinePath(); !given.empty()) {
            window.TakeFolder(given);
        }
        window.Show(showCommand);
        return RunMessageLoop(window);
    } catch (const platform::Win32Error& error) {
        ::MessageBoxW(nullptr, error.Describe().c_str(), app::ProgramTitle, MB_OK | MB_ICONSTOP);
    } catch (const std::exception&) {
        ::MessageBoxW(nullptr, L"内存不足或内部错误，程序结束。", app::ProgramTitle, MB_OK | MB_ICONSTOP);
    }
    return 1;
}
