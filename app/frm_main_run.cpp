// A run through frmMain: Execute reads the boxes and prepares the run on the window's thread (questions and
// refusals come first), then the run goes on beside it. The window takes the run's events as they come
// (log entries, output, progress, the end) and keeps answering; Stop and the close box stop the run.

#include "app/frm_main.h"

#include "app/controls.h"
#include "app/startup.h"

namespace app {

namespace {

const wchar_t* const StopCaption = L"停止(&T)";
const wchar_t* const EndNowCaption = L"立即结束(&T)";

} // namespace

void frmMain::cmdExecute_Click() {
    // No second run while one goes on, however Execute was reached.
    if (run_) {
        return;
    }
    const job::RunInputs inputs{TextOf(Control(txtPath)), TextOf(Control(cmbFileType)),
                                IsChecked(Control(chkSubPath)), IsChecked(Control(chkSaveBat))};
    auto plan = job::PrepareRun(inputs, form_.strRarExe, *this);
    if (!plan) {
        return;
    }
    const HWND window = hwnd_;
    run_ = std::make_unique<job::BackgroundRun>(std::move(*plan), form_,
                                                [window] { ::PostMessageW(window, RunEventsMessage, 0, 0); });
    // Its events wait in the queue until this click has been handled.
    SetBusy(true);
    // The timer brings the window back for output it left waiting, and for a wake-up lost.
    ::SetTimer(hwnd_, RunEventsTimer, 15, nullptr);
}

// The first stop lets the archive in progress finish and starts no other; the next one, while that archive
// is still in progress, ends it at once, after a question.
void frmMain::cmdStop_Click() {
    if (!run_) {
        return;
    }
    if (!stopping_) {
        stopping_ = true;
        run_->RequestStop();
        SetTextOf(Control(cmdStop), EndNowCaption);
        return;
    }
    if (archiveInProgress_ != 0 &&
        Confirm(L"正在处理的压缩文件还没有处理完。要立即结束它吗？\r\n立即结束时，它的临时文件可能会留在"
                L"压缩文件所在的文件夹中。") &&
        run_) {
        run_->EndNow();
    }
}

void frmMain::OnCloseDuringRun() {
    if (stopping_) {
        closeAfterRun_ = true;
        cmdStop_Click();
        return;
    }
    if (!Confirm(
            L"清理正在进行。要停止它并关闭 Brindle 吗？\r\n正在处理的压缩文件会先处理完，其余的压缩文件不再"
            L"处理。")) {
        return;
    }
    closeAfterRun_ = true;
    if (!run_) {
        ::DestroyWindow(hwnd_); // the run ended while the question was open
        return;
    }
    cmdStop_Click();
}

// Output is appended in pieces, and only for a while each time: between times the window paints and
// answers, as the timer that brings it back comes after both. An append costs the piece's length and,
// under Wine, a walk over every line of the log, so a piece is large enough for that walk to matter little
// and small enough to take some tens of milliseconds.
void frmMain::OnRunEvents() {
    constexpr size_t PieceOfOutput = 256 * 1024;
    constexpr ULONGLONG AppendingMs = 40;
    const HWND log = Control(txtOutput);
    const ULONGLONG start = ::GetTickCount64();
    while (run_) {
        auto events = run_->TakeEvents(PieceOfOutput);
        if (events.empty()) {
            return;
        }
        for (auto& event : events) {
            using Kind = job::RunEvent::Kind;
            switch (event.kind) {
            case Kind::Message:
                WriteMessage(event.text);
                break;
            case Kind::OutputBegins: {
                SYSTEMTIME now{};
                ::GetLocalTime(&now);
                output_.Open(log, now);
                break;
            }
            case Kind::Output:
                output_.Append(log, event.text);
                break;
            case Kind::OutputEnds:
                output_.Close(log);
                break;
            case Kind::ArchivesToRun:
                progress_.Begin(hwnd_, WindowCaption(), event.number);
                break;
            case Kind::ArchiveStarted:
                archiveInProgress_ = event.number;
                progress_.ArchiveStarted(event.number);
                break;
            case Kind::ArchiveEnded:
                if (archiveInProgress_ == event.number) {
                    archiveInProgress_ = 0;
                }
                progress_.ArchiveEnded(event.number);
                break;
            case Kind::Failed:
                failure_ = event.text;
                break;
            case Kind::Ended:
                EndRun();
                return;
            }
        }
        if (::GetTickCount64() - start >= AppendingMs) {
            return;
        }
    }
}

void frmMain::EndRun() {
    output_.Close(Control(txtOutput));
    form_ = run_->form();
    run_.reset();
    ::KillTimer(hwnd_, RunEventsTimer);
    progress_.End();
    archiveInProgress_ = 0;
    stopping_ = false;
    SetBusy(false);
    if (!failure_.empty()) {
        ShowError(std::exchange(failure_, std::wstring()));
    }
    if (closeAfterRun_) {
        ::DestroyWindow(hwnd_);
    }
}

void frmMain::SetBusy(bool busy) {
    const HWND execute = Control(cmdExecute);
    const HWND stop = Control(cmdStop);
    if (busy) {
        focusBeforeRun_ = ::GetFocus();
        ::EnableWindow(execute, FALSE);
        SetTextOf(stop, StopCaption);
        ::ShowWindow(stop, SW_SHOWNA);
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return;
    }
    const bool stopFocused = ::GetFocus() == stop;
    ::ShowWindow(stop, SW_HIDE);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::EnableWindow(execute, TRUE);
    // Disabling the focused button took the focus away; give it back so the keyboard keeps working.
    if (focusBeforeRun_ != nullptr && ::IsWindow(focusBeforeRun_) &&
        (stopFocused || ::GetFocus() != focusBeforeRun_)) {
        ::SetFocus(focusBeforeRun_);
    }
    FollowFocus();
}

} // namespace app
