#pragma once
// The keyboard of a plain window that borrows the dialog manager for Tab, Enter and access keys.

#include <windows.h>

namespace app {

// Hands message to the dialog manager of window; true when it was handled there. Plain characters never
// go there: the dialog manager takes a plain letter as an access key whenever the focused control does not
// want characters, so a stray 'e' would start a run. Access keys work with Alt only. While a list of
// suggestions shows under an edit box (enterTakesSuggestion), Enter is the list's: it takes the suggestion,
// and never presses a button.
bool HandleDialogKeys(HWND window, MSG& message, bool enterTakesSuggestion = false);

} // namespace app
