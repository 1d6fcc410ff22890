#pragma once
// Real folders and files for tests, under the build's scratch folder (reached from Wine as Z:\...).

#include <windows.h>

#include <string>
#include <string_view>

namespace testsupport {

// A folder of its own for one test (named after it too, as ctest runs tests side by side), emptied when made.
class ScratchDir {
  public:
    explicit ScratchDir(std::wstring_view name);
    const std::wstring& path() const noexcept { return path_; }
    std::wstring operator/(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

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
// The Unix path that Wine maps a Z: path to.
std::string ToUnixPath(const std::wstring& windowsPath);
// A Unix path from the environment (as ctest passes it), in Windows form through Z:; empty when unset.
std::wstring WindowsPathFromEnv(const char* name);

} // namespace testsupport
