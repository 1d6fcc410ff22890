#include "message_box_watcher.h"

#include <algorithm>

namespace testsupport {

namespace {

// The message text and the icon of a standard message box carry fixed control IDs.
constexpr int MessageTextId = 0xFFFF;
// The icon's ID differs: 0x14 on Windows, 0x440 under Wine.
constexpr int MessageIconIds[] = {0x14, 0x440};

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

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
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (::GetTickCount64() < end) {
        if (Seen().size() >= count) {
            return true;
        }
        ::Sleep(20);
    }
    return Seen().size() >= count;
}

void MessageBoxWatcher::Watch() {
    while (!stop_) {
        HWND box = nullptr;
        while ((box = ::FindWindowExW(nullptr, box, L"#32770", L"Brindle")) != nullptr) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(box, &owner);
            // A box still being filled in has no text yet; it is read on a later round.
            const HWND textControl = ::GetDlgItem(box, MessageTextId);
            if (owner != processId_ || !::IsWindowVisible(box) || textControl == nullptr ||
                ::GetWindowTextLengthW(textControl) == 0) {
                continue;
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (std::find(handled_.begin(), handled_.end(), box) != handled_.end()) {
                    continue;
                }
                SeenMessageBox seen;
                seen.text = WindowText(textControl);
                for (int id : MessageIconIds) {
                    seen.hasIcon = seen.hasIcon || ::GetDlgItem(box, id) != nullptr;
                }
                seen.processId = owner;
                seen_.push_back(seen);
                handled_.push_back(box);
            }
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        ::Sleep(20);
    }
}

} // namespace testsupport
