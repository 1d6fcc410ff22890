#pragma once
// Answers the shell's folder picker as a user would: waits for the picker of this process to open, notes
// what it shows, chooses a folder (in its tree and typed into its edit field) and presses OK, or presses
// Cancel, from a thread of its own while the test's thread is held inside the picker.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct SeenPicker {
    std::vector<std::wstring> texts; // the captions of its controls: the title among them
    bool hasEditField = false;
    bool hasFolderTree = false;
};

class FolderPickerDriver {
  public:
    // typed empty: press Cancel; otherwise choose the folder typed and press OK.
    explicit FolderPickerDriver(std::wstring typed);
    ~FolderPickerDriver();
    FolderPickerDriver(const FolderPickerDriver&) = delete;
    FolderPickerDriver& operator=(const FolderPickerDriver&) = delete;

    // What the picker showed; empty texts when no picker was met.
    SeenPicker Seen() const;

  private:
    void Drive();

    std::wstring typed_;
    mutable std::mutex mutex_;
    SeenPicker seen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace testsupport
