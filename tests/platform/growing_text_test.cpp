#include "platform/growing_text.h"
#include "platform/unique_handle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

using platform::GrowingText;

namespace {

constexpr size_t SmallReservation = size_t{64} << 10; // 32,768 units

// Text whose units differ from their neighbours', so a unit lost, doubled or moved shows.
std::wstring Numbered(size_t count) {
    std::wstring text(count, L'\0');
    for (size_t i = 0; i < count; ++i) {
        text[i] = static_cast<wchar_t>(0x4E00 + i % 20000);
    }
    return text;
}

} // namespace

// A command's output of more than its text's first reservation (4 GiB here) is rare; a small first
// reservation shows both ways of growing past it.
TEST(GrowingText, GrowsPastItsFirstReservationWhereverTheNextRangeIsTaken) {
    const std::wstring expected = Numbered(1'500'000); // about 3 MiB, many times the first reservation
    for (const bool blocked : {false, true}) {
        GrowingText text(SmallReservation);
        text.Append(expected.substr(0, 1));
        const wchar_t* const start = text.data();
        // With the range after it taken, the text has to move to a reservation of its own.
        platform::unique_virtual blocker;
        if (blocked) {
            blocker.reset(
                ::VirtualAlloc(const_cast<char*>(reinterpret_cast<const char*>(start)) + SmallReservation,
                               SmallReservation, MEM_RESERVE, PAGE_READWRITE));
        }
        // Written into the room at the end in pieces, as the capture writes.
        for (size_t at = 1, count; at < expected.size(); at += count) {
            count = std::min<size_t>(32767, expected.size() - at);
            expected.copy(text.Room(count), count, at);
            text.Extend(count);
        }
        EXPECT_EQ(text.size(), expected.size()) << "blocked: " << blocked;
        EXPECT_TRUE(text == expected) << "blocked: " << blocked;
        if (blocker) {
            EXPECT_NE(text.data(), start);
        }
    }
}
