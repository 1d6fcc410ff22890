#include "archive_builders.h"

#include "rar4_name.h"

#include <gtest/gtest.h>

namespace {

using namespace standintest;
using rar4::HeaderType;

TEST(RarStandinRar4, NamesDecode) {
    // High byte 0x30, flags 00 01 10 11: code 0 'A', code 1 U+3042, code 2 U+1234, code 3 two plain bytes
    // ("\x10\x11") under the high byte, corrected by 1.
    const std::string packed("\x30\x1B\x41\x42\x34\x12\x80\x01", 8);
    const std::pair<std::string, bool> fields[] = {
        {std::string("xxx\x10\x11\0", 6) + packed, true},
        // Code 3 without correction copies the plain bytes.
        {std::string("abc\0\0\xC0\x01", 7), true},
        {"dir\\\xE4\xB8\xAD.txt", false},
        {"dir/a.txt", false},
    };
    const std::wstring names[] = {L"A\x3042\x1234\x3011\x3012", L"abc", L"dir\\中.txt", L"dir\\a.txt"};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        EXPECT_EQ(rarstandin::DecodeRar4Name(fields[i].first, fields[i].second), names[i]);
    }
}

TEST(RarStandinRar4, DeletingDropsRecoveryAndChildrenAndClearsAuthenticity) {
    const auto service = [](const std::wstring& name, std::uint16_t flags, const std::string& data) {
        return Rar4Block(HeaderType::Service, name, flags, data);
    };
    const std::string main =
        rarstandin::MakeRar4Header(HeaderType::Main, rar4::kMainRecovery | rar4::kMainAuthenticity,
                                   std::string("\x01\x00\x10\x20\x30\x40", 6));
    const std::string oldRecovery = rarstandin::MakeRar4Header(HeaderType::OldRecovery, rar4::kLongBlock,
                                                               std::string("\x03\x00\x00\x00", 4)) +
                                    "rec";
    const std::string end = rarstandin::MakeRar4Header(HeaderType::End, rar4::kSkipIfUnknown, {});
    const std::string b = Rar4Block(HeaderType::File, L"b.txt", 0, "b") +
                          service(L"STM", rar4::kServiceChild, "child of b") + service(L"CMT", 0, "comment");
    const std::string bytes = std::string(rar4::kSignature) + main +
                              Rar4Block(HeaderType::File, L"a.txt", 0, "a") +
                              service(L"STM", rar4::kServiceChild, "child of a") + b +
                              service(L"RR", 0, "recovery") + oldRecovery + end;
    const std::string expectedMain =
        rarstandin::MakeRar4Header(HeaderType::Main, rar4::kMainAuthenticity, std::string(6, '\0'));
    EXPECT_EQ(Delete(bytes, {L"A.TXT"}), std::string(rar4::kSignature) + expectedMain + b + end);

    // Without an end block.
    const std::string noEnd = Rar4Archive({{L"a", "x"}, {L"b", "y"}});
    EXPECT_EQ(MemberNames(Layout(Delete(noEnd.substr(0, noEnd.size() - rar4::kCommonSize), {L"a"}))),
              std::vector<std::wstring>{L"b"});
}

} // namespace
