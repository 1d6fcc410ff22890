#include "app/dialog_keys.h"

namespace app {

bool HandleDialogKeys(HWND window, MSG& message, bool enterTakesSuggestion) {
    if (message.message == WM_CHAR) {
        return false;
    }
    if (enterTakesSuggestion && (message.message == WM_KEYDOWN || message.message == WM_KEYUP) &&
        message.wParam == VK_RETURN) {
        return false;
    }
    return ::IsDialogMessageW(window, &message) != FALSE;
}

} // namespace app
