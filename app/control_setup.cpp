#include "app/control_setup.h"

#include "app/controls.h"
#include "app/dpi.h"
#include "app/layout.h"
#include "app/log_box.h"
#include "app/resource_ids.h"
#include "platform/win32_error.h"

namespace app {

namespace {

// The drop-down list of the pattern box, below its edit field, at 96 DPI.
constexpr int ComboListHeight = 120;

} // namespace

void RegisterWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC windowProc) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className;
    windowClass.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_BRINDLE), IMAGE_ICON,
                                                        ::GetSystemMetrics(SM_CXICON),
                                                        ::GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_BRINDLE), IMAGE_ICON,
                                                          ::GetSystemMetrics(SM_CXSMICON),
                                                          ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        platform::ThrowLastError("RegisterClassExW");
    }
}

void CreateControls(HWND window, ControlHandles& controls) {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
    // Created in tab order, which is the order Tab follows.
    for (const ControlRow& row : ControlTable()) {
        const ControlClass controlClass = ClassFor(row.kind);
        const HWND control = ::CreateWindowExW(
            controlClass.exStyle, controlClass.name, row.caption, controlClass.style, 0, 0, 0, 0, window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        // A window without one of its controls would fail later, far from the cause.
        if (control == nullptr) {
            platform::ThrowLastError("CreateWindowExW", controlClass.name);
        }
        controls.Set(row.id, control);
    }
    // The frames go to the bottom of the order, so they never paint over the controls inside them.
    for (const ControlRow& row : ControlTable()) {
        if (row.kind == ControlKind::Frame) {
            ::SetWindowPos(controls[row.id], HWND_BOTTOM, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    RemoveTextLimit(controls[txtOutput]);
    ReserveLogRoom(controls[txtOutput]);
    RemoveTextLimit(controls[txtPath]);
    RemoveComboTextLimit(controls[cmbFileType]);
}

void LayOutControls(HWND window, const ControlHandles& controls, HFONT font, int dpi) {
    for (const ControlRow& row : ControlTable()) {
        const HWND control = controls[row.id];
        RECT rect = ControlRect(row, dpi);
        if (row.kind == ControlKind::SizedLabel) {
            // Sized to the caption's one line in the window's font.
            const SIZE text = TextExtent(control, font, row.caption);
            rect.right = rect.left + text.cx;
            rect.bottom = rect.top + text.cy;
        } else if (row.kind == ControlKind::Combo) {
            rect.bottom += ::MulDiv(ComboListHeight, dpi, DesignDpi);
        }
        SetFont(control, font);
        ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(window, nullptr, TRUE);
}

void CenterOnWorkArea(HWND window) {
    RECT outer{};
    ::GetWindowRect(window, &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    ::SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                   area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

} // namespace app
