#pragma once
// A real main window for a test, with the recording archiver beside the test programs, shown and pumped
// through the dialog manager as the program's message loop does.

#include "app/dialog_keys.h"
#include "app/frm_main.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <filesystem>
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

// A file of the recording archiver beside the tests (see fake_rar.cpp).
inline std::wstring ArchiverFile(const wchar_t* name) {
    return testsupport::ExecutableFolder() + L"\\" + name;
}

// The recording archiver's calls since the last run, each its arguments (d, the archive, the masks).
inline std::vector<std::vector<std::wstring>> Calls() {
    const std::wstring log = ArchiverFile(L"rar-calls.log");
    const std::string text = testsupport::Exists(log) ? testsupport::ReadBytes(log) : "";
    std::vector<std::vector<std::wstring>> calls;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        calls.emplace_back();
        for (size_t at = start, tab = 0; tab < end; at = tab + 1) {
            tab = std::min(text.find('\t', at), end);
            calls.back().push_back(std::filesystem::u8path(text.substr(at, tab - at)).wstring());
        }
    }
    return calls;
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::DeleteFileW(ArchiverFile(L"rar-calls.log").c_str());
        window_ = std::make_unique<app::frmMain>(testsupport::ExecutableFolder());
        ASSERT_TRUE(window_->Create(::GetModuleHandleW(nullptr)));
        window_->Show(SW_SHOWNORMAL);
        ::SetForegroundWindow(window_->hwnd());
        Pump(window_->hwnd());
    }
    void TearDown() override {
        window_.reset();
        Pump(nullptr);
        // What a test told the archiver must not reach the next test.
        ::DeleteFileW(ArchiverFile(L"rar-says.bin").c_str());
        ::DeleteFileW(ArchiverFile(L"rar-asks.txt").c_str());
    }
    HWND Control(app::ControlId id) const { return window_->Control(id); }
    // A click as the user makes it, and a run it starts waited for; Press waits only for its handling.
    void Click(app::ControlId id) {
        Press(id);
        WaitForRunEnd();
    }
    void Press(app::ControlId id) {
        ::SendMessageW(Control(id), BM_CLICK, 0, 0);
        Pump(window_->hwnd());
    }
    void WaitForRunEnd() {
        ASSERT_TRUE(PumpUntil([&] { return !window_->Running(); }, 60000)) << "the run did not end";
    }
    // A run as the user makes it: folder and pattern typed, the batch-only box set, Execute clicked; Run
    // waits for its end, StartRun only for the click's handling.
    void Run(const std::wstring& folder, const std::wstring& pattern, bool batchOnly = false) {
        StartRun(folder, pattern, batchOnly);
        WaitForRunEnd();
    }
    void StartRun(const std::wstring& folder, const std::wstring& pattern, bool batchOnly = false) {
        ::DeleteFileW(ArchiverFile(L"rar-calls.log").c_str());
        ::SetWindowTextW(Control(app::txtPath), folder.c_str());
        ::SetWindowTextW(Control(app::cmbFileType), pattern.c_str());
        Button_SetCheck(Control(app::chkSaveBat), batchOnly ? BST_CHECKED : BST_UNCHECKED);
        Press(app::cmdExecute);
    }
    // Pumps the window's messages, as its message loop does, until check() holds; whether it held in time.
    template <typename Check> bool PumpUntil(Check check, DWORD timeoutMs = 10000) {
        for (const ULONGLONG start = ::GetTickCount64(); !check(); Pump(window_->hwnd())) {
            if (::GetTickCount64() - start > timeoutMs) {
                return false;
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return true;
    }
    std::wstring Log() const { return Text(Control(app::txtOutput)); }

    std::unique_ptr<app::frmMain> window_;
};

} // namespace apptest
