#pragma once
// A real main window for a test, with the recording archiver beside the test programs, shown and pumped
// through the dialog manager as the program's message loop does.

#include "app/dialog_keys.h"
#include "app/frm_main.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace apptest {

inline void Pump(HWND window) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT || !app::HandleDialogKeys(window, message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

inline std::wstring Text(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The recording archiver's log beside the test programs: one line per call, its arguments joined by tabs.
inline std::wstring CallsLog() {
    return testsupport::ExecutableFolder() + L"\\rar-calls.log";
}

inline std::vector<std::string> RecordedCalls() {
    const std::string text =
        testsupport::Exists(CallsLog()) ? testsupport::ReadBytes(CallsLog()) : std::string();
    std::vector<std::string> calls;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        calls.push_back(text.substr(start, end - start));
    }
    return calls;
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::DeleteFileW(CallsLog().c_str());
        window_ = std::make_unique<app::frmMain>(testsupport::ExecutableFolder());
        ASSERT_TRUE(window_->Create(::GetModuleHandleW(nullptr)));
        window_->Show(SW_SHOWNORMAL);
        ::SetForegroundWindow(window_->hwnd());
        Pump(window_->hwnd());
    }
    void TearDown() override {
        window_.reset();
        Pump(nullptr);
    }
    HWND Control(app::ControlId id) const { return window_->Control(id); }
    void Click(app::ControlId id) {
        ::SendMessageW(Control(id), BM_CLICK, 0, 0);
        Pump(window_->hwnd());
    }
    // A key as the user presses it: posted to the focused control and read by the message loop.
    void PressKey(UINT key, bool alt = false) {
        const HWND target = ::GetFocus();
        if (alt) {
            // The character with Alt held is what the dialog manager matches against access keys.
            ::PostMessageW(target, WM_SYSCHAR, key, 1 | (1 << 29));
        } else {
            ::PostMessageW(target, WM_KEYDOWN, key, 1);
            ::PostMessageW(target, WM_KEYUP, key, 1 | (3u << 30));
        }
        Pump(window_->hwnd());
    }

    std::unique_ptr<app::frmMain> window_;
};

} // namespace apptest
