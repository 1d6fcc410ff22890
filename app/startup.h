#pragma once
// The window-free parts of start-up: where the archiver must lie, how its presence is tested, and the
// texts start-up shows.

#include <array>
#include <string>

namespace app {

inline constexpr wchar_t ProgramTitle[] = L"Brindle";

// The folder of the running executable; it ends with '\' only at a drive root.
std::wstring ProgramFolder();

// The archiver's path in programFolder, with no doubled '\' at a drive root.
std::wstring ArchiverPath(const std::wstring& programFolder);

// True when path names an ordinary file: hidden and system files and folders do not count.
bool ArchiverPresent(const std::wstring& path);

// The path that the batch calls the archiver by: its short path, or the long path where the volume has
// no short form (the batch then quotes it), so that a batch line never starts with a bare " d ".
std::wstring ArchiverCommandPath(const std::wstring& path);

// The two-line message shown when the archiver is missing.
std::wstring ArchiverMissingText();

// "Brindle - v0.1.14", from the three version numbers.
std::wstring WindowCaption();

// The pattern list, in the order it is offered.
const std::array<const wchar_t*, 5>& PatternEntries();

} // namespace app
