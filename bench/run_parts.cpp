// Where the only-batch run's time goes: each step of the run timed on its own, in the real window's
// process, over the search tree, beside a bare walk of the same tree.
#include "app/frm_main.h"
#include "app/startup.h"
#include "benchmarks.h"
#include "job/archive_finder.h"
#include "job/batch_file.h"
#include "job/list_file.h"
#include "platform/mod_function.h"
#include "stats.h"
#include "support.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

namespace {

void Part(const char* name, const std::vector<double>& times, const std::vector<double>& walk) {
    const std::string figure = std::string("only-batch run, part: ") + name;
    Row(figure.c_str(), SpreadOf(times), SpreadOf(walk), SpreadOf(Ratios(times, walk)), "report");
}

} // namespace

int RunParts(const std::wstring& root) {
    app::frmMain window(app::ProgramFolder());
    if (!window.Create(::GetModuleHandleW(nullptr))) {
        std::fprintf(stderr, "run parts: the window did not start (Rar.exe beside the bench?)\n");
        return 1;
    }
    window.Show(SW_SHOWNORMAL);
    PumpMessages();
    ::SendMessageW(window.Control(app::txtPath), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(root.c_str()));
    ::SendMessageW(window.Control(app::chkSubPath), BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(window.Control(app::chkSaveBat), BM_SETCHECK, BST_CHECKED, 0);
    job::JobState form;
    form.strRarExe = window.form().strRarExe;
    form.strListFile = job::JoinFolder(root, L"RARLIST.LST");
    form.strBatFile = job::JoinFolder(root, L"Brindle.BAT");

    std::vector<double> folder, search, list, batch, log, busy, execute, aliases, walk;
    for (int i = 0; i < Repetitions + 1; ++i) {
        folder.push_back(Seconds([&] { ModFunction::FolderExists(root); }));
        search.push_back(Seconds([&] {
            form.strFileList.clear();
            job::AutoListFiles(form, root, L"*.rar", true);
        }));
        list.push_back(Seconds([&] { job::WriteListFile(form); }));
        std::wstring why;
        batch.push_back(Seconds(
            [&] { job::CreatBatFile(form, form.strBatFile, job::ArchiveLines(form, L"*.htm"), why); }));
        log.push_back(
            Seconds([&] { window.WriteMessage(L"批处理文件：" + form.strBatFile + L" 已生成！"); }));
        busy.push_back(Seconds([&] {
            window.SetBusy(true);
            window.SetBusy(false);
        }));
        PumpMessages();
        execute.push_back(Seconds([&] { ::SendMessageW(window.Control(app::cmdExecute), BM_CLICK, 0, 0); }));
        PumpMessages();
        aliases.push_back(Seconds([&] { BareWalk(root, FindExInfoStandard); }));
        walk.push_back(Seconds([&] { BareWalk(root); }));
    }
    // The first round brought the tree into the caches; it is left out.
    for (auto* times : {&folder, &search, &list, &batch, &log, &busy, &execute, &aliases, &walk}) {
        times->erase(times->begin());
    }
    ::DeleteFileW(form.strBatFile.c_str());
    Part("folder test", folder, walk);
    Part("archive search", search, walk);
    Part("list file", list, walk);
    Part("batch", batch, walk);
    Part("log entry", log, walk);
    Part("busy and idle", busy, walk);
    Part("the whole run, Execute pressed in this process", execute, walk);
    Part("(bare walk asking for 8.3 aliases)", aliases, walk);
    return 0;
}

} // namespace bench
