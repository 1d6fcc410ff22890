#include "app/folder_completion.h"

#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace app {

namespace {

template <typename Interface>
using com_ptr = platform::unique_any<platform::NullIsEmptyTraits<Interface*, platform::ReleaseCom>>;

template <typename Interface> com_ptr<Interface> Create(REFCLSID type, REFIID id) {
    Interface* object = nullptr;
    return com_ptr<Interface>(SUCCEEDED(::CoCreateInstance(type, nullptr, CLSCTX_INPROC_SERVER, id,
                                                           reinterpret_cast<void**>(&object)))
                                  ? object
                                  : nullptr);
}

} // namespace

// Made from its parts rather than with SHAutoComplete, which keeps the object to itself: only the object
// tells whether its list shows (IAutoCompleteDropDown::GetDropDownStatus).
bool FolderCompletion::Attach(HWND edit) {
    const auto completion = Create<IAutoComplete2>(CLSID_AutoComplete, IID_IAutoComplete2);
    const auto folders = Create<IACList2>(CLSID_ACListISF, IID_IACList2);
    if (completion && folders && SUCCEEDED(folders.get()->SetOptions(ACLO_FILESYSDIRS)) &&
        SUCCEEDED(completion.get()->Init(edit, folders.get(), nullptr, nullptr))) {
        completion.get()->SetOptions(ACO_AUTOSUGGEST);
        IAutoCompleteDropDown* dropDown = nullptr;
        if (SUCCEEDED(completion.get()->QueryInterface(IID_IAutoCompleteDropDown,
                                                       reinterpret_cast<void**>(&dropDown)))) {
            dropDown_.reset(dropDown);
        }
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
