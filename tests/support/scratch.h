#pragma once
// Real folders and files for tests, under the build's scratch folder (reached from Wine as Z:\...).

#include <windows.h>

#include <string>
#include <string_view>

namespace testsupport {

// The scratch root in Windows form, from BRINDLE_SCRATCH (a Unix path) or the temp folder.
std::wstring ScratchRoot();

// A folder of its own for one test, emptied when made.
class ScratchDir {
  public:
    explicit ScratchDir(std::wstring_view name);
    const std::wstring& path() const noexcept { return path_; }
    // path() joined with a relative name.
    std::wstring operator/(std::wstring_view name) const;

  private:
    std::wstring path_;
};

void MakeDir(const std::wstring& path);
void WriteBytes(const std::wstring& path, std::string_view bytes);
std::string ReadBytes(const std::wstring& path);
void SetAttributes(const std::wstring& path, DWORD attributes);
bool Exists(const std::wstring& path);
// Removes a tree without following links out of it.
void RemoveTree(const std::wstring& path);
// The folder of the running test executable, without a final '\'.
std::wstring ExecutableFolder();
// The Unix path that Wine maps a Windows path to (for tools run beside the test), via Z:.
std::string ToUnixPath(const std::wstring& windowsPath);

} // namespace testsupport

namespace testsupport {
// A Unix path from the environment (as ctest passes it), in Windows form through Z:; empty when unset.
std::wstring WindowsPathFromEnv(const char* name);
} // namespace testsupport
