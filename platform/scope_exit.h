#pragma once
// Runs a function when the scope ends, however it ends: for a guard that only undoes one call (as WIL's
// scope_exit). An owner of a resource gets a type of its own instead (unique_handle.h).

#include <utility>

namespace platform {

template <typename Undo> class [[nodiscard]] scope_exit {
  public:
    explicit scope_exit(Undo undo) noexcept : undo_(std::move(undo)) {}
    ~scope_exit() { undo_(); }
    scope_exit(const scope_exit&) = delete;
    scope_exit& operator=(const scope_exit&) = delete;

  private:
    Undo undo_;
};

} // namespace platform
