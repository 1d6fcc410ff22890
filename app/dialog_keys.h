#pragma once
// The keyboard of a plain window that borrows the dialog manager for Tab, Enter and access keys.

#include <windows.h>

namespace app {

// Hands message to the dialog manager of window; true when it was handled there. Plain characters never
// go there: the dialog manager takes a plain letter as an access key whenever the focused control does not
// want characters, so a stray 'e' would start a run. Access keys work with Alt only.
bool HandleDialogKeys(HWND window, MSG& message);

} // namespace app
