#pragma once
// The form state one run works on. The window owns one; tests make their own, with no window at all.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace job {

// An archive the run found but cannot name in the batch, and why.
struct SkippedArchive {
    std::wstring path; // the full long path
    std::wstring reason;
};

// A subfolder the search could not list, so that what lies in it was not searched, and the system's
// reason.
struct UnlistedFolder {
    std::wstring path; // the full long path, without a final '\'
    std::wstring reason;
};

struct JobState {
    // The archives found in the current run, each a short path followed by '|'.
    std::wstring strFileList;
    // Full path of the archive list: the chosen folder joined with RARLIST.LST.
    std::wstring strListFile;
    // Short path of Rar.exe in the program folder, set once at start-up.
    std::wstring strRarExe;
    // Full path of the clean-up batch: the chosen folder joined with Brindle.BAT.
    std::wstring strBatFile;
    // The archives of strFileList by their full long paths, in the same order, for the user to read.
    std::vector<std::wstring> archives;
    // Archives the current run found but cannot name in the batch.
    std::vector<SkippedArchive> skippedArchives;
    // Subfolders the current run could not list.
    std::vector<UnlistedFolder> unlistedFolders;
};

// The text without the characters of blanks at its ends: spaces for the lines of the archive list, spaces
// and tabs for the folder box.
std::wstring Trim(std::wstring_view text, std::wstring_view blanks);

// The folder as typed, made fit for joining: without blanks at its ends, without the pair of double quotes
// around it that Explorer's 复制为路径 adds, with '\' for '/', and a bare drive ("D:") as its root ("D:\").
std::wstring NormalizeFolder(std::wstring_view typed);

// The normalised folder as a full path, the one form a run uses for the search, its files and the
// batch: "sub", ".\sub" and "..\x" resolved against the current folder, "D:sub" against drive D's.
// Nothing when the system cannot make it full (an empty or malformed path): no such folder exists.
std::optional<std::wstring> AbsoluteFolder(const std::wstring& normalizedFolder);

// The folder a run works in, and what the system offers for it, decided once for the whole run.
struct RunFolder {
    std::wstring path;    // full, fit for joining
    bool network = false; // \\server\share\...: the interpreter refuses it as its current folder
    std::optional<std::wstring> shortForm; // the short form that leads back to it; never on a network share
};
RunFolder FolderToRun(std::wstring fullPath);

// The folder box's text as the full path of an existing folder, or nothing when it names none (empty,
// malformed, a drive that is not ready, a file, a hidden folder).
std::optional<std::wstring> ExistingFolder(std::wstring_view typed);

// The folder with a final '\', added unless it already ends with one.
std::wstring WithFinalSeparator(std::wstring folder);

// Joins a folder and a name with a '\' between them unless the folder already ends with one.
std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name);

} // namespace job
