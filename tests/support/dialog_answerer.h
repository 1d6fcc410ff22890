#pragma once
// Answers the dialogs of one process (this one unless told otherwise) as a user would, from a thread of
// its own while the test's thread is held inside them: a message box titled "Brindle" is noted and closed
// with OK; the shell's folder picker is noted, then given a folder and OK, or Cancel when none was given.
// Dialogs of other processes are left alone: tests run side by side.

#include "started_program.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testsupport {

struct SeenDialog {
    std::wstring text; // a message box's text; the captions of the picker's controls, one per line
    bool hasIcon = false;
    std::wstring selected;        // the name of the folder selected in the picker when it showed
    bool mainWindowShown = false; // a message box: whether the program's main window was shown beside it
    int defaultButton = 0;        // a message box's default button: IDOK, IDYES, IDNO...
};

class DialogAnswerer {
  public:
    explicit DialogAnswerer(std::wstring folder = L"", DWORD processId = ::GetCurrentProcessId())
        : folder_(std::move(folder)), processId_(processId), thread_([this] { Watch(); }) {}
    ~DialogAnswerer() {
        stop_ = true;
        thread_.join();
    }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Message boxes are answered with this button from now on (IDOK at first); 0 presses Enter.
    void AnswerBoxesWith(int button) { boxAnswer_ = button; }
    std::vector<SeenDialog> Seen() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }
    // Waits up to timeoutMs for at least count dialogs.
    bool WaitFor(size_t count, DWORD timeoutMs = 5000) const {
        for (const ULONGLONG end = ::GetTickCount64() + timeoutMs; Seen().size() < count; ::Sleep(20)) {
            if (::GetTickCount64() > end) {
                return false;
            }
        }
        return true;
    }

  private:
    struct Children {
        std::wstring texts;
        HWND edit = nullptr, tree = nullptr;
    };
    static BOOL CALLBACK NoteChild(HWND child, LPARAM context) {
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
    static std::wstring SelectedName(HWND tree) {
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
    void Watch() {
        for (; !stop_; ::Sleep(20)) {
            for (const HWND dialog : ShownWindowsOf(processId_, L"#32770")) {
                if (std::find(answered_.begin(), answered_.end(), dialog) == answered_.end() &&
                    (AnswerMessageBox(dialog) || AnswerPicker(dialog))) {
                    answered_.push_back(dialog);
                }
            }
        }
    }
    bool AnswerMessageBox(HWND box) {
        // The text is control 0xFFFF; a box still being filled in has none yet and is read later.
        wchar_t title[16] = {}, text[4096] = {};
        ::GetWindowTextW(box, title, 16);
        if (std::wstring(title) != L"Brindle" || !::GetDlgItemTextW(box, 0xFFFF, text, 4096)) {
            return false;
        }
        // The button drawn as the default (Wine's boxes do not answer DM_GETDEFID).
        int defaultButton = 0;
        for (const int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
            const HWND button = ::GetDlgItem(box, id);
            if (button != nullptr &&
                (::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
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
    bool AnswerPicker(HWND picker) {
        Children children;
        ::EnumChildWindows(picker, NoteChild, reinterpret_cast<LPARAM>(&children));
        if (children.tree == nullptr) {
            return false;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            seen_.push_back({children.texts, false, SelectedName(children.tree)});
        }
        const int button = folder_.empty() ? IDCANCEL : IDOK;
        // Wine's picker answers the folder selected in its tree, Windows' a path typed in its edit field:
        // both are given. Wine's does not always take the selection at once, so it is asked until it does.
        const std::wstring name = folder_.substr(folder_.find_last_of(L'\\') + 1);
        for (int settled = 0, turn = 0; button == IDOK && settled < 2 && turn < 100; ++turn, ::Sleep(200)) {
            if (SelectedName(children.tree) == name) {
                ++settled;
            } else {
                settled = 0;
                ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder_.c_str()));
            }
        }
        if (button == IDOK && children.edit != nullptr) {
            ::SendMessageW(children.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder_.c_str()));
        }
        ::PostMessageW(picker, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(picker, button)));
        return true;
    }

    std::wstring folder_;
    DWORD processId_;
    mutable std::mutex mutex_;
    std::vector<SeenDialog> seen_;
    std::vector<HWND> answered_;
    std::atomic<int> boxAnswer_{IDOK};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace testsupport
