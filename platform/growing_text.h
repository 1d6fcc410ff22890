#pragma once
// UTF-16 text that grows at its end without ever moving: it lives in address space reserved ahead, and
// pages are committed as the text reaches them. Growing copies nothing and holds no second buffer, so a
// command's output of hundreds of MiB takes little more than its own size while it arrives. Only a text
// that outgrows its reservation, where the range after it is taken, moves once to a larger one.

#include "platform/unique_handle.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace platform {

class GrowingText {
  public:
    // Address space reserved at the first append, or the largest to be had below it, halving: 4 GiB on
    // 64-bit Windows (Wine keeps a byte for each reserved page, so far larger reservations cost memory and
    // time), 1 GiB on 32-bit.
    static constexpr size_t DefaultReservation = (size_t{1} << 30) * (sizeof(void*) == 8 ? 4 : 1);

    GrowingText() noexcept = default;
    explicit GrowingText(std::wstring_view text);
    // Reserves reservation bytes instead; for texts known to stay small, and for tests.
    explicit GrowingText(size_t reservation) noexcept : firstReservation_(reservation) {}
    GrowingText(GrowingText&& other) noexcept;
    GrowingText& operator=(GrowingText&& other) noexcept;

    std::wstring_view view() const noexcept { return {data_, size_}; }
    operator std::wstring_view() const noexcept { return view(); }
    const wchar_t* data() const noexcept { return data_; }
    size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

    void Append(std::wstring_view text);
    // Committed room for count more units at the end, to be written in place and then added with Extend.
    // Throws std::bad_alloc when the memory cannot be had.
    wchar_t* Room(size_t count);
    // Adds to the text count units written at what Room answered.
    void Extend(size_t count) noexcept { size_ += count; }

    friend bool operator==(const GrowingText& text, std::wstring_view other) noexcept {
        return text.view() == other;
    }

  private:
    // The text's address space: the first reservation, then those that follow it directly.
    struct Reservation {
        unique_virtual memory;
        size_t end = 0; // in bytes from the start of the text
    };

    void Reserve(size_t bytes);
    void Commit(size_t bytes);
    size_t ReservedBytes() const noexcept { return reservations_.empty() ? 0 : reservations_.back().end; }

    std::vector<Reservation> reservations_;
    wchar_t* data_ = nullptr;
    size_t size_ = 0;
    size_t committed_ = 0; // bytes, from data_
    size_t firstReservation_ = DefaultReservation;
};

} // namespace platform
