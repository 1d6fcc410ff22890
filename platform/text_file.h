#pragma once
// Sequential text files in the ANSI code page with CR LF line ends, and file deletion. Every path goes to
// the system through PathForFileCall, so a file past MAX_PATH is reached too.

#include "platform/unique_handle.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

class TextFileWriter {
  public:
    // Creates the file, or empties an existing one; throws Win32Error when it cannot be opened.
    explicit TextFileWriter(std::wstring path);
    // Closes the file, keeping what was written; errors are lost here, so call Close to see them.
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // Writes text in the ANSI code page; throws Win32Error when a character has no ANSI form.
    void Write(std::wstring_view text);
    void WriteLine(std::wstring_view line);
    void Close();

  private:
    void Flush();

    std::wstring path_;
    unique_handle file_;
    std::string pending_;
};

// A working file held open from its creation, or from the moment it was checked, to its removal: other
// programs may read it (the interpreter reads a batch anew for each line) but not write, rename or delete
// it meanwhile, so what runs is what was written.
class HeldFile {
  public:
    HeldFile() = default;
    // Creates path with text in the ANSI code page and holds it; throws Win32Error when it cannot.
    static HeldFile Create(const std::wstring& path, std::wstring_view text);
    // Holds the existing file path and reads it whole (content()); throws Win32Error when it cannot.
    static HeldFile Hold(const std::wstring& path);

    const std::string& content() const noexcept { return content_; }
    // Deletes the file and lets go of it; throws Win32Error when it cannot.
    void Remove();
    // Lets go of the file, which stays.
    void Release() noexcept { file_.reset(); }

  private:
    std::wstring path_;
    unique_handle file_;
    bool deletable_ = false; // goes when the handle closes
    std::string content_;
};

// True when another program holds path open in a way that keeps it from being deleted, as a run holds
// its working files.
bool HeldByAnother(const std::wstring& path);

// Deletes a file; throws Win32Error when it cannot, as for a read-only file.
void RemoveFile(const std::wstring& path);
// Puts the file from in the place of the file to, in one step, so that to is either its old self or
// complete; throws Win32Error when it cannot, as when to is read-only.
void ReplaceWith(const std::wstring& from, const std::wstring& to);
// True when the path names an existing file or folder.
bool PathExists(const std::wstring& path);

} // namespace platform
