#pragma once
// A real main window for a test, with the recording archiver beside the test programs, shown and pumped
// through the dialog manager as the program's message loop does.

#include "app/dialog_keys.h"
#include "app/frm_main.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <windowsx.h>

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

// The recording archiver's log beside it: one line per call, its arguments joined by tabs, in UTF-8.
inline std::wstring CallsLog(const std::wstring& folder = testsupport::ExecutableFolder()) {
    return folder + L"\\rar-calls.log";
}

inline std::vector<std::string> RecordedCalls() {
    const std::string text = testsupport::Exists(CallsLog()) ? testsupport::ReadBytes(CallsLog()) : "";
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
    // A run as the user makes it: the folder and pattern typed, the batch-only box set, Execute clicked.
    void Run(const std::wstring& folder, const std::wstring& pattern, bool batchOnly = false) {
        ::DeleteFileW(CallsLog().c_str());
        ::SetWindowTextW(Control(app::txtPath), folder.c_str());
        ::SetWindowTextW(Control(app::cmbFileType), pattern.c_str());
        Button_SetCheck(Control(app::chkSaveBat), batchOnly ? BST_CHECKED : BST_UNCHECKED);
        Click(app::cmdExecute);
    }
    std::wstring Log() const { return Text(Control(app::txtOutput)); }

    std::unique_ptr<app::frmMain> window_;
};

} // namespace apptest
