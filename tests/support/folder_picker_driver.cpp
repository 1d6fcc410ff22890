#include "folder_picker_driver.h"

#include <commctrl.h>
#include <shlobj.h>

namespace testsupport {

namespace {

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

struct Controls {
    SeenPicker seen;
    HWND edit = nullptr;
};

BOOL CALLBACK NoteControl(HWND control, LPARAM context) {
    auto& controls = *reinterpret_cast<Controls*>(context);
    const std::wstring kind = ClassOf(control);
    if (kind == WC_EDITW && controls.edit == nullptr) {
        controls.edit = control;
        controls.seen.hasEditField = true;
    } else if (kind == WC_TREEVIEWW) {
        controls.seen.hasFolderTree = true;
    }
    controls.seen.texts.push_back(WindowText(control));
    return TRUE;
}

// The picker: a visible dialog of this process with a folder tree in it.
HWND FindPicker() {
    HWND dialog = nullptr;
    while ((dialog = ::FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(dialog, &owner);
        if (owner != ::GetCurrentProcessId() || !::IsWindowVisible(dialog)) {
            continue;
        }
        Controls controls;
        ::EnumChildWindows(dialog, NoteControl, reinterpret_cast<LPARAM>(&controls));
        if (controls.seen.hasFolderTree) {
            return dialog;
        }
    }
    return nullptr;
}

// How many levels down the tree an item lies: 1 for the tree's root, the desktop.
int TreeDepth(HWND tree, HTREEITEM item) {
    int depth = 0;
    for (; item != nullptr; item = TreeView_GetParent(tree, item)) {
        ++depth;
    }
    return depth;
}

} // namespace

FolderPickerDriver::FolderPickerDriver(std::wstring typed)
    : typed_(std::move(typed)), thread_([this] { Drive(); }) {}

FolderPickerDriver::~FolderPickerDriver() {
    stop_ = true;
    thread_.join();
}

SeenPicker FolderPickerDriver::Seen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

void FolderPickerDriver::Drive() {
    const ULONGLONG end = ::GetTickCount64() + 30000;
    HWND picker = nullptr;
    while (!stop_ && picker == nullptr && ::GetTickCount64() < end) {
        ::Sleep(50);
        picker = FindPicker();
    }
    if (picker == nullptr) {
        return;
    }
    Controls controls;
    ::EnumChildWindows(picker, NoteControl, reinterpret_cast<LPARAM>(&controls));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_ = controls.seen;
    }
    if (typed_.empty()) {
        ::PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(picker, IDCANCEL)));
        return;
    }
    // Wine's picker answers the folder selected in its tree and ignores the edit field; Windows reads a
    // path typed there. Selecting the folder in the tree and then typing it serves both. The tree is
    // filled after the picker shows, so the selection is asked for until the picker takes it.
    const HWND tree = ::FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr);
    int settled = 0;
    while (settled < 2 && ::GetTickCount64() < end) {
        if (TreeDepth(tree, TreeView_GetSelection(tree)) > 1) {
            ++settled;
        } else {
            settled = 0;
            ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(typed_.c_str()));
        }
        ::Sleep(200);
    }
    if (controls.edit != nullptr) {
        ::SendMessageW(controls.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed_.c_str()));
    }
    ::PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(picker, IDOK)));
}

} // namespace testsupport
