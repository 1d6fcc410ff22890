// The floor of Brindle's start-up: a program made like Brindle.exe (its manifest with common controls 6,
// per-monitor DPI, its icon and version, the same libraries) that runs none of Brindle's code. Alone it
// shows the main window empty; with --controls the same window holds the thirteen controls of the design,
// each made by a bare CreateWindowEx at its design place, with the design font, the pattern list filled
// and the focus in the folder box. With --parts it writes the moments its steps end, as
// bench_startup_parts does, and closes.
#include "resource_ids.h"
#include "startup_clock.h"

#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <initializer_list>

namespace {

constexpr wchar_t ClassName[] = L"BenchDesignedWindow";
constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD Child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD Stop = WS_TABSTOP | WS_GROUP;
constexpr int LabelId = 109;
constexpr int LogId = 112;

struct Control {
    int id;
    const wchar_t* className;
    DWORD style, exStyle;
    const wchar_t* caption;
    int left, top, width, height; // twips, in the window's client area
};

// The design's controls, the frames last so they lie below the controls inside them.
constexpr Control Controls[] = {
    {101, WC_EDITW, Child | Stop | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, L"", 1680, 405, 4455, 270},
    {102, WC_BUTTONW, Child | Stop | BS_PUSHBUTTON, 0, L"浏览(&B)…", 6240, 360, 1095, 375},
    {103, WC_BUTTONW, Child | Stop | BS_AUTOCHECKBOX, 0, L"包含子目录(&S)", 1680, 840, 2775, 255},
    {104, WC_STATICW, Child | SS_LEFT | SS_NOPREFIX | SS_LEFTNOWORDWRAP, 0, L"RAR 文件位置：", 360, 450, 1290,
     210},
    {106, WC_COMBOBOXW, Child | Stop | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0, L"Combo1", 2040, 1620,
     1815, 330 + 1800},
    {107, WC_BUTTONW, Child | Stop | BS_AUTOCHECKBOX, 0, L"仅生成批处理文件(&C)", 2040, 2040, 3015, 255},
    {108, WC_STATICW, Child | SS_LEFT | SS_NOPREFIX | SS_LEFTNOWORDWRAP, 0, L"要删除的文件类型：", 360, 1680,
     1620, 210},
    {LabelId, WC_STATICW, Child | SS_LEFT | SS_NOPREFIX, 0,
     L"暂时只有批量删除 RAR 中的指定文件功能，如果可能以后再加其它功能:)", 4080, 1560, 3255, 735},
    {110, WC_BUTTONW, Child | Stop | BS_DEFPUSHBUTTON, 0, L"执行(&E)", 4920, 4320, 1695, 375},
    {LogId, WC_EDITW,
     Child | WS_GROUP | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL |
         WS_VSCROLL,
     WS_EX_CLIENTEDGE, L"", 360, 2760, 7095, 1215},
    {100, WC_BUTTONW, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, L"RAR 文件", 240, 120, 7335, 1095},
    {105, WC_BUTTONW, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, L"设置", 240, 1320, 7335, 1095},
    {111, WC_BUTTONW, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, L"RAR.EXE 消息", 240, 2520, 7335, 1575},
};

int Pixels(int twips, int dpi) {
    return ::MulDiv(twips, dpi, 1440);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) {
        // The note in blue, the locked log with the look of a text box, as designed.
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id == LabelId || id == LogId) {
            const int face = id == LabelId ? COLOR_BTNFACE : COLOR_WINDOW;
            ::SetTextColor(dc, id == LabelId ? RGB(0, 0, 255) : ::GetSysColor(COLOR_WINDOWTEXT));
            ::SetBkColor(dc, ::GetSysColor(face));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(face));
        }
    }
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HICON Icon(HINSTANCE instance, int width, int height) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_BRINDLE), IMAGE_ICON,
                                           ::GetSystemMetrics(width), ::GetSystemMetrics(height),
                                           LR_DEFAULTCOLOR));
}

void AddControls(HWND window, HINSTANCE instance, int dpi) {
    LOGFONTW design{};
    design.lfHeight = -::MulDiv(9, dpi, 72);
    design.lfWeight = FW_NORMAL;
    design.lfCharSet = ANSI_CHARSET;
    lstrcpynW(design.lfFaceName, L"Tahoma", LF_FACESIZE);
    const HFONT font = ::CreateFontIndirectW(&design);
    for (const Control& control : Controls) {
        const HWND made = ::CreateWindowExW(
            control.exStyle, control.className, control.caption, control.style, Pixels(control.left, dpi),
            Pixels(control.top, dpi), Pixels(control.width, dpi), Pixels(control.height, dpi), window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        ::SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    const HWND patterns = ::GetDlgItem(window, 106);
    for (const wchar_t* pattern : {L"*.htm", L"*.url", L"*.lnk", L"*.nfo", L"*.txt"}) {
        ::SendMessageW(patterns, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pattern));
    }
    ::SendMessageW(patterns, CB_SETCURSEL, 0, 0);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    double moments[4];
    moments[0] = bench::SecondsSinceProcessStart();
    INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&common);
    moments[1] = bench::SecondsSinceProcessStart();

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = ClassName;
    windowClass.hIcon = Icon(instance, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = Icon(instance, SM_CXSMICON, SM_CYSMICON);
    ::RegisterClassExW(&windowClass);

    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    RECT frame{0, 0, Pixels(7785, dpi), Pixels(4950, dpi)};
    ::AdjustWindowRectEx(&frame, WindowStyle, FALSE, WS_EX_CONTROLPARENT);
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const HWND window = ::CreateWindowExW(WS_EX_CONTROLPARENT, ClassName, L"Brindle - v0.1.14", WindowStyle,
                                          area.left + (area.right - area.left - width) / 2,
                                          area.top + (area.bottom - area.top - height) / 2, width, height,
                                          nullptr, nullptr, instance, nullptr);
    const bool controls = std::wcsstr(commandLine, L"--controls") != nullptr;
    if (controls) {
        AddControls(window, instance, dpi);
    }
    moments[2] = bench::SecondsSinceProcessStart();
    ::ShowWindow(window, show);
    ::UpdateWindow(window);
    if (controls) {
        ::SetFocus(::GetDlgItem(window, 101));
    }
    moments[3] = bench::SecondsSinceProcessStart();
    if (std::wcsstr(commandLine, L"--parts") != nullptr) {
        bench::WriteParts(moments, 4);
        ::DestroyWindow(window);
        return 0;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return 0;
}
