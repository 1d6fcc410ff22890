#pragma once
// Move-only owners of Win32 handles, after WIL's unique_handle family: get(), reset(), release() and put()
// (releases what is held, then hands out the slot for an out-parameter).

#include <windows.h>

#include <objbase.h>
#include <unknwn.h>

#include <utility>

namespace platform {

template <typename Traits> class unique_any {
  public:
    using pointer = typename Traits::pointer;

    unique_any() noexcept = default;
    explicit unique_any(pointer value) noexcept : value_(value) {}
    ~unique_any() { reset(); }

    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    pointer get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::IsValid(value_); }

    void reset(pointer value = Traits::Invalid()) noexcept {
        if (Traits::IsValid(value_)) {
            Traits::Close(value_);
        }
        value_ = value;
    }
    pointer release() noexcept { return std::exchange(value_, Traits::Invalid()); }
    pointer* put() noexcept {
        reset();
        return &value_;
    }

  private:
    pointer value_ = Traits::Invalid();
};

struct HandleTraits {
    using pointer = HANDLE;
    static pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(pointer h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(pointer h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using pointer = HANDLE;
    static pointer Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(pointer h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(pointer h) noexcept { ::FindClose(h); }
};

// Whatever a null value marks as empty and one call releases.
template <typename Pointer, auto Release> struct NullIsEmptyTraits {
    using pointer = Pointer;
    static pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(pointer value) noexcept { return value != nullptr; }
    static void Close(pointer value) noexcept { Release(value); }
};

// Releases a COM interface pointer.
inline void ReleaseCom(IUnknown* object) noexcept {
    object->Release();
}

// A kernel handle closed with CloseHandle (files, pipes, processes, threads).
using unique_handle = unique_any<HandleTraits>;
// A directory search handle closed with FindClose.
using unique_hfind = unique_any<FindHandleTraits>;
// Local memory freed with LocalFree.
using unique_hlocal = unique_any<NullIsEmptyTraits<HLOCAL, ::LocalFree>>;
// Memory the shell or COM hands over, freed with CoTaskMemFree (an item list, a path's text).
template <typename Pointer> using unique_cotaskmem = unique_any<NullIsEmptyTraits<Pointer, ::CoTaskMemFree>>;
// A COM interface pointer, released once.
template <typename Interface> using unique_com = unique_any<NullIsEmptyTraits<Interface*, ReleaseCom>>;

} // namespace platform
