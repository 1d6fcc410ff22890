#include "job/run_summary.h"

#include <cstdio>

namespace job {

namespace {

constexpr unsigned long Done = 0;
constexpr unsigned long NoMatch = 10;

bool Failed(const ArchiveOutcome& archive) {
    return archive.started &&
           (!archive.exitCode || (*archive.exitCode != Done && *archive.exitCode != NoMatch));
}

std::wstring Hex(unsigned long code) {
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"0x%08lX", code);
    return text;
}

std::wstring FailureReason(const ArchiveOutcome& archive) {
    if (!archive.exitCode) {
        return L"无法得知 Rar.exe 的退出代码";
    }
    return ExitCodeReason(*archive.exitCode);
}

void AppendList(std::wstring& text, const wchar_t* heading, const std::vector<std::wstring>& lines) {
    if (lines.empty()) {
        return;
    }
    text += L"\r\n";
    text += heading;
    for (const auto& line : lines) {
        text += L"\r\n  " + line;
    }
}

} // namespace

std::wstring ExitCodeReason(unsigned long code) {
    static const wchar_t* const reasons[] = {
        L"成功",
        L"警告（出现非致命错误）",
        L"致命错误",
        L"压缩文件已损坏（CRC 校验错误）",
        L"压缩文件已被锁定，无法修改",
        L"写入错误",
        L"打开文件错误",
        L"命令行错误",
        L"内存不足",
        L"无法创建文件",
        L"没有匹配的文件",
        L"密码错误",
    };
    if (code < std::size(reasons)) {
        return std::wstring(reasons[code]) + L"（退出代码 " + std::to_wstring(code) + L"）";
    }
    if (code == EndedByUserCode) {
        return L"已被用户中止（退出代码 255）";
    }
    return L"异常退出（退出代码 " + Hex(code) + L"）";
}

std::wstring SummaryMessage(const std::vector<ArchiveOutcome>& outcomes, bool stopped) {
    size_t deleted = 0, noMatch = 0, failed = 0, notProcessed = 0;
    std::vector<std::wstring> failures, skipped, gone;
    for (const auto& archive : outcomes) {
        if (!archive.started) {
            ++notProcessed;
            skipped.push_back(archive.path);
        } else if (Failed(archive)) {
            ++failed;
            failures.push_back(archive.path + L"：" + FailureReason(archive));
        } else if (*archive.exitCode == NoMatch) {
            ++noMatch;
        } else {
            ++deleted;
        }
        if (archive.gone) {
            gone.push_back(archive.path);
        }
    }
    std::wstring text = L"共 " + std::to_wstring(outcomes.size()) + L" 个压缩文件：删除了文件的 " +
                        std::to_wstring(deleted) + L" 个，没有匹配文件的 " + std::to_wstring(noMatch) +
                        L" 个，失败 " + std::to_wstring(failed) + L" 个，未处理" +
                        (stopped || notProcessed == 0 ? L"（已停止）" : L"（批处理提前结束）") +
                        std::to_wstring(notProcessed) + L" 个。";
    AppendList(text, L"失败的压缩文件：", failures);
    AppendList(text, L"未处理的压缩文件：", skipped);
    AppendList(text, L"处理后已不存在的压缩文件（其中的文件已全部删除）：", gone);
    return text;
}

std::wstring StoppedMessage(const std::vector<ArchiveOutcome>& outcomes, bool endedAtOnce) {
    size_t notProcessed = 0;
    std::wstring endedArchive;
    for (const auto& archive : outcomes) {
        if (!archive.started) {
            ++notProcessed;
        } else if (endedAtOnce && archive.exitCode == EndedByUserCode) {
            endedArchive = archive.path;
        }
    }
    std::wstring text = L"运行已停止，" + std::to_wstring(notProcessed) + L" 个压缩文件未处理。";
    if (!endedArchive.empty()) {
        text += L"\r\n正在处理的压缩文件已被立即结束：" + endedArchive +
                L"\r\n它的临时文件可能留在其所在的文件夹中。";
    }
    return text;
}

} // namespace job
