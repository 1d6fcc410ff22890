#include "archive_builders.h"

#include "crc32.h"
#include "vint.h"

#include <gtest/gtest.h>

namespace {

using namespace standintest;
using rar5::HeaderType;
using rarstandin::BlockKind;
using rarstandin::EncodeVint;

std::string ServiceBlock(const std::wstring& name, std::uint64_t flags, const std::string& data) {
    const auto fields = rarstandin::MakeRar5FileFields(Member(name), data.size(), rarstandin::Crc32(data));
    return rarstandin::MakeRar5Header(HeaderType::Service, flags, fields, {}, true, data.size()) + data;
}

TEST(RarStandinRar5, VintsRoundTripAndPadInPlace) {
    for (std::uint64_t value : {0ull, 1ull, 127ull, 128ull, 300ull, 0xFFFFFFFFull, 0x123456789ABCull}) {
        const std::string encoded = EncodeVint(value);
        std::size_t pos = 0;
        EXPECT_EQ(rarstandin::ReadVint(encoded, pos), value);
        EXPECT_EQ(pos, encoded.size());
    }
    EXPECT_EQ(*rarstandin::EncodeVintFixed(0, 3), std::string("\x80\x80\x00", 3));
    EXPECT_FALSE(rarstandin::EncodeVintFixed(300, 1).has_value());
    std::size_t pos = 0;
    EXPECT_FALSE(rarstandin::ReadVint(std::string("\x80\x80", 2), pos).has_value());
}

TEST(RarStandinRar5, DropsQuickOpenRecoveryAndChildrenOfDeletedMembers) {
    // Main header with the recovery flag and a locator whose offsets take three bytes each.
    const std::string locatorFlags =
        EncodeVint(rar5::kLocatorRecord) + EncodeVint(rar5::kLocatorQuickOpen | rar5::kLocatorRecovery);
    const std::string locator =
        locatorFlags + *rarstandin::EncodeVintFixed(1234, 3) + *rarstandin::EncodeVintFixed(5678, 3);
    const std::string main = rarstandin::MakeRar5Header(
        HeaderType::Main, 0, EncodeVint(rar5::kArchiveRecovery), EncodeVint(locator.size()) + locator);
    const std::string a = Rar5Archive({{L"a.txt", "aaaa"}});
    const std::string b = Rar5Archive({{L"b.txt", "bb"}});
    const std::string end = rarstandin::MakeRar5Header(HeaderType::End, 0, EncodeVint(0));
    // The file block of a one-member archive sits between its main header and its end block.
    const std::size_t before =
        rar5::kSignature.size() + rarstandin::MakeRar5Header(HeaderType::Main, 0, EncodeVint(0)).size();
    const std::string fileA = a.substr(before, a.size() - before - end.size());
    const std::string fileB = b.substr(before, b.size() - before - end.size());
    const std::string bytes =
        std::string(rar5::kSignature) + main + fileA + ServiceBlock(L"STM", rar5::kChild, "stream of a") +
        fileB + ServiceBlock(L"ACL", rar5::kChild, "acl of b") + ServiceBlock(L"CMT", 0, "comment") +
        ServiceBlock(L"QO", 0, "quick") + ServiceBlock(L"RR", 0, "rr") + end + "tail";

    const std::string result = Delete(bytes, {L"a.txt"});
    // Same header length, recovery flag gone, offsets zero, CRC right.
    const std::string expectedMain = rarstandin::MakeRar5Header(
        HeaderType::Main, 0, EncodeVint(0),
        EncodeVint(locator.size()) + locatorFlags + std::string("\x80\x80\x00\x80\x80\x00", 6));
    EXPECT_EQ(result, std::string(rar5::kSignature) + expectedMain + fileB +
                          ServiceBlock(L"ACL", rar5::kChild, "acl of b") +
                          ServiceBlock(L"CMT", 0, "comment") + end + "tail");
    EXPECT_EQ(MemberNames(Layout(result)), std::vector<std::wstring>{L"b.txt"});
}

} // namespace
