#include "archive_builders.h"

#include "archive_error.h"
#include "crc32.h"
#include "member_delete.h"
#include "rar5_reader.h"
#include "vint.h"

#include <gtest/gtest.h>

namespace {

using rarstandin::ArchiveError;
using rarstandin::ArchiveLayout;
using rarstandin::BlockKind;
using rarstandin::MemorySink;
using rarstandin::MemorySource;

ArchiveLayout Layout(const std::string& bytes) {
    MemorySource source(bytes);
    return rarstandin::ReadRar5Layout(source);
}

std::vector<std::wstring> MemberNames(const ArchiveLayout& layout) {
    std::vector<std::wstring> names;
    for (const auto& block : layout.blocks) {
        if (block.kind == BlockKind::File) {
            names.push_back(block.name);
        }
    }
    return names;
}

std::string Delete(const std::string& bytes, const std::vector<std::wstring>& masks) {
    MemorySource source(bytes);
    const ArchiveLayout layout = rarstandin::ReadRar5Layout(source);
    const auto plan = rarstandin::PlanDeletion(layout, masks);
    MemorySink sink;
    rarstandin::WriteWithout(source, layout, plan, sink);
    return sink.bytes();
}

int ErrorCode(const std::string& bytes) {
    try {
        Layout(bytes);
    } catch (const ArchiveError& error) {
        return error.exitCode();
    }
    return 0;
}

std::string ServiceBlock(const std::wstring& name, std::uint64_t flags, const std::string& data) {
    const auto fields =
        rarstandin::MakeRar5FileFields(standintest::Member(name), data.size(), rarstandin::Crc32(data));
    return rarstandin::MakeRar5Header(rarstandin::rar5::HeaderType::Service, flags, fields, {}, true,
                                      data.size()) +
           data;
}

TEST(RarStandinRar5, VintsRoundTripAndPadInPlace) {
    for (std::uint64_t value : {0ull, 1ull, 127ull, 128ull, 300ull, 0xFFFFFFFFull, 0x123456789ABCull}) {
        const std::string encoded = rarstandin::EncodeVint(value);
        std::size_t pos = 0;
        EXPECT_EQ(rarstandin::ReadVint(encoded, pos), value);
        EXPECT_EQ(pos, encoded.size());
    }
    EXPECT_EQ(*rarstandin::EncodeVintFixed(0, 3), std::string("\x80\x80\x00", 3));
    EXPECT_FALSE(rarstandin::EncodeVintFixed(300, 1).has_value());
    std::size_t pos = 0;
    EXPECT_FALSE(rarstandin::ReadVint(std::string("\x80\x80", 2), pos).has_value());
}

TEST(RarStandinRar5, ReadsWhatTheWriterMakes) {
    const auto layout =
        Layout(standintest::Rar5Archive({{L"dir\\", ""}, {L"dir\\中文.txt", "abc"}, {L"b", ""}}));
    EXPECT_EQ(MemberNames(layout), (std::vector<std::wstring>{L"dir", L"dir\\中文.txt", L"b"}));
    EXPECT_TRUE(layout.blocks[1].directory);
    EXPECT_FALSE(layout.volume || layout.locked || layout.solid || layout.encryptedHeaders);
    EXPECT_EQ(layout.blocks.back().kind, BlockKind::End);
}

TEST(RarStandinRar5, DeletesMatchingMembersAndKeepsTheRestByteForByte) {
    const std::string original =
        standintest::Rar5Archive({{L"a.txt", "one"}, {L"b.bin", "two"}, {L"c.txt", "3"}});
    const std::string result = Delete(original, {L"*.txt"});
    const std::string expected = standintest::Rar5Archive({{L"b.bin", "two"}});
    EXPECT_EQ(result, expected);
}

TEST(RarStandinRar5, ArchiveFlagsAreReported) {
    EXPECT_TRUE(Layout(standintest::Rar5Archive({{L"a", "x"}}, 0x10)).locked);
    EXPECT_TRUE(Layout(standintest::Rar5Archive({{L"a", "x"}}, 0x01)).volume);
    EXPECT_TRUE(Layout(standintest::Rar5Archive({{L"a", "x"}}, 0x04)).solid);
}

TEST(RarStandinRar5, SolidFilesAreSeenInAnArchiveWithoutTheSolidFlag) {
    std::string bytes(rarstandin::rar5::kSignature);
    bytes += rarstandin::MakeRar5Header(rarstandin::rar5::HeaderType::Main, 0, rarstandin::EncodeVint(0));
    const auto fields =
        rarstandin::MakeRar5FileFields(standintest::Member(L"a"), 1, rarstandin::Crc32("x"), 0x40);
    bytes += rarstandin::MakeRar5Header(rarstandin::rar5::HeaderType::File, 0, fields, {}, true, 1) + "x";
    bytes += rarstandin::MakeRar5Header(rarstandin::rar5::HeaderType::End, 0, rarstandin::EncodeVint(0));
    EXPECT_TRUE(Layout(bytes).blocks[1].solid);
}

TEST(RarStandinRar5, DropsQuickOpenRecoveryAndChildrenOfDeletedMembers) {
    // Main header with the recovery flag and a locator whose offsets take three bytes each.
    const std::string locator = rarstandin::EncodeVint(1) + rarstandin::EncodeVint(0x03) +
                                *rarstandin::EncodeVintFixed(1234, 3) + *rarstandin::EncodeVintFixed(5678, 3);
    const std::string extra = rarstandin::EncodeVint(locator.size()) + locator;
    std::string bytes(rarstandin::rar5::kSignature);
    const std::string main = rarstandin::MakeRar5Header(rarstandin::rar5::HeaderType::Main, 0,
                                                        rarstandin::EncodeVint(0x08), extra);
    bytes += main;
    const std::string a = standintest::Rar5Archive({{L"a.txt", "aaaa"}});
    const std::string b = standintest::Rar5Archive({{L"b.txt", "bb"}});
    const std::string end =
        rarstandin::MakeRar5Header(rarstandin::rar5::HeaderType::End, 0, rarstandin::EncodeVint(0));
    // The file block of a one-member archive sits between its main header and its end block.
    const std::size_t smallMain =
        rarstandin::MakeRar5Header(rarstandin::rar5::HeaderType::Main, 0, rarstandin::EncodeVint(0)).size();
    const std::string fileA = a.substr(8 + smallMain, a.size() - 8 - smallMain - end.size());
    const std::string fileB = b.substr(8 + smallMain, b.size() - 8 - smallMain - end.size());
    bytes += fileA + ServiceBlock(L"STM", 0x20, "stream of a") + fileB +
             ServiceBlock(L"ACL", 0x20, "acl of b") + ServiceBlock(L"CMT", 0, "comment") +
             ServiceBlock(L"QO", 0, "quick") + ServiceBlock(L"RR", 0, "rr") + end + "tail";

    const std::string result = Delete(bytes, {L"a.txt"});
    const auto layout = Layout(result);
    ASSERT_EQ(layout.blocks.size(), 5u);
    EXPECT_EQ(layout.blocks[1].name, L"b.txt");
    EXPECT_EQ(layout.blocks[2].name, L"ACL");
    EXPECT_EQ(layout.blocks[3].name, L"CMT");
    EXPECT_EQ(layout.blocks[4].kind, BlockKind::End);
    EXPECT_EQ(result.substr(result.size() - 4), "tail");

    // Same header length, recovery flag gone, offsets zero, CRC right (the reader checked it).
    const std::string newMain = result.substr(8, main.size());
    std::string expectedMain = rarstandin::MakeRar5Header(
        rarstandin::rar5::HeaderType::Main, 0, rarstandin::EncodeVint(0),
        rarstandin::EncodeVint(locator.size()) + rarstandin::EncodeVint(1) + rarstandin::EncodeVint(0x03) +
            std::string("\x80\x80\x00\x80\x80\x00", 6));
    EXPECT_EQ(newMain, expectedMain);
    EXPECT_EQ(result.substr(8 + main.size()), fileB + ServiceBlock(L"ACL", 0x20, "acl of b") +
                                                  ServiceBlock(L"CMT", 0, "comment") + end + "tail");
}

TEST(RarStandinRar5, EncryptedHeadersStopTheReader) {
    std::string bytes(rarstandin::rar5::kSignature);
    bytes += rarstandin::MakeRar5Header(rarstandin::rar5::HeaderType::Encryption, 0, std::string(33, '\x01'));
    bytes += std::string(40, '\x5A');
    EXPECT_TRUE(Layout(bytes).encryptedHeaders);
}

TEST(RarStandinRar5, DamageIsAnErrorNotACrash) {
    const std::string good = standintest::Rar5Archive({{L"a.txt", "hello"}});
    std::string badCrc = good;
    badCrc[20] ^= 0x01;
    EXPECT_EQ(ErrorCode(badCrc), 3);
    EXPECT_EQ(ErrorCode(good.substr(0, good.size() - 12)), 3);
    EXPECT_EQ(ErrorCode(good.substr(0, 11)), 3);
    // A header size field past the end of the file.
    std::string huge(rarstandin::rar5::kSignature);
    huge += std::string("\0\0\0\0\xFF\xFF\x7F", 7);
    EXPECT_EQ(ErrorCode(huge), 3);
    EXPECT_EQ(
        ErrorCode(std::string(rarstandin::rar5::kSignature) + std::string(4, '\0') + "\x80\x80\x80\x80"), 3);
}

} // namespace
