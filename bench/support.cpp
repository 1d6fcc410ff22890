#include "bench.h"

#include "app/layout.h"
#include "platform/unique_handle.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace bench {

int Repetitions() {
    wchar_t text[16] = {};
    if (::GetEnvironmentVariableW(L"BENCH_REPETITIONS", text, 16) == 0) {
        return 5;
    }
    return std::max(1, static_cast<int>(std::wcstol(text, nullptr, 10)));
}

namespace {

double Now() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The shown top-level window of that class that the process owns, if any.
HWND ShownWindowOf(DWORD processId, const wchar_t* windowClass) {
    for (HWND window = ::FindWindowExW(nullptr, nullptr, windowClass, nullptr); window != nullptr;
         window = ::FindWindowExW(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && ::IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// Another process's caption is read without a message to it, so this answers during a run too.
std::wstring Caption(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

// Clicks the button from a thread of its own, so the bench goes on while the click is handled.
DWORD WINAPI Click(void* button) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(static_cast<HWND>(button), BM_CLICK, 0, 0, SMTO_NORMAL, 900'000, &result);
    return 0;
}

} // namespace

double Seconds(const std::function<void()>& work) {
    const double start = Now();
    work();
    return Now() - start;
}

Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) {
        return {};
    }
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

std::string Format(const Spread& spread, const char* unit) {
    char text[96];
    std::snprintf(text, sizeof text, "%.3g / %.3g / %.3g%s", spread.min, spread.median, spread.max, unit);
    return text;
}

void Row(const std::string& figure, const std::vector<double>& brindle, const std::vector<double>& reference,
         const char* target) {
    std::vector<double> ratios;
    for (size_t i = 0; i < brindle.size() && i < reference.size(); ++i) {
        ratios.push_back(brindle[i] / reference[i]);
    }
    std::printf("| %s | %s | %s | %s | %s |\n", figure.c_str(), Format(SpreadOf(brindle), " s").c_str(),
                Format(SpreadOf(reference), " s").c_str(), Format(SpreadOf(ratios), "").c_str(), target);
    std::fflush(stdout);
}

void WriteText(const std::wstring& path, const std::wstring& text) {
    const platform::unique_handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string ansi(text.size() * 2, '\0');
    ansi.resize(static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, text.data(),
                                                          static_cast<int>(text.size()), ansi.data(),
                                                          static_cast<int>(ansi.size()), nullptr, nullptr)));
    DWORD written = 0;
    ::WriteFile(file.get(), ansi.data(), static_cast<DWORD>(ansi.size()), &written, nullptr);
}

PipedCommand::PipedCommand(std::wstring command, DWORD flags, const std::wstring& folder) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    // 64 KiB of room, as Brindle's own pipe has.
    if (!::CreatePipe(&read, &write, &inherit, 65536)) {
        return;
    }
    // Only the child holds the write end once it has started, so the pipe ends with the child's output.
    read_.reset(read);
    const platform::unique_handle writeEnd(write);
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, flags, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        std::fprintf(stderr, "bench: could not start a child (error %lu)\n", ::GetLastError());
        return;
    }
    const platform::unique_handle thread(started.hThread);
    process_.reset(started.hProcess);
}

PipedCommand::~PipedCommand() {
    read_.reset();
    if (process_) {
        ::WaitForSingleObject(process_.get(), INFINITE);
    }
}

bool PipedCommand::Read(char* into, DWORD size, DWORD& got) {
    got = 0;
    return read_ && ::ReadFile(read_.get(), into, size, &got, nullptr) && got > 0;
}

void RunInConsole(const std::wstring& command, const std::wstring& folder) {
    PipedCommand running(command, 0, folder);
    static char chunk[65536];
    DWORD got = 0;
    while (running.Read(chunk, sizeof chunk, got)) {
    }
}

