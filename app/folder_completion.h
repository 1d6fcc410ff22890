#pragma once
// The shell's completion of typed folders in the folder box, as in its own address boxes, and whether its
// list of suggestions is open: Enter then takes a suggestion, and must not press Execute.

#include "platform/unique_handle.h"

#include <windows.h>

#include <shobjidl.h>

namespace app {

class FolderCompletion {
  public:
    // Starts completing folders in edit; needs COM on this thread. False where the shell has none.
    bool Attach(HWND edit);
    // True while the list of suggestions shows.
    bool ListShown() const;

  private:
    platform::unique_com<IAutoCompleteDropDown> dropDown_;
};

} // namespace app
