// A whole run over 500 archives with a no-op archiver, against a `for /r` batch doing the same calls.
#include "app/startup.h"
#include "benchmarks.h"
#include "job/run_driver.h"
#include "platform/command_runner.h"
#include "platform/sys_api.h"
#include "platform/unique_handle.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

namespace {

struct QuietView : job::RunView {
    void ShowError(const std::wstring& text) override {
        std::fprintf(stderr, "error: %s\n", Narrow(text).c_str());
    }
    bool Confirm(const std::wstring&) override { return false; }
    void WriteMessage(std::wstring_view) override {}
    void SetBusy(bool) override {}
};

} // namespace

int WholeRun(const std::wstring& root, const std::wstring& rar) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    for (int folder = 0; folder < 50; ++folder) {
        const std::wstring path = root + L"\\set " + std::to_wstring(folder);
        ::CreateDirectoryW(path.c_str(), nullptr);
        for (int i = 0; i < 10; ++i) {
            Touch(path + L"\\archive " + std::to_wstring(i) + L".rar");
        }
    }
    const std::wstring rarShort = sysAPI::GetShortPath(rar);
    const std::wstring batch = app::ProgramFolder() + L"\\for-r.bat";
    {
        platform::unique_handle file(::CreateFileW(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        const std::string text = "@echo off\r\nfor /r \"" + Narrow(root) + "\" %%f in (*.rar) do " +
                                 Narrow(rarShort) + " d \"%%f\" *.htm\r\n";
        DWORD written = 0;
        ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    std::vector<double> brindle, reference;
    for (int i = 0; i < Repetitions; ++i) {
        brindle.push_back(Seconds([&] {
            job::JobState form;
            form.strRarExe = rarShort;
            QuietView view;
            job::RunCleanUp(form, job::RunInputs{root, L"*.htm", true, false}, view);
        }));
        reference.push_back(Seconds([&] { sysAPI::GetCommandOutput(sysAPI::GetShortPath(batch)); }));
    }
    Row("whole run, 500 archives, no-op archiver", SpreadOf(brindle), SpreadOf(reference),
        SpreadOf(Ratios(brindle, reference)), "<= 1.05");
    return 0;
}

} // namespace bench
