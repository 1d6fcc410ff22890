#include "job/archive_finder.h"

#include "job/wildcard.h"
#include "platform/ansi_text.h"
#include "platform/dir_listing.h"
#include "platform/file_identity.h"
#include "platform/short_path.h"
#include "platform/win32_error.h"

#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace job {

namespace {

namespace attr = platform::attr;

// How many entries of one folder answer to each name, long or short, compared without letter case.
class NameCounts {
  public:
    explicit NameCounts(const std::vector<platform::DirEntry>& entries) {
        for (const auto& entry : entries) {
            const std::wstring name = platform::FoldNameCase(entry.name);
            ++counts_[name];
            if (!entry.shortName.empty()) {
                const std::wstring alias = platform::FoldNameCase(entry.shortName);
                if (alias != name) {
                    ++counts_[alias];
                }
            }
        }
    }
    // An alias names its own entry only when no other entry of the folder answers to it. Windows keeps
    // aliases unique; Wine's hashed aliases can collide.
    bool IsUnique(const std::wstring& name) const {
        const auto found = counts_.find(platform::FoldNameCase(name));
        return found != counts_.end() && found->second == 1;
    }

  private:
    std::map<std::wstring, int> counts_;
};

// One component of a short path, built from the listing as the short-path call gives it: the alias
// where the entry has one, else the name as the file system holds it.
std::wstring ShortComponent(const platform::DirEntry& entry, const NameCounts& counts) {
    if (entry.shortName.empty()) {
        return entry.name;
    }
    return counts.IsUnique(entry.shortName) ? entry.shortName : entry.name;
}

class ArchiveSearch {
  public:
    // aliases: the starting folder's short form was verified, so the listing's aliases may name its
    // entries; otherwise every entry is named by its long name.
    ArchiveSearch(JobState& form, std::wstring start, std::wstring filter, bool searchSubDir, bool aliases)
        : form_(form), start_(std::move(start)), filter_(platform::FoldNameCase(std::move(filter))),
          searchSubDir_(searchSubDir), aliases_(aliases) {}

    // dir is the long path as the caller built it, ending in '\'; shortDir the path the batch names it
    // by, also ending in '\'; throughLink tells that dir was listed as a link, junction or mount point.
    bool SearchFolder(const std::wstring& dir, const std::wstring& shortDir, bool throughLink) {
        if (!SeenFirstTime(dir, throughLink)) {
            return true;
        }

        std::vector<platform::DirEntry> entries;
        bool listed = true;
        try {
            platform::DirListing listing;
            for (auto entry = listing.First(dir, attr::Any); entry; entry = listing.Next()) {
                entries.push_back(std::move(*entry));
            }
        } catch (const platform::Win32Error& error) {
            listed = false;
            // The starting folder's failure fails the whole search; a subfolder's is reported.
            if (dir != start_) {
                form_.unlistedFolders.push_back(
                    {dir.substr(0, dir.size() - 1), platform::SystemMessage(error.code())});
            }
        }

        const NameCounts counts(entries);
        struct Subfolder {
            std::wstring dir;
            std::wstring shortDir;
            bool throughLink;
        };
        std::vector<Subfolder> subfolders;
        for (const auto& entry : entries) {
            if (IsMatchingFile(entry)) {
                const std::wstring path = shortDir + Component(entry, counts);
                if (const auto reason = WhyUnnamable(path)) {
                    form_.skippedArchives.push_back({dir + entry.name, *reason});
                } else {
                    form_.strFileList += path + L"|";
                    form_.archives.push_back(dir + entry.name);
                }
            } else if (listed && searchSubDir_ && IsSubfolder(entry)) {
                subfolders.push_back({dir + entry.name + L"\\", shortDir + Component(entry, counts) + L"\\",
                                      (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
            }
        }
        if (!listed) {
            return false;
        }
        // Subfolders are searched only after this folder's listing has ended.
        for (const auto& subfolder : subfolders) {
            SearchFolder(subfolder.dir, subfolder.shortDir, subfolder.throughLink);
        }
        return true;
    }

  private:
    // A folder can be reached twice only through a link. Telling folders apart costs an open per folder,
    // so that starts with the first link; the folders searched before it are identified then.
    bool SeenFirstTime(const std::wstring& dir, bool throughLink) {
        if (!linkSeen_) {
            if (!throughLink) {
                searchedBeforeAnyLink_.push_back(dir);
                return true;
            }
            linkSeen_ = true;
            for (const auto& searched : searchedBeforeAnyLink_) {
                if (const auto identity = platform::IdentifyPath(searched)) {
                    visited_.insert(*identity);
                }
            }
            searchedBeforeAnyLink_ = std::vector<std::wstring>();
        }
        const auto identity = platform::IdentifyPath(dir);
        return !identity || visited_.insert(*identity).second;
    }

    bool IsMatchingFile(const platform::DirEntry& entry) const {
        if (!platform::AdmittedByMask(entry.attributes, attr::Archive)) {
            return false;
        }
        // The long name only: the system's own search would match the 8.3 alias too, and take
        // "备份.rar_old", whose alias ends in .RAR, for "*.rar".
        return WildcardMatch(filter_, platform::FoldNameCase(entry.name));
    }

    static bool IsSubfolder(const platform::DirEntry& entry) {
        return (entry.attributes & attr::Directory) != 0 &&
               platform::AdmittedByMask(entry.attributes, attr::Directory) && entry.name != L"." &&
               entry.name != L"..";
    }

    std::wstring Component(const platform::DirEntry& entry, const NameCounts& counts) const {
        return aliases_ ? ShortComponent(entry, counts) : entry.name;
    }

    // Why no batch line can carry this path unchanged, or nothing when one can.
    static std::optional<std::wstring> WhyUnnamable(const std::wstring& path) {
        if (path.back() == L' ') {
            // Reading the list line back would trim it.
            return L"文件名以空格结尾";
        }
        if (!platform::TryToBatchText(path)) {
            return L"路径含有当前代码页无法表示的字符";
        }
        return std::nullopt;
    }

    JobState& form_;
    std::wstring start_;
    std::wstring filter_;
    bool searchSubDir_;
    bool aliases_;
    bool linkSeen_ = false;
    std::vector<std::wstring> searchedBeforeAnyLink_;
    std::set<platform::FileIdentity> visited_;
};

} // namespace

bool AutoListFiles(JobState& form, const RunFolder& folder, std::wstring FileFilter, bool SearchSubDir) {
    const std::wstring dir = WithFinalSeparator(folder.path);
    // Where the system gives no short form (a network share, a volume without 8.3 names), archives are
    // named by their long paths.
    ArchiveSearch search(form, dir, std::move(FileFilter), SearchSubDir, folder.shortForm.has_value());
    return search.SearchFolder(dir, WithFinalSeparator(folder.shortForm.value_or(dir)), false);
}

bool AutoListFiles(JobState& form, std::wstring sDirName, std::wstring FileFilter, bool SearchSubDir) {
    return AutoListFiles(form, FolderToRun(std::move(sDirName)), std::move(FileFilter), SearchSubDir);
}

} // namespace job
