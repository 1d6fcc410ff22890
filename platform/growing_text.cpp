#include "platform/growing_text.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace platform {

namespace {

// Reservations start and end on the allocation granularity of every Windows version.
constexpr size_t Granularity = size_t{64} << 10;
// Committed a step at a time, so a commit call is rare and little is committed ahead of the text.
constexpr size_t CommitStep = size_t{1} << 20;

size_t RoundUp(size_t value, size_t step) {
    if (value > SIZE_MAX - step) {
        throw std::bad_alloc();
    }
    return (value + step - 1) / step * step;
}

// The largest reservation from want down to least (both multiples of Granularity), halving, at address
// (anywhere when null); its size.
unique_virtual ReserveLargest(char* address, size_t want, size_t least, size_t& size) {
    for (size = std::max(want, least);; size = std::max(size / 2 / Granularity * Granularity, least)) {
        unique_virtual reserved(::VirtualAlloc(address, size, MEM_RESERVE, PAGE_READWRITE));
        if (reserved && (address == nullptr || reserved.get() == address)) {
            return reserved;
        }
        if (size == least) {
            return unique_virtual();
        }
    }
}

} // namespace

GrowingText::GrowingText(std::wstring_view text) {
    Append(text);
}

GrowingText::GrowingText(GrowingText&& other) noexcept
    : reservations_(std::move(other.reservations_)), data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)), committed_(std::exchange(other.committed_, 0)),
      firstReservation_(other.firstReservation_) {
    other.reservations_.clear();
}

GrowingText& GrowingText::operator=(GrowingText&& other) noexcept {
    if (this != &other) {
        reservations_ = std::move(other.reservations_);
        other.reservations_.clear();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        committed_ = std::exchange(other.committed_, 0);
        firstReservation_ = other.firstReservation_;
    }
    return *this;
}

void GrowingText::Append(std::wstring_view text) {
    if (!text.empty()) {
        std::memcpy(Room(text.size()), text.data(), text.size() * sizeof(wchar_t));
        Extend(text.size());
    }
}

wchar_t* GrowingText::Room(size_t count) {
    if (count > SIZE_MAX / sizeof(wchar_t) - size_) {
        throw std::bad_alloc();
    }
    const size_t bytes = (size_ + count) * sizeof(wchar_t);
    if (bytes > committed_) {
        if (bytes > ReservedBytes()) {
            Reserve(bytes);
        }
        Commit(bytes);
    }
    return data_ + size_;
}

void GrowingText::Reserve(size_t bytes) {
    const size_t needed = RoundUp(bytes, Granularity);
    const size_t held = ReservedBytes();
    size_t size = 0;
    if (held != 0) {
        // The range right after the text, when free, makes it longer where it stands.
        char* const end = reinterpret_cast<char*>(data_) + held;
        if (unique_virtual more = ReserveLargest(end, held, needed - held, size)) {
            reservations_.push_back({std::move(more), held + size});
            return;
        }
    }
    // The text starts, or moves once, to a reservation of its own, twice as large when it moves.
    const size_t want = held == 0              ? RoundUp(firstReservation_, Granularity)
                        : held <= SIZE_MAX / 2 ? held * 2
                                               : held;
    unique_virtual fresh = ReserveLargest(nullptr, want, needed, size);
    if (!fresh) {
        throw std::bad_alloc();
    }
    auto* const text = static_cast<wchar_t*>(fresh.get());
    const size_t kept = committed_;
    if (kept != 0) {
        if (!::VirtualAlloc(text, kept, MEM_COMMIT, PAGE_READWRITE)) {
            throw std::bad_alloc();
        }
        std::memcpy(text, data_, size_ * sizeof(wchar_t));
    }
    reservations_.clear();
    reservations_.push_back({std::move(fresh), size});
    data_ = text;
    committed_ = kept;
}

void GrowingText::Commit(size_t bytes) {
    const size_t target =
        std::min(RoundUp(std::max(bytes, committed_ + CommitStep), CommitStep), ReservedBytes());
    // One commit call may not span two reservations.
    size_t start = 0;
    for (const Reservation& reservation : reservations_) {
        const size_t from = std::max(committed_, start);
        const size_t to = std::min(target, reservation.end);
        if (from < to &&
            !::VirtualAlloc(reinterpret_cast<char*>(data_) + from, to - from, MEM_COMMIT, PAGE_READWRITE)) {
            throw std::bad_alloc();
        }
        start = reservation.end;
    }
    committed_ = target;
}

} // namespace platform
