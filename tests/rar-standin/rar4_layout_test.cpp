#include "archive_builders.h"

#include "crc32.h"
#include "rar4_name.h"

#include <gtest/gtest.h>

namespace {

using namespace standintest;
using rar4::HeaderType;
using rarstandin::BlockKind;

std::string MemberBlock(HeaderType type, const std::wstring& name, std::uint16_t flags,
                        const std::string& data) {
    return rarstandin::MakeRar4FileHeader(type, flags, Member(name), data.size(), rarstandin::Crc32(data)) +
           data;
}

std::string FileBlock(const std::wstring& name, const std::string& data) {
    return MemberBlock(HeaderType::File, name, 0, data);
}

std::string Service(const std::wstring& name, std::uint16_t flags, const std::string& data) {
    return MemberBlock(HeaderType::Service, name, flags, data);
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

TEST(RarStandinRar4, EndBlockIsTheArchiversOwn) {
    EXPECT_EQ(rarstandin::MakeRar4Header(HeaderType::End, rar4::kSkipIfUnknown, {}),
              std::string("\xC4\x3D\x7B\x00\x40\x07\x00", 7));
}

TEST(RarStandinRar4, DeletingDropsRecoveryAndChildrenAndClearsAuthenticity) {
    const std::string main =
        rarstandin::MakeRar4Header(HeaderType::Main, rar4::kMainRecovery | rar4::kMainAuthenticity,
                                   std::string("\x01\x00\x10\x20\x30\x40", 6));
    const std::string oldRecovery = rarstandin::MakeRar4Header(HeaderType::OldRecovery, rar4::kLongBlock,
                                                               std::string("\x03\x00\x00\x00", 4)) +
                                    "rec";
    const std::string end = rarstandin::MakeRar4Header(HeaderType::End, rar4::kSkipIfUnknown, {});
    const std::string bytes = std::string(rar4::kSignature) + main + FileBlock(L"a.txt", "aaa") +
                              Service(L"STM", rar4::kServiceChild, "child of a") + FileBlock(L"b.txt", "b") +
                              Service(L"STM", rar4::kServiceChild, "child of b") +
                              Service(L"CMT", 0, "comment") + Service(L"RR", 0, "recovery") + oldRecovery +
                              end;
    const std::string result = Delete(bytes, {L"A.TXT"});
    const std::string expectedMain =
        rarstandin::MakeRar4Header(HeaderType::Main, rar4::kMainAuthenticity, std::string(6, '\0'));
    EXPECT_EQ(result, std::string(rar4::kSignature) + expectedMain + FileBlock(L"b.txt", "b") +
                          Service(L"STM", rar4::kServiceChild, "child of b") + Service(L"CMT", 0, "comment") +
                          end);
}

TEST(RarStandinRar4, NoEndBlockIsFine) {
    std::string bytes = Rar4Archive({{L"a", "x"}, {L"b", "y"}});
    bytes.resize(bytes.size() - rar4::kCommonSize);
    EXPECT_EQ(Layout(bytes).blocks.back().kind, BlockKind::File);
    EXPECT_EQ(MemberNames(Layout(Delete(bytes, {L"a"}))), std::vector<std::wstring>{L"b"});
}

} // namespace
