#include "dialog_answerer.h"

#include "started_program.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>

namespace testsupport {

namespace {

struct Children {
    std::wstring texts;
    HWND edit = nullptr;
    HWND tree = nullptr;
};

BOOL CALLBACK NoteChild(HWND child, LPARAM context) {
    auto& children = *reinterpret_cast<Children*>(context);
    wchar_t kind[64] = {}, text[1024] = {};
    ::GetClassNameW(child, kind, 64);
    ::GetWindowTextW(child, text, 1024);
    children.texts += std::wstring(text) + L"\n";
    if (std::wstring(kind) == WC_EDITW && children.edit == nullptr) {
        children.edit = child;
    } else if (std::wstring(kind) == WC_TREEVIEWW) {
        children.tree = child;
    }
    return TRUE;
}

// The name of the folder selected in the picker's tree; empty while none below the desktop is.
std::wstring SelectedName(HWND tree) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    return item.hItem != nullptr && TreeView_GetParent(tree, item.hItem) != nullptr &&
                   TreeView_GetItem(tree, &item)
               ? text
               : L"";
}

} // namespace

DialogAnswerer::DialogAnswerer(std::wstring folder, DWORD processId)
    : folder_(std::move(folder)), processId_(processId), thread_([this] { Watch(); }) {}

DialogAnswerer::~DialogAnswerer() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenDialog> DialogAnswerer::Seen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

bool DialogAnswerer::WaitFor(size_t count, DWORD timeoutMs) const {
    for (const ULONGLONG end = ::GetTickCount64() + timeoutMs; Seen().size() < count; ::Sleep(20)) {
        if (::GetTickCount64() > end) {
            return false;
        }
    }
    return true;
}

void DialogAnswerer::Watch() {
    for (; !stop_; ::Sleep(20)) {
        for (const HWND dialog : ShownWindowsOf(processId_, L"#32770")) {
            if (std::find(answered_.begin(), answered_.end(), dialog) == answered_.end() &&
                (AnswerMessageBox(dialog) || AnswerPicker(dialog))) {
                answered_.push_back(dialog);
            }
        }
    }
}

bool DialogAnswerer::AnswerMessageBox(HWND box) {
    // The text is control 0xFFFF; a box still being filled in has none yet and is read later.
    wchar_t title[16] = {}, text[4096] = {};
    ::GetWindowTextW(box, title, 16);
    if (std::wstring(title) != L"Brindle" || !::GetDlgItemTextW(box, 0xFFFF, text, 4096)) {
        return false;
    }
    // The button drawn as the default, which Enter presses (Wine's boxes do not answer DM_GETDEFID).
    int defaultButton = 0;
    for (const int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        const HWND button = ::GetDlgItem(box, id);
        if (button != nullptr && (::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            defaultButton = id;
        }
    }
    {
        // The icon's id is 0x14 on Windows, 0x440 under Wine.
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back({text, ::GetDlgItem(box, 0x14) || ::GetDlgItem(box, 0x440), L"",
                         !ShownWindowsOf(processId_, L"BrindleMainWindow").empty(), defaultButton});
    }
    if (boxAnswer_ == 0) {
        ::PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
        ::PostMessageW(box, WM_KEYUP, VK_RETURN, 0);
    } else {
        ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(boxAnswer_.load()), 0);
    }
    return true;
}

bool DialogAnswerer::AnswerPicker(HWND picker) {
    Children children;
    ::EnumChildWindows(picker, NoteChild, reinterpret_cast<LPARAM>(&children));
    if (children.tree == nullptr) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back({children.texts, false, SelectedName(children.tree)});
    }
    if (folder_.empty()) {
        ::PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(picker, IDCANCEL)));
        return true;
    }
    // Wine's picker answers the folder selected in its tree and ignores the edit field; Windows reads a
    // path typed there. Selecting the folder in the tree and then typing it serves both. Wine's picker
    // does not always take the selection the first time it meets a folder, so it is asked for until the
    // picker takes it.
    const std::wstring name = folder_.substr(folder_.find_last_of(L'\\') + 1);
    for (int settled = 0, turn = 0; settled < 2 && turn < 100; ++turn, ::Sleep(200)) {
        if (SelectedName(children.tree) == name) {
            ++settled;
        } else {
            settled = 0;
            ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder_.c_str()));
        }
    }
    if (children.edit != nullptr) {
        ::SendMessageW(children.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder_.c_str()));
    }
    ::PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(picker, IDOK)));
    return true;
}

} // namespace testsupport
