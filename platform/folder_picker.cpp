#include "platform/com_apartment.h"
#include "platform/sys_api.h"
#include "platform/unique_handle.h"

#include <shlobj.h>

#include <string>

namespace sysAPI {

namespace {

// Opens the picker at the folder handed over in data, once its tree is there.
int CALLBACK OpenAtFolder(HWND picker, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

} // namespace

std::wstring BrowseForFolder(std::wstring_view title, HWND owner, const std::wstring& startFolder) {
    // The new-style picker needs COM on the calling thread while it is open.
    const platform::ComApartment com;
    const std::wstring shownTitle = title.empty() ? std::wstring(L"Select a folder:") : std::wstring(title);

    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = shownTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    if (!startFolder.empty()) {
        info.lpfn = OpenAtFolder;
        info.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
    }

    const platform::unique_cotaskmem<PIDLIST_ABSOLUTE> items(::SHBrowseForFolderW(&info));
    if (items.get() == nullptr) {
        return std::wstring();
    }
    // The shell allocates the path at its full length: a long path comes back whole, never cut to a
    // buffer.
    platform::unique_cotaskmem<PWSTR> path;
    if (FAILED(::SHGetNameFromIDList(items.get(), SIGDN_FILESYSPATH, path.put())) || path.get() == nullptr) {
        return std::wstring();
    }
    return std::wstring(path.get());
}

} // namespace sysAPI
