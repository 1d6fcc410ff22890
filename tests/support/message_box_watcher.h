#pragma once
// Watches for message boxes titled "Brindle" of one process (this one unless told otherwise), notes what
// each said and whether it shows an icon, and closes it with OK, so a test can drive code that shows
// modal boxes. Boxes of other processes are left alone: tests run side by side.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct SeenMessageBox {
    std::wstring text;
    bool hasIcon = false;
};

class MessageBoxWatcher {
  public:
    explicit MessageBoxWatcher(DWORD processId = ::GetCurrentProcessId())
        : processId_(processId), thread_([this] { Watch(); }) {}
    ~MessageBoxWatcher() {
        stop_ = true;
        thread_.join();
    }

    std::vector<SeenMessageBox> Seen() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }
    // Waits up to timeoutMs for at least count boxes.
    bool WaitFor(size_t count, DWORD timeoutMs = 5000) const {
        for (const ULONGLONG end = ::GetTickCount64() + timeoutMs; Seen().size() < count; ::Sleep(20)) {
            if (::GetTickCount64() > end) {
                return false;
            }
        }
        return true;
    }

  private:
    void Watch() {
        for (; !stop_; ::Sleep(20)) {
            for (HWND box = nullptr;
                 (box = ::FindWindowExW(nullptr, box, L"#32770", L"Brindle")) != nullptr;) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(box, &owner);
                // The text is control 0xFFFF; a box still being filled in has none yet and is read later.
                wchar_t text[4096] = {};
                if (owner != processId_ || !::IsWindowVisible(box) ||
                    !::GetDlgItemTextW(box, 0xFFFF, text, 4096)) {
                    continue;
                }
                std::lock_guard<std::mutex> lock(mutex_);
                if (std::find(handled_.begin(), handled_.end(), box) == handled_.end()) {
                    // The icon's id is 0x14 on Windows, 0x440 under Wine.
                    seen_.push_back({text, ::GetDlgItem(box, 0x14) || ::GetDlgItem(box, 0x440)});
                    handled_.push_back(box);
                    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                }
            }
        }
    }

    mutable std::mutex mutex_;
    std::vector<SeenMessageBox> seen_;
    std::vector<HWND> handled_;
    DWORD processId_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace testsupport
