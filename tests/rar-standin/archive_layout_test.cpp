#include "archive_builders.h"

#include <gtest/gtest.h>

namespace {

using namespace standintest;
using rarstandin::BlockKind;
using rarstandin::RarFormat;

TEST(RarStandinLayout, ReadsWhatTheWritersMake) {
    const Members members{{L"dir\\", ""}, {L"dir\\中文.txt", "abc"}, {L"b", ""}};
    const std::pair<RarFormat, std::string> archives[] = {
        {RarFormat::Rar4, Rar4Archive(members)},
        {RarFormat::Rar5, Rar5Archive(members)},
    };
    for (const auto& [format, bytes] : archives) {
        SCOPED_TRACE(format == RarFormat::Rar4 ? "RAR 4" : "RAR 5");
        const auto layout = Layout(bytes);
        EXPECT_EQ(layout.format, format);
        EXPECT_EQ(MemberNames(layout), (std::vector<std::wstring>{L"dir", L"dir\\中文.txt", L"b"}));
        ASSERT_EQ(layout.blocks.size(), 5u);
        EXPECT_TRUE(layout.blocks[1].directory);
        EXPECT_FALSE(layout.blocks[2].directory);
        EXPECT_FALSE(layout.volume || layout.locked || layout.solid || layout.encryptedHeaders);
        EXPECT_EQ(layout.blocks.back().kind, BlockKind::End);
    }
}

TEST(RarStandinLayout, DamageIsAnErrorNotACrash) {
    const std::string good4 = Rar4Archive({{L"a.txt", "hello"}});
    const std::string good5 = Rar5Archive({{L"a.txt", "hello"}});
    std::string badCrc4 = good4;
    badCrc4[25] ^= 0x01;
    std::string badCrc5 = good5;
    badCrc5[20] ^= 0x01;
    const std::string main4 = std::string(rar4::kSignature) +
                              rarstandin::MakeRar4Header(rar4::HeaderType::Main, 0, std::string(6, '\0'));
    const std::string bigMember4 =
        rarstandin::MakeRar4FileHeader(rar4::HeaderType::File, 0, Member(L"big"), 0x100000005ull, 0);
    const std::pair<const char*, std::string> cases[] = {
        {"RAR 4 header CRC wrong", badCrc4},
        {"RAR 4 cut inside the data", good4.substr(0, good4.size() - 10)},
        {"RAR 4 cut inside a header", good4.substr(0, 10)},
        {"RAR 4 header size below the common fields", main4 + std::string("\x00\x00\x74\x00\x80\x03\x00", 7)},
        {"RAR 4 data past the end by its high size", std::string(rar4::kSignature) + bigMember4 + "12345"},
        {"RAR 5 header CRC wrong", badCrc5},
        {"RAR 5 cut inside the data", good5.substr(0, good5.size() - 12)},
        {"RAR 5 cut inside a header", good5.substr(0, 11)},
        {"RAR 5 header size past the end",
         std::string(rar5::kSignature) + std::string("\0\0\0\0\xFF\xFF\x7F", 7)},
        {"RAR 5 header size never ends",
         std::string(rar5::kSignature) + std::string(4, '\0') + "\x80\x80\x80\x80"},
    };
    for (const auto& [what, bytes] : cases) {
        EXPECT_EQ(ReadErrorCode(bytes), rarstandin::kExitBadChecksum) << what;
    }
}

} // namespace
