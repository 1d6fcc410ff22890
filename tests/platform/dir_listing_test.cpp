#include "platform/dir_listing.h"
#include "platform/win32_error.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <set>

using platform::DirListing;
namespace attr = platform::attr;

namespace {

std::set<std::wstring> ListAll(const std::wstring& pattern, DWORD mask) {
    DirListing listing;
    std::set<std::wstring> names;
    for (auto name = listing.FirstName(pattern, mask); !name.empty(); name = listing.NextName()) {
        names.insert(name);
    }
    return names;
}

class DirListingTest : public ::testing::Test {
  protected:
    DirListingTest() : dir_(L"dir-listing") {
        testsupport::WriteBytes(dir_ / L"plain.rar", "x");
        testsupport::WriteBytes(dir_ / L"readonly.rar", "x");
        testsupport::SetAttributes(dir_ / L"readonly.rar", FILE_ATTRIBUTE_READONLY);
        testsupport::WriteBytes(dir_ / L"hidden.rar", "x");
        testsupport::SetAttributes(dir_ / L"hidden.rar", FILE_ATTRIBUTE_HIDDEN);
        testsupport::WriteBytes(dir_ / L"system.rar", "x");
        testsupport::SetAttributes(dir_ / L"system.rar", FILE_ATTRIBUTE_SYSTEM);
        testsupport::MakeDir(dir_ / L"folder.rar");
        testsupport::MakeDir(dir_ / L"hiddenfolder");
        testsupport::SetAttributes(dir_ / L"hiddenfolder", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    }
    testsupport::ScratchDir dir_;
};

} // namespace

TEST_F(DirListingTest, MaskZeroAndArchiveAdmitOrdinaryFilesOnly) {
    const std::set<std::wstring> files{L"plain.rar", L"readonly.rar"};
    EXPECT_EQ(ListAll(dir_ / L"*.rar", 0), files);
    EXPECT_EQ(ListAll(dir_ / L"*.rar", attr::Archive), files);
}

TEST_F(DirListingTest, DirectoryMaskAdmitsFoldersButNeverHiddenOrSystem) {
    const std::set<std::wstring> expected{L".", L"..", L"plain.rar", L"readonly.rar", L"folder.rar"};
    EXPECT_EQ(ListAll(dir_ / L"*.*", attr::Directory), expected);
    EXPECT_EQ(ListAll(dir_.path() + L"\\", attr::Directory), expected);
}

TEST_F(DirListingTest, WildcardMatchingIgnoresLetterCase) {
    testsupport::WriteBytes(dir_ / L"UPPER.RAR", "x");
    EXPECT_EQ(ListAll(dir_ / L"*.rar", 0).count(L"UPPER.RAR"), 1u);
    EXPECT_EQ(ListAll(dir_ / L"PLAIN.RAR", 0), std::set<std::wstring>{L"plain.rar"});
}

TEST_F(DirListingTest, NothingFoundIsTheEmptyName) {
    DirListing listing;
    EXPECT_EQ(listing.FirstName(dir_ / L"*.zip", 0), L"");
    EXPECT_EQ(listing.NextName(), L"");
    EXPECT_EQ(listing.FirstName(dir_ / L"missing\\*.rar", 0), L"");
    EXPECT_EQ(listing.FirstName(L"", attr::Directory), L"");
}

TEST_F(DirListingTest, MalformedPathRaises) {
    DirListing listing;
    EXPECT_THROW(listing.FirstName(dir_ / L"a|b\\*.rar", 0), platform::Win32Error);
    EXPECT_THROW(listing.FirstName(L"Z:\\bad<name>\\x", attr::Directory), platform::Win32Error);
}

TEST_F(DirListingTest, EntriesCarryAttributesAndAliases) {
    testsupport::WriteBytes(dir_ / L"a long name.rar", "x");
    DirListing listing;
    auto entry = listing.First(dir_ / L"a long name.rar", 0);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->name, L"a long name.rar");
    EXPECT_FALSE(entry->shortName.empty());
    EXPECT_EQ(entry->attributes & attr::Directory, 0u);
    EXPECT_FALSE(listing.Next().has_value());
}

TEST_F(DirListingTest, AttributeQuery) {
    EXPECT_NE(platform::GetAttributes(dir_ / L"folder.rar") & attr::Directory, 0u);
    EXPECT_NE(platform::GetAttributes(dir_ / L"readonly.rar") & attr::ReadOnly, 0u);
    EXPECT_THROW(platform::GetAttributes(dir_ / L"nothing-here"), platform::Win32Error);
}
