#include "archive_builders.h"

#include "vint.h"

#include <gtest/gtest.h>

namespace {

using namespace standintest;
using rar5::HeaderType;
using rarstandin::EncodeVint;

TEST(RarStandinRar5, VintsRoundTrip) {
    for (std::uint64_t value : {0ull, 127ull, 128ull, 300ull, 0xFFFFFFFFull, 0x123456789ABCull}) {
        const std::string encoded = EncodeVint(value);
        std::size_t pos = 0;
        EXPECT_EQ(rarstandin::ReadVint(encoded, pos), value);
        EXPECT_EQ(pos, encoded.size());
    }
}

TEST(RarStandinRar5, DropsQuickOpenRecoveryAndChildrenOfDeletedMembers) {
    const auto service = [](const std::wstring& name, std::uint64_t flags, const std::string& data) {
        return Rar5Block(HeaderType::Service, name, flags, data);
    };
    // Main header with the recovery flag and a locator whose offsets take three bytes each.
    const std::string locatorFlags =
        EncodeVint(rar5::kLocatorRecord) + EncodeVint(rar5::kLocatorQuickOpen | rar5::kLocatorRecovery);
    const std::string locator =
        locatorFlags + *rarstandin::EncodeVintFixed(1234, 3) + *rarstandin::EncodeVintFixed(5678, 3);
    const std::string main = rarstandin::MakeRar5Header(
        HeaderType::Main, 0, EncodeVint(rar5::kArchiveRecovery), EncodeVint(locator.size()) + locator);
    const std::string end = rarstandin::MakeRar5Header(HeaderType::End, 0, EncodeVint(0));
    const std::string b = Rar5Block(HeaderType::File, L"b.txt", 0, "bb") +
                          service(L"ACL", rar5::kChild, "acl of b") + service(L"CMT", 0, "comment");
    const std::string bytes = std::string(rar5::kSignature) + main +
                              Rar5Block(HeaderType::File, L"a.txt", 0, "a") +
                              service(L"STM", rar5::kChild, "stream of a") + b + service(L"QO", 0, "quick") +
                              service(L"RR", 0, "rr") + end + "tail";

    // Same header length, recovery flag gone, offsets zero, CRC right.
    const std::string expectedMain = rarstandin::MakeRar5Header(
        HeaderType::Main, 0, EncodeVint(0),
        EncodeVint(locator.size()) + locatorFlags + std::string("\x80\x80\x00\x80\x80\x00", 6));
    EXPECT_EQ(Delete(bytes, {L"a.txt"}), std::string(rar5::kSignature) + expectedMain + b + end + "tail");
}

} // namespace
