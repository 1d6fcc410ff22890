#pragma once
// Watches for message boxes titled "Brindle" of one process (this one unless told otherwise), notes what
// each said and closes it with OK, so a test can drive code that shows modal boxes. Boxes of other
// processes are left alone: tests run side by side.

#include <windows.h>

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
    explicit MessageBoxWatcher(DWORD processId = ::GetCurrentProcessId());
    ~MessageBoxWatcher();

    std::vector<SeenMessageBox> Seen() const;
    // Waits up to timeoutMs for at least count boxes.
    bool WaitFor(size_t count, DWORD timeoutMs = 5000) const;

  private:
    void Watch();

    mutable std::mutex mutex_;
    std::vector<SeenMessageBox> seen_;
    std::vector<HWND> handled_;
    DWORD processId_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace testsupport
