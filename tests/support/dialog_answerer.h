#pragma once
// Answers the dialogs of one process (this one unless told otherwise) as a user would, from a thread of
// its own while the test's thread is held inside them: a message box titled "Brindle" is noted and closed
// with OK; the shell's folder picker is noted, then given a folder and OK, or Cancel when none was given.
// Dialogs of other processes are left alone: tests run side by side.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct SeenDialog {
    std::wstring text; // a message box's text; the captions of the picker's controls, one per line
    bool hasIcon = false;
    std::wstring selected; // the name of the folder selected in the picker when it showed
    // A message box: whether the program's main window was shown beside it.
    bool mainWindowShown = false;
    int defaultButton = 0; // a message box's default button: IDOK, IDYES, IDNO...
};

class DialogAnswerer {
  public:
    explicit DialogAnswerer(std::wstring folder = L"", DWORD processId = ::GetCurrentProcessId());
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Message boxes are answered with this button from now on (IDOK at first); 0 presses Enter, the
    // box's default button.
    void AnswerBoxesWith(int button) { boxAnswer_ = button; }

    std::vector<SeenDialog> Seen() const;
    // Waits up to timeoutMs for at least count dialogs.
    bool WaitFor(size_t count, DWORD timeoutMs = 5000) const;

  private:
    void Watch();
    bool AnswerMessageBox(HWND box);
    bool AnswerPicker(HWND picker);

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
