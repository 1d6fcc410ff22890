#include "job/batch_launch.h"

#include "job/job_state.h"
#include "job/refusal.h"
#include "platform/short_path.h"

#include <windows.h>

namespace job {

namespace {

// The interpreter named outright, so no cmd.exe elsewhere runs in its place, and its settings fixed on
// the command line, which wins over the registry: /d keeps AutoRun commands out, /e:on keeps the
// command extensions the line relies on, /v:off stops delayed expansion from taking '!' out of a
// pattern or a path.
std::wstring Interpreter() {
    return L"\"" + platform::SystemFilePath(L"cmd.exe") + L"\" /d /e:on /v:off /c ";
}

std::wstring TooLong(const std::wstring& folder) {
    return L"文件夹：" + folder + L" 的路径太长，无法在其中运行批处理文件，请检查！";
}

} // namespace

BatchLaunch LaunchFor(const RunFolder& run) {
    const std::wstring& folder = run.path;
    if (run.network) {
        // The interpreter refuses a network folder as its current folder and would start in the Windows
        // folder instead; so it starts in the system folder and runs the batch by its full path, between
        // double quotes, which the outer pair keeps ("" "). On this line '%' would expand a variable.
        const std::wstring batch = JoinFolder(folder, L"Brindle.BAT");
        if (folder.find(L'%') != std::wstring::npos) {
            throw Refusal{L"网络文件夹：" + folder +
                          L" 的路径含有“%”，无法在其中运行批处理文件。请先把它映射为一个驱动器号（例如 "
                          L"Z:），再选择该驱动器中的文件夹。"};
        }
        if (batch.size() >= MAX_PATH) {
            throw Refusal{TooLong(folder)};
        }
        return {Interpreter() + L"\"\"" + batch + L"\"\"", platform::SystemFilePath(L"")};
    }
    // Elsewhere the batch runs by its bare name in its folder: nothing of the folder's path reaches the
    // command line. ".\" keeps the search to that folder, also where NoDefaultCurrentDirectoryInExePath
    // would send it along the PATH. A path too long to be a current folder starts in its short form.
    const std::wstring command = Interpreter() + L".\\Brindle.BAT";
    if (folder.size() + 1 < MAX_PATH) {
        return {command, folder};
    }
    if (run.shortForm && run.shortForm->size() + 1 < MAX_PATH) {
        return {command, *run.shortForm};
    }
    throw Refusal{TooLong(folder)};
}

} // namespace job
