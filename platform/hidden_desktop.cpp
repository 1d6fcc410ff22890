#include "platform/hidden_desktop.h"

namespace platform {

HiddenDesktop::HiddenDesktop() {
    static unsigned made = 0;
    const std::wstring station =
        L"Brindle-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++made);
    station_.reset(::CreateWindowStationW(station.c_str(), 0, GENERIC_ALL, nullptr));
    const HWINSTA own = ::GetProcessWindowStation();
    // A desktop is made on the process's current window station, so this one is current for that call.
    if (!station_ || !::SetProcessWindowStation(station_.get())) {
        return;
    }
    desktop_.reset(::CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr));
    ::SetProcessWindowStation(own);
    if (desktop_) {
        name_ = station + L"\\Default";
    }
}

} // namespace platform
