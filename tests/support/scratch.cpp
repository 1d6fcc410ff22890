#include "scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

ScratchDir::ScratchDir(std::wstring_view name) {
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    path_ =
        WindowsPathFromEnv("BRINDLE_SCRATCH") + L"\\" + std::wstring(name) + L"-" + fs::path(test).wstring();
    RemoveTree(path_);
    MakeDir(path_);
}

void MakeDir(const std::wstring& path) {
    fs::create_directories(path);
}

void WriteBytes(const std::wstring& path, std::string_view bytes) {
    std::ofstream file(fs::path(path), std::ios::binary);
    if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
        throw std::runtime_error("cannot write " + ToUnixPath(path));
    }
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(fs::path(path), std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + ToUnixPath(path));
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void SetAttributes(const std::wstring& path, DWORD attributes) {
    if (!::SetFileAttributesW(path.c_str(), attributes)) {
        throw std::runtime_error("cannot set the attributes of " + ToUnixPath(path));
    }
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path) {
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(path, error)) {
        ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(path, error);
}

std::wstring ExecutableFolder() {
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\'));
}

std::string ToUnixPath(const std::wstring& windowsPath) {
    const auto text = fs::path(windowsPath.substr(windowsPath.size() >= 2 && windowsPath[1] == L':' ? 2 : 0))
                          .generic_u8string();
    return std::string(text.begin(), text.end());
}

std::wstring WindowsPathFromEnv(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr || *value != '/' ? std::wstring()
                                             : L"Z:" + fs::path(fs::u8path(value)).make_preferred().wstring();
}

} // namespace testsupport
