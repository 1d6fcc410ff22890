#include "platform/command_runner.h"

#include "platform/ansi_text.h"
#include "platform/scope_exit.h"
#include "platform/win32_error.h"

#include <string>

namespace sysAPI {

namespace {

class Collector : public CommandListener {
  public:
    void OnOutput(std::wstring_view text) override { text_ += text; }
    std::wstring text_;
};

} // namespace

void GetCommandOutput(std::wstring_view commandLine, std::wstring_view folder, CommandListener& listener) {
    std::optional<platform::PipedChild> child;
    try {
        child.emplace(commandLine, folder);
    } catch (const platform::Win32Error& error) {
        if (error.call() == "CreateNamedPipeW" || error.call() == "CreateFileW") {
            listener.OnOutput(L"CreatePipe failed. error: " + std::to_wstring(error.code()));
        } else if (error.call() == "CreateProcessW") {
            listener.OnOutput(L"error: '" + std::wstring(commandLine) + L"' 不是可运行的程序");
        } else {
            // The job that follows the run and ends it with this program could not be made.
            listener.OnOutput(L"error: " + error.Describe());
        }
        return;
    }
    // The listener may end the child from another thread until it hears, however the run ends, that the
    // child is going.
    listener.Attached(*child);
    const platform::scope_exit detach([&] { listener.Detached(); });
    std::string carried;
    for (;;) {
        const platform::ChildNotice notice = child->Next();
        switch (notice.kind) {
        case platform::ChildNotice::Kind::Output: {
            // The lead byte of a character split between reads waits for the next read.
            carried += notice.output;
            const size_t complete = platform::CompleteAnsiLength(carried);
            listener.OnOutput(platform::FromAnsi(std::string_view(carried).substr(0, complete)));
            carried.erase(0, complete);
            break;
        }
        case platform::ChildNotice::Kind::ProcessStarted:
            listener.OnProcessStarted(notice.processId, notice.image);
            break;
        case platform::ChildNotice::Kind::ProcessEnded:
            listener.OnProcessEnded(notice.processId, notice.exitCode);
            break;
        case platform::ChildNotice::Kind::Finished:
            if (!carried.empty()) {
                listener.OnOutput(platform::FromAnsi(carried));
            }
            return;
        }
    }
}

std::wstring GetCommandOutput(std::wstring_view commandLine, std::wstring_view folder) {
    Collector collector;
    GetCommandOutput(commandLine, folder, collector);
    return std::move(collector.text_);
}

} // namespace sysAPI
