#pragma once
// The benchmarks bench_brindle runs, one file each; each prints its rows of the performance table.

#include <string>

namespace bench {

int MakeTree(const std::wstring& root);
int Search(const std::wstring& root);
int Capture(const std::wstring& writer);
int CapturePeak(const std::wstring& writer, size_t mib, bool textReader);
int Log();
int WindowRun(const std::wstring& root, const std::wstring& brindleExe);
int RunParts(const std::wstring& root);
int WholeRun(const std::wstring& root, const std::wstring& rar);
int Startup(const std::wstring& brindle, const std::wstring& empty, const std::wstring& designed);
int StartupParts(const std::wstring& parts, const std::wstring& empty, const std::wstring& designed);
int Idle(const std::wstring& brindle);

} // namespace bench
