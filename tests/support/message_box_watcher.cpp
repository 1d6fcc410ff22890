#include "message_box_watcher.h"

#include <algorithm>

namespace testsupport {

MessageBoxWatcher::MessageBoxWatcher(DWORD processId) : processId_(processId), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

bool MessageBoxWatcher::WaitFor(size_t count, DWORD timeoutMs) const {
    for (const ULONGLONG end = ::GetTickCount64() + timeoutMs; Seen().size() < count; ::Sleep(20)) {
        if (::GetTickCount64() > end) {
            return false;
        }
    }
    return true;
}

void MessageBoxWatcher::Watch() {
    for (; !stop_; ::Sleep(20)) {
        for (HWND box = nullptr; (box = ::FindWindowExW(nullptr, box, L"#32770", L"Brindle")) != nullptr;) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(box, &owner);
            // The text is control 0xFFFF; a box still being filled in has none yet and is read later.
            wchar_t text[4096] = {};
            if (owner != processId_ || !::IsWindowVisible(box) ||
                ::GetDlgItemTextW(box, 0xFFFF, text, 4096) == 0) {
                continue;
            }
            std::lock_guard<std::mutex> lock(mutex_);
            if (std::find(handled_.begin(), handled_.end(), box) == handled_.end()) {
                // The icon's id is 0x14 on Windows, 0x440 under Wine.
                seen_.push_back(
                    {text, ::GetDlgItem(box, 0x14) != nullptr || ::GetDlgItem(box, 0x440) != nullptr});
                handled_.push_back(box);
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
    }
}

} // namespace testsupport
