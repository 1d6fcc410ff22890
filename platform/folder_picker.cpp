#include "platform/short_path.h"
#include "platform/sys_api.h"
#include "platform/unique_handle.h"

#include <shlobj.h>

#include <string>

namespace sysAPI {

namespace {

// Only the picker needs the shell and COM, and loading them is a large part of a start-up's time, so
// they are loaded on the first press of Browse rather than imported.
using platform::unique_hmodule;

unique_hmodule LoadSystemLibrary(const wchar_t* name) {
    // From the system folder only, never from the program's or the current folder. Named by its full path:
    // the flag that says the same is missing on Vista and 7 without an update.
    const std::wstring path = platform::SystemFilePath(name);
    if (path.empty()) {
        return unique_hmodule();
    }
    return unique_hmodule(::LoadLibraryExW(path.c_str(), nullptr, 0));
}

template <typename Function> Function EntryPoint(const unique_hmodule& module, const char* name) {
    if (!module) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module.get(), name)));
}

// The calls the picker makes, from shell32 and ole32 as loaded once for the program's life.
struct Shell {
    unique_hmodule shell32 = LoadSystemLibrary(L"shell32.dll");
    unique_hmodule ole32 = LoadSystemLibrary(L"ole32.dll");
    decltype(&::SHBrowseForFolderW) browseForFolder =
        EntryPoint<decltype(&::SHBrowseForFolderW)>(shell32, "SHBrowseForFolderW");
    decltype(&::SHGetNameFromIDList) nameFromItemList =
        EntryPoint<decltype(&::SHGetNameFromIDList)>(shell32, "SHGetNameFromIDList");
    decltype(&::CoInitializeEx) initializeCom =
        EntryPoint<decltype(&::CoInitializeEx)>(ole32, "CoInitializeEx");
    decltype(&::CoUninitialize) uninitializeCom =
        EntryPoint<decltype(&::CoUninitialize)>(ole32, "CoUninitialize");
    decltype(&::CoTaskMemFree) freeTaskMemory =
        EntryPoint<decltype(&::CoTaskMemFree)>(ole32, "CoTaskMemFree");

    bool Complete() const {
        return browseForFolder != nullptr && nameFromItemList != nullptr && initializeCom != nullptr &&
               uninitializeCom != nullptr && freeTaskMemory != nullptr;
    }
};

const Shell& LoadedShell() {
    static const Shell shell;
    return shell;
}

// The new-style picker needs COM on the calling thread while it is open; this balances what it starts.
class ComApartment {
  public:
    explicit ComApartment(const Shell& shell)
        : shell_(shell), initialized_(SUCCEEDED(shell.initializeCom(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialized_) {
            shell_.uninitializeCom();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    const Shell& shell_;
    bool initialized_;
};

// Memory the shell hands over, released to the task allocator: the item list and the path's text.
template <typename T> class TaskMemory {
  public:
    explicit TaskMemory(const Shell& shell) : shell_(shell) {}
    ~TaskMemory() { shell_.freeTaskMemory(value_); }
    TaskMemory(const TaskMemory&) = delete;
    TaskMemory& operator=(const TaskMemory&) = delete;

    T get() const noexcept { return value_; }
    T* put() noexcept {
        shell_.freeTaskMemory(value_);
        value_ = nullptr;
        return &value_;
    }
    void reset(T value) noexcept { *put() = value; }

  private:
    const Shell& shell_;
    T value_ = nullptr;
};

} // namespace

std::wstring BrowseForFolder(std::wstring_view title, HWND owner) {
    const Shell& shell = LoadedShell();
    if (!shell.Complete()) {
        return std::wstring();
    }
    const ComApartment com(shell);
    const std::wstring shownTitle = title.empty() ? std::wstring(L"Select a folder:") : std::wstring(title);

    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = shownTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;

    TaskMemory<PIDLIST_ABSOLUTE> items(shell);
    items.reset(shell.browseForFolder(&info));
    if (items.get() == nullptr) {
        return std::wstring();
    }
    // The shell allocates the path at its full length: a long path comes back whole, never cut to a
    // buffer.
    TaskMemory<PWSTR> path(shell);
    if (FAILED(shell.nameFromItemList(items.get(), SIGDN_FILESYSPATH, path.put())) || path.get() == nullptr) {
        return std::wstring();
    }
    return std::wstring(path.get());
}

} // namespace sysAPI
