#pragma once
// A desktop on a window station of its own, which is not the interactive one: nothing started there can
// show a window to the user or wait for a click, so a crashing child's fault dialog (Wine's, which does
// not look at the error mode) is never shown and never waited for.

#include "platform/unique_handle.h"

#include <string>

namespace platform {

class HiddenDesktop {
  public:
    // Best effort: where the system refuses a window station, name() is empty and a child started with
    // it goes to the caller's own desktop.
    HiddenDesktop();

    // "station\desktop", as STARTUPINFO's lpDesktop takes it.
    const std::wstring& name() const noexcept { return name_; }

  private:
    unique_hwinsta station_;
    unique_hdesk desktop_;
    std::wstring name_;
};

} // namespace platform
