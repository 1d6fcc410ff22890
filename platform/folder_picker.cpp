#include "platform/ansi_text.h"
#include "platform/sys_api.h"

#include <shlobj.h>

#include <memory>

namespace sysAPI {

namespace {

struct ItemListDeleter {
    void operator()(ITEMIDLIST* items) const noexcept { ::CoTaskMemFree(items); }
};
using unique_item_list = std::unique_ptr<ITEMIDLIST, ItemListDeleter>;

} // namespace

std::wstring BrowseForFolder(std::wstring_view title, HWND owner) {
    const std::wstring shownTitle = title.empty() ? std::wstring(L"Select a folder:") : std::wstring(title);
    const std::string ansiTitle = platform::TryToAnsi(shownTitle).value_or(std::string("Select a folder:"));

    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = ansiTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;

    const unique_item_list items(::SHBrowseForFolderA(&info));
    if (!items) {
        return std::wstring();
    }
    // MAX_PATH bytes is the most SHGetPathFromIDListA ever writes, NUL included.
    char path[MAX_PATH + 1] = {};
    if (!::SHGetPathFromIDListA(items.get(), path)) {
        return std::wstring();
    }
    path[MAX_PATH] = '\0';
    return platform::FromAnsi(path);
}

} // namespace sysAPI
