#include "archive_builders.h"

#include "archive_error.h"
#include "crc32.h"
#include "member_delete.h"
#include "rar4_name.h"
#include "rar4_reader.h"

#include <gtest/gtest.h>

namespace {

using rarstandin::ArchiveError;
using rarstandin::ArchiveLayout;
using rarstandin::BlockKind;
using rarstandin::MemorySink;
using rarstandin::MemorySource;

ArchiveLayout Layout(const std::string& bytes) {
    MemorySource source(bytes);
    return rarstandin::ReadRar4Layout(source);
}

std::string Delete(const std::string& bytes, const std::vector<std::wstring>& masks) {
    MemorySource source(bytes);
    const ArchiveLayout layout = rarstandin::ReadRar4Layout(source);
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

std::string Service(const std::wstring& name, std::uint16_t flags, const std::string& data) {
    return rarstandin::MakeRar4FileHeader(rarstandin::rar4::HeaderType::Service, flags,
                                          standintest::Member(name), data.size(), rarstandin::Crc32(data)) +
           data;
}

std::string FileBlock(const std::wstring& name, const std::string& data) {
    return rarstandin::MakeRar4FileHeader(rarstandin::rar4::HeaderType::File, 0, standintest::Member(name),
                                          data.size(), rarstandin::Crc32(data)) +
           data;
}

TEST(RarStandinRar4, UnicodeNamesRoundTrip) {
    const std::wstring name = L"表だよ\\新しい abc.txt";
    const std::string field =
        std::string("plain", 5) + std::string(1, '\0') + rarstandin::EncodeRar4Unicode(name);
    EXPECT_EQ(rarstandin::DecodeRar4Name(field, true), name);
}

TEST(RarStandinRar4, UnicodeNamesUseEveryPackedForm) {
    // High byte 0x30; codes 1 (0x30xx), 0 (ASCII), 2 (whole character), 3 (two plain bytes, corrected).
    std::string packed = "\x30";
    packed += static_cast<char>(0x1B);    // 00 01 10 11
    packed += "A";                        // code 0
    packed += "\x42";                     // code 1: U+3042
    packed += "\x34\x12";                 // code 2: U+1234
    packed += std::string("\x80\x01", 2); // code 3: length 0 + 2 with correction 1, from plain bytes 3..4
    const std::string field = std::string("xxx\x10\x11", 5) + std::string(1, '\0') + packed;
    EXPECT_EQ(rarstandin::DecodeRar4Name(field, true), std::wstring(L"A\x3042\x1234\x3011\x3012"));
    // Code 3 without correction copies the plain bytes.
    std::string copy(1, '\0');
    copy += static_cast<char>(0xC0);
    copy += std::string("\x01", 1);
    EXPECT_EQ(rarstandin::DecodeRar4Name(std::string("abc\0", 4) + copy, true), L"abc");
}

TEST(RarStandinRar4, PlainNamesAreUtf8WhenTheyReadSo) {
    EXPECT_EQ(rarstandin::DecodeRar4Name("dir\\\xE4\xB8\xAD.txt", false), L"dir\\中.txt");
    EXPECT_EQ(rarstandin::DecodeRar4Name("dir/a.txt", false), L"dir\\a.txt");
}

TEST(RarStandinRar4, ReadsWhatTheWriterMakes) {
    const auto layout =
        Layout(standintest::Rar4Archive({{L"sub\\", ""}, {L"sub\\中文.txt", "abc"}, {L"x", "y"}}));
    ASSERT_EQ(layout.blocks.size(), 5u);
    EXPECT_EQ(layout.blocks[1].name, L"sub");
    EXPECT_TRUE(layout.blocks[1].directory);
    EXPECT_EQ(layout.blocks[2].name, L"sub\\中文.txt");
    EXPECT_EQ(layout.blocks[3].name, L"x");
    EXPECT_EQ(layout.blocks[4].kind, BlockKind::End);
}

TEST(RarStandinRar4, EndBlockIsTheArchiversOwn) {
    EXPECT_EQ(rarstandin::MakeRar4Header(rarstandin::rar4::HeaderType::End, 0x4000, {}),
              std::string("\xC4\x3D\x7B\x00\x40\x07\x00", 7));
}

TEST(RarStandinRar4, MainFlagsAreReported) {
    EXPECT_TRUE(Layout(standintest::Rar4Archive({{L"a", "x"}}, 0x04)).locked);
    EXPECT_TRUE(Layout(standintest::Rar4Archive({{L"a", "x"}}, 0x01)).volume);
    EXPECT_TRUE(Layout(standintest::Rar4Archive({{L"a", "x"}}, 0x08)).solid);
    const auto encrypted =
        Layout(standintest::Rar4Archive({{L"a", "x"}}, 0x80) + "garbage that is not a header");
    EXPECT_TRUE(encrypted.encryptedHeaders);
    EXPECT_EQ(encrypted.blocks.size(), 1u);
}

TEST(RarStandinRar4, DeletingDropsRecoveryAndChildrenAndClearsAuthenticity) {
    const std::string main = rarstandin::MakeRar4Header(rarstandin::rar4::HeaderType::Main, 0x40 | 0x20,
                                                        std::string("\x01\x00\x10\x20\x30\x40", 6));
    const std::string oldRecovery = rarstandin::MakeRar4Header(rarstandin::rar4::HeaderType::OldRecovery,
                                                               0x8000, std::string("\x03\x00\x00\x00", 4)) +
                                    "rec";
    const std::string end = rarstandin::MakeRar4Header(rarstandin::rar4::HeaderType::End, 0x4000, {});
    const std::string bytes = std::string(rarstandin::rar4::kSignature) + main + FileBlock(L"a.txt", "aaa") +
                              Service(L"STM", 0x10, "child of a") + FileBlock(L"b.txt", "b") +
                              Service(L"STM", 0x10, "child of b") + Service(L"CMT", 0, "comment") +
                              Service(L"RR", 0, "recovery") + oldRecovery + end;
    const std::string result = Delete(bytes, {L"A.TXT"});
    const std::string expectedMain =
        rarstandin::MakeRar4Header(rarstandin::rar4::HeaderType::Main, 0x20, std::string(6, '\0'));
    EXPECT_EQ(result, std::string(rarstandin::rar4::kSignature) + expectedMain + FileBlock(L"b.txt", "b") +
                          Service(L"STM", 0x10, "child of b") + Service(L"CMT", 0, "comment") + end);
}

TEST(RarStandinRar4, NoEndBlockIsFine) {
    std::string bytes = standintest::Rar4Archive({{L"a", "x"}, {L"b", "y"}});
    bytes.resize(bytes.size() - 7);
    const auto layout = Layout(bytes);
    EXPECT_EQ(layout.blocks.back().kind, BlockKind::File);
    const std::string result = Delete(bytes, {L"a"});
    EXPECT_EQ(Layout(result).blocks.size(), 2u);
}

TEST(RarStandinRar4, LargeSizesUseTheHighFields) {
    const std::string header = rarstandin::MakeRar4FileHeader(rarstandin::rar4::HeaderType::File, 0,
                                                              standintest::Member(L"big"), 0x100000005ull, 0);
    EXPECT_NE(rarstandin::LoadLe16(header, 3) & 0x100, 0);
    // The data would lie past the end of this file.
    EXPECT_EQ(ErrorCode(std::string(rarstandin::rar4::kSignature) + header + "12345"), 3);
}

TEST(RarStandinRar4, DamageIsAnErrorNotACrash) {
    const std::string good = standintest::Rar4Archive({{L"a.txt", "hello"}});
    std::string badCrc = good;
    badCrc[25] ^= 0x01;
    EXPECT_EQ(ErrorCode(badCrc), 3);
    EXPECT_EQ(ErrorCode(good.substr(0, good.size() - 10)), 3);
    EXPECT_EQ(ErrorCode(good.substr(0, 10)), 3);
    // A size field smaller than the common fields.
    std::string tiny =
        std::string(rarstandin::rar4::kSignature) +
        rarstandin::MakeRar4Header(rarstandin::rar4::HeaderType::Main, 0, std::string(6, '\0'));
    tiny += std::string("\x00\x00\x74\x00\x80\x03\x00", 7);
    EXPECT_EQ(ErrorCode(tiny), 3);
}

} // namespace
