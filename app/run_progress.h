#pragma once
// How far a run is, where Windows users look: the caption ("Brindle - v0.1.14 - 12/300") and the taskbar
// button's progress, where the system has one; and a flash of the button when a run ends unseen.

#include "platform/unique_handle.h"

#include <windows.h>

#include <shobjidl.h>

#include <string>

namespace app {

class RunProgress {
  public:
    // caption is the window's caption at rest, which a run's end gives back exactly.
    void Begin(HWND window, std::wstring caption, size_t archives);
    void ArchiveStarted(size_t number);
    void ArchiveEnded(size_t number);
    void End();

  private:
    void ShowCaption(size_t number);

    HWND window_ = nullptr;
    std::wstring caption_;
    size_t archives_ = 0;
    platform::unique_com<ITaskbarList3> taskbar_;
};

} // namespace app
