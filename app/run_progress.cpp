#include "app/run_progress.h"

#include "platform/com_apartment.h"

namespace app {

void RunProgress::Begin(HWND window, std::wstring caption, size_t archives) {
    window_ = window;
    caption_ = std::move(caption);
    archives_ = archives;
    ShowCaption(0);
    // Windows 7 and later; elsewhere (and without COM on this thread) the caption alone tells.
    taskbar_ = platform::CreateComObject<ITaskbarList3>(CLSID_TaskbarList, IID_ITaskbarList3);
    if (taskbar_ && FAILED(taskbar_.get()->HrInit())) {
        taskbar_.reset();
    }
    if (taskbar_) {
        taskbar_.get()->SetProgressState(window_, TBPF_NORMAL);
        taskbar_.get()->SetProgressValue(window_, 0, archives_);
    }
}

void RunProgress::ArchiveStarted(size_t number) {
    ShowCaption(number);
}

void RunProgress::ArchiveEnded(size_t number) {
    if (taskbar_) {
        taskbar_.get()->SetProgressValue(window_, number, archives_);
    }
}

void RunProgress::End() {
    if (window_ == nullptr) {
        return;
    }
    ::SetWindowTextW(window_, caption_.c_str());
    if (taskbar_) {
        taskbar_.get()->SetProgressState(window_, TBPF_NOPROGRESS);
        taskbar_.reset();
    }
    // A run that ends while the user works elsewhere draws the eye to the taskbar button until the window
    // comes to the front.
    if (::GetForegroundWindow() != window_) {
        FLASHWINFO flash{sizeof flash, window_, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
        ::FlashWindowEx(&flash);
    }
    window_ = nullptr;
}

void RunProgress::ShowCaption(size_t number) {
    const std::wstring text = caption_ + L" - " + std::to_wstring(number) + L"/" + std::to_wstring(archives_);
    ::SetWindowTextW(window_, text.c_str());
}

} // namespace app