std::wstring ReadText(const std::wstring& command) {
    PipedCommand running(command, CREATE_NO_WINDOW);
    std::wstring text;
    char chunk[32768];
    DWORD carried = 0, got = 0;
    while (running.Read(chunk + carried, sizeof chunk - carried, got)) {
        DWORD bytes = carried + got;
        carried = ::IsDBCSLeadByte(static_cast<BYTE>(chunk[bytes - 1])) ? 1 : 0;
        bytes -= carried;
        const size_t held = text.size();
        text.resize(held + bytes);
        const int made = ::MultiByteToWideChar(CP_ACP, 0, chunk, static_cast<int>(bytes), text.data() + held,
                                               static_cast<int>(bytes));
        text.resize(held + static_cast<size_t>(made));
        if (carried != 0) {
            chunk[0] = chunk[bytes];
        }
    }
    return text;
}

size_t BareWalk(const std::wstring& folder, FINDEX_INFO_LEVELS level) {
    size_t archives = 0;
    WIN32_FIND_DATAW data;
    platform::unique_hfind find(::FindFirstFileExW(
        (folder + L"\\*").c_str(), level, &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return 0;
    }
    std::vector<std::wstring> subfolders;
    do {
        if (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
            continue;
        }
        const std::wstring name = data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != L"." && name != L"..") {
                subfolders.push_back(folder + L"\\" + name);
            }
        } else if (name.size() > 4 && ::lstrcmpiW(name.c_str() + name.size() - 4, L".rar") == 0) {
            ++archives;
        }
    } while (::FindNextFileW(find.get(), &data));
    for (const auto& subfolder : subfolders) {
        archives += BareWalk(subfolder, level);
    }
    return archives;
}

ShownProgram::ShownProgram(const std::wstring& exe, const wchar_t* windowClass) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe + L"\"";
    const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
    PROCESS_INFORMATION started{};
    const double start = Now();
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &started)) {
        return;
    }
    const platform::unique_handle thread(started.hThread);
    process_.reset(started.hProcess);
    while ((window_ = ShownWindowOf(started.dwProcessId, windowClass)) == nullptr && Now() - start < 20) {
        ::Sleep(1);
    }
    seconds_ = Now() - start;
}

ShownProgram::~ShownProgram() {
    if (process_ && (window_ == nullptr || !::PostMessageW(window_, WM_CLOSE, 0, 0) ||
                     ::WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0)) {
        ::TerminateProcess(process_.get(), 1);
    }
}

void SetUp(HWND brindle, const std::wstring& folder, const std::wstring& pattern, bool subfolders,
           bool onlyBatch) {
    ::SetDlgItemTextW(brindle, app::txtPath, folder.c_str());
    ::SetDlgItemTextW(brindle, app::cmbFileType, pattern.c_str());
    for (const auto& [id, on] :
         {std::pair{app::chkSubPath, subfolders}, std::pair{app::chkSaveBat, onlyBatch}}) {
        if ((::IsDlgButtonChecked(brindle, id) == BST_CHECKED) != on) {
            ::SendDlgItemMessageW(brindle, id, BM_CLICK, 0, 0);
        }
    }
}

size_t LogLength(HWND brindle) {
    return static_cast<size_t>(::SendDlgItemMessageW(brindle, app::txtOutput, WM_GETTEXTLENGTH, 0, 0));
}

WindowRun Execute(HWND brindle, bool poll) {
    const HWND execute = ::GetDlgItem(brindle, app::cmdExecute);
    const std::wstring atRest = Caption(brindle);
    WindowRun run;
    const double start = Now();
    double polled = start;
    const platform::unique_handle clicker(::CreateThread(nullptr, 0, Click, execute, 0, nullptr));
    while (Now() - start < 900) {
        // The click has been handled when the sent message returns: after the whole run where the run
        // holds the window's thread, as soon as the run has started where it does not.
        const bool handled = ::WaitForSingleObject(clicker.get(), 1) == WAIT_OBJECT_0;
        if (handled && ::IsWindowEnabled(execute) && Caption(brindle) == atRest) {
            run.ended = true;
            break;
        }
        if (handled) {
            ::Sleep(poll ? 4 : 9);
        }
        if (poll && Now() - polled >= 0.02) {
            polled = Now();
            DWORD_PTR result = 0;
            // A window that does not answer within 5 s counts as 5 s.
            ::SendMessageTimeoutW(brindle, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
            run.answers.push_back(Now() - polled);
        }
    }
    run.seconds = Now() - start;
    ::WaitForSingleObject(clicker.get(), INFINITE);
    return run;
}

} // namespace bench
