#pragma once
// COM on the calling thread, apartment-threaded, for as long as the owner lives: the shell's folder picker
// and its completion of typed folders need it. A thread where COM already runs only counts one more use.
// And the objects made there, each owned by a unique_com.

#include "platform/unique_handle.h"

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

// A new in-process COM object of class type, asked for interface id; empty where it cannot be made (the
// call leaves its out-parameter null on failure).
template <typename Interface> unique_com<Interface> CreateComObject(REFCLSID type, REFIID id) {
    unique_com<Interface> object;
    ::CoCreateInstance(type, nullptr, CLSCTX_INPROC_SERVER, id, reinterpret_cast<void**>(object.put()));
    return object;
}

} // namespace platform
