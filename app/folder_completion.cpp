#include "app/folder_completion.h"

#include "platform/com_apartment.h"

#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace app {

// Made from its parts rather than with SHAutoComplete, which keeps the object to itself: only the object
// tells whether its list shows (IAutoCompleteDropDown::GetDropDownStatus).
bool FolderCompletion::Attach(HWND edit) {
    const auto completion = platform::CreateComObject<IAutoComplete2>(CLSID_AutoComplete, IID_IAutoComplete2);
    const auto folders = platform::CreateComObject<IACList2>(CLSID_ACListISF, IID_IACList2);
    if (completion && folders && SUCCEEDED(folders.get()->SetOptions(ACLO_FILESYSDIRS)) &&
        SUCCEEDED(completion.get()->Init(edit, folders.get(), nullptr, nullptr))) {
        completion.get()->SetOptions(ACO_AUTOSUGGEST);
        // Null where the object has no such interface.
        completion.get()->QueryInterface(IID_IAutoCompleteDropDown,
                                         reinterpret_cast<void**>(dropDown_.put()));
        return true; // the edit box holds the object from here on
    }
    return SUCCEEDED(::SHAutoComplete(edit, SHACF_FILESYS_DIRS));
}

bool FolderCompletion::ListShown() const {
    DWORD flags = 0;
    return dropDown_ && SUCCEEDED(dropDown_.get()->GetDropDownStatus(&flags, nullptr)) &&
           (flags & ACDD_VISIBLE) != 0;
}

} // namespace app
