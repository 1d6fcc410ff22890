#include "app/dialog_keys.h"

namespace app {

bool HandleDialogKeys(HWND window, MSG& message) {
    if (message.message == WM_CHAR) {
        return false;
    }
    return ::IsDialogMessageW(window, &message) != FALSE;
}

} // namespace app
