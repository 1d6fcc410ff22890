#pragma once
// COM on the calling thread, apartment-threaded, for as long as the owner lives: the shell's folder picker
// and its completion of typed folders need it. A thread where COM already runs only counts one more use.

#include <objbase.h>

namespace platform {

class ComApartment {
  public:
    ComApartment() noexcept
        : initialized_(
              SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (initialized_) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool initialized() const noexcept { return initialized_; }

  private:
    bool initialized_;
};

} // namespace platform
