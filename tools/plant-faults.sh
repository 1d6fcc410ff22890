#!/bin/bash
# Plants realistic faults in the program one at a time, in a copy of this tree, and tells which tests
# catch each: every fault must fail at least one test. Usage: tools/plant-faults.sh [work folder]
# (PLANT_ONLY=<regex> plants only the faults whose names match.)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/brindle-plant}
rm -rf "$work/src" && mkdir -p "$work/src" && git -C "$root" ls-files -z | (cd "$root" && xargs -0 cp --parents -t "$work/src")
cd "$work/src"
source tools/wine-env.sh
cmake --preset x64-debug -DBRINDLE_FIXTURES_DIR="${BRINDLE_FIXTURES_DIR:-$root/../shared/fixtures/rar}" >/dev/null
cmake --build --preset x64-debug -j2 >/dev/null
wine_start "$PWD/build/x64-debug"
trap wine_stop EXIT
all='^(MainWindow|RunThroughTheWindow|ArchiverTroubleThroughTheWindow|StartUp|AutoListFiles|CreatBatFile|ArchiveLines|BatchText|CommandOutput|AnsiText|Wildcard|LogEntryText|RunSummary)\.'
keys="$all|^EndToEnd.KeysAndClicks"
rules='^(AutoListFiles|RunFolder|PatternRules|PathForFileCall|GrowToFit)\.'
# name # file # perl substitution (applied to the whole file) # tests to run
faults=(
  "pattern ^ escape dropped#job/batch_text.cpp#s/result \+= L'\^';//#$all"
  "hidden archives admitted#job/archive_finder.cpp#s/AdmittedByMask\(entry.attributes, attr::Archive\)/AdmittedByMask(entry.attributes, attr::Any)/#$all"
  "archives matched through their aliases#job/archive_finder.cpp#s/return WildcardMatch\(filter_, platform::FoldNameCase\(entry.name\)\);/return WildcardMatch(filter_, platform::FoldNameCase(entry.name)) || WildcardMatch(filter_, platform::FoldNameCase(entry.shortName));/#$all"
  "unlistable subfolder left unreported#job/archive_finder.cpp#s/if \(dir != start_\)/if (false)/#$rules"
  "long paths handed over plain#platform/file_path.cpp#s/if \(path.size\(\) < LongPathFrom\)/if (true)/#$rules"
  "listing takes the plain long path#platform/dir_listing.cpp#s/PathForFileCall\(pattern_\)/pattern_/#$rules"
  "folder pasted in quotes taken as typed#job/job_state.cpp#s/folder.front\(\) == L'\"'/false/#$rules"
  "relative folder left relative#job/job_state.cpp#s/return platform::FullPathName\(normalizedFolder\);/return normalizedFolder;/#$rules"
  "pattern of switches only runs unasked#job/batch_text.cpp#s/if \(anyMask\) \{/if (true) {/#$rules"
  "mask with a folder part not asked about#job/batch_text.cpp#s/for \(const wchar_t c : mask.substr/return slash == std::wstring_view::npos;\n    for (const wchar_t c : mask.substr/#$rules"
  "control characters let through#job/batch_text.cpp#s/return true;(\n        \}\n    \}\n    return false;\n\}\n\nstd::wstring QuoteIfNeeded)/return false;\1/#$rules"
  "aliases trusted without a verified folder#job/archive_finder.cpp#s/return aliases_ \? ShortComponent\(entry, counts\) : entry.name;/return ShortComponent(entry, counts);/#$all"
  "output of a short read lost#platform/command_runner.cpp#s/(listener.OnOutput\(platform::FromAnsi\(std::string_view\(carried\))/if (notice.output.size() == 32768) \1/#$all"
  "character split across reads#platform/ansi_text.cpp#s/return run % 2 == 0 \? bytes.size\(\) : bytes.size\(\) - 1;/return bytes.size();/#$all|^AnsiText"
  "batch run by its unquoted path#job/run_driver.cpp#s/GetCommandOutput\(plan.launch->commandLine, /GetCommandOutput(form.strBatFile, /#$all"
  "batch run in the wrong folder#job/run_driver.cpp#s/plan.launch->currentFolder, watcher\)/std::wstring(), watcher)/#$all"
  "network folder made the current folder#job/batch_launch.cpp#s/if \(run.network\)/if (false)/#$all"
  "typed folder passed to the finder#job/run_driver.cpp#s/RunFolder run = FolderToRun\(\*folder\);/RunFolder run = FolderToRun(inputs.folder);/#$all"
  "pattern check skipped#job/run_driver.cpp#s/(void CheckPattern\(const std::wstring& rarExe, const std::wstring& pattern\) \{)/\1 if (!rarExe.empty()) return;/#$all"
  "line length counted in characters#job/batch_text.cpp#s/return bytes && bytes->size\(\) <= MaxBatchLineLength;/return bytes.has_value();/#$all"
  "per-archive line refusal dropped#job/batch_file.cpp#s/if \(!FitsOnABatchLine\(lines.back\(\)\)\)/if (false)/#$all"
  "interpreter's code page ignored#platform/ansi_text.cpp#s/ansiCodePage == oemCodePage \|\|/true ||/#$all"
  "whole-archive question skipped#job/run_driver.cpp#s/WhatEmptiesWholeArchives\(inputs.pattern\)/std::optional<EmptyingPattern>()/#$all"
  "working files left open to others#platform/text_file.cpp#s/GENERIC_READ, FILE_SHARE_READ, nullptr,/GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,/#$all|^HeldFile"
  "relative folder left relative#job/job_state.cpp#s/const auto folder = AbsoluteFolder\(NormalizeFolder\(typed\)\);/const auto folder = std::optional<std::wstring>(NormalizeFolder(typed));/#$all"
  "question answered yes by Enter#app/frm_main_buttons.cpp#s/ \| MB_DEFBUTTON2//#$all"
  "batch written in place#job/batch_file.cpp#s/sBatFile \+ L\".new\"/sBatFile/#$all"
  "log entry at the start of the box#app/log_box.cpp#s/EditSetSel\(edit, length, length\)/EditSetSel(edit, 0, 0)/#$all"
  "log entry without its closing rule#job/log_entry.cpp#s/return L\"\\\\r\\\\n\" \+ Rule;/return std::wstring();/#$all"
  "log box left hidden after an append#app/log_box.cpp#s/::DefWindowProcW\(edit, WM_SETREDRAW, TRUE, 0\);//#$all"
  "NUL stand-in dropped#job/log_entry.cpp#s/std::replace\(text.begin[^;]*;//#$all"
  "subfolders searched unasked#job/archive_finder.cpp#s/listed && searchSubDir_ && IsSubfolder/listed && IsSubfolder/#$all"
  "batch-only run runs the batch#job/run_driver.cpp#s/inputs.batchOnly \? std::nullopt : //#$all"
  "batch left behind after the run#job/run_driver.cpp#s/(RunBatch\(plan, form, events, control\);)\n\s*files.RemoveBatch\(\);/\1/#$all"
  "batch failure logged without its reason#job/run_driver.cpp#s/ 生成失败！\\\\r\\\\n\" \\+ why/ 生成失败！\"/#$all"
  "picked folder cut to a 260-byte buffer#platform/folder_picker.cpp#s/return std::wstring\(path.get\(\)\);/return std::wstring(path.get()).substr(0, 130);/#$all"
  "child left without an input#platform/child_process.cpp#s/startup.hStdInput = input.get\(\);/startup.hStdInput = nullptr;/#^ArchiverTrouble"
  "stop ends the archive in progress#job/run_control.cpp#s/child_->EndChild\(\);/child_->EndAll(1);/#$keys"
  "stop starts the next archive anyway#app/frm_main_run.cpp#s/run_->RequestStop\(\);//#$keys"
  "closing during a run asks nothing#app/frm_main.cpp#s/if \(run_\) \{\n\s*OnCloseDuringRun\(\);\n\s*return 0;\n\s*\}//#$keys"
  "processes of the run outlive the program#platform/child_process.cpp#s/ \| JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE//#$keys"
  "any process of the run taken for an archive#job/run_driver.cpp#s/if \(!IsArchiver\(image\) \|\| /if (/#$all|^EndToEnd.Run"
  "exit code not taken#job/run_driver.cpp#s/outcomes_\[i\].exitCode = exitCode \? [^;]*;/outcomes_[i].exitCode = 0;/#$all|^EndToEnd.Run"
  "Cancel empties the folder box#app/frm_main_buttons.cpp#s/if \(!folder.empty\(\)\) \{/{/#$all"
  "picker opened at the desktop#app/frm_main_buttons.cpp#s/hwnd_, FolderToOpenAt\(\)\)/hwnd_, std::wstring())/#$all"
  "dropped file taken as the folder#app/given_folder.cpp#s/ \|\| \(attributes & FILE_ATTRIBUTE_DIRECTORY\) != 0\)/ || true)/#$all"
  "Enter on Browse runs#app/frm_main.cpp#s/focus == Control\(cmdPath\) \? cmdPath : //#$keys"
  "WM_CHAR filter dropped#app/dialog_keys.cpp#s/message.message == WM_CHAR/false/#$keys"
  "activation left to the default#app/frm_main.cpp#s/OnActivate\(LOWORD\(wParam\) != WA_INACTIVE, HIWORD\(wParam\) != 0\);\n\s*return 0;/break;/#$keys"
)
printf '| fault | caught by |\n|---|---|\n'
missed=0
for fault in "${faults[@]}"; do
    IFS='#' read -r name file change tests <<<"$fault"
    [[ "$name" =~ ${PLANT_ONLY:-.} ]] || continue
    cp "$file" "$file.orig"
    perl -0pi -e "$change" "$file"
    if cmp -s "$file" "$file.orig"; then caught="(the fault did not apply)"; missed=1
    elif ! cmake --build --preset x64-debug -j2 >/dev/null 2>&1; then caught="(does not build)"; missed=1
    else
        caught=$( (ctest --preset x64-debug -j2 -R "$tests" -LE long 2>&1 || true) | sed -n 's/^\s*[0-9]* - \(\S*\) (.*)$/\1/p' | paste -sd' ')
        [ -n "$caught" ] || { caught="NOT CAUGHT"; missed=1; }
    fi
    mv "$file.orig" "$file" && touch "$file" # newer than the faulty build, so it is built again
    echo "| $name | $caught |"
done
cmake --build --preset x64-debug -j2 >/dev/null
exit $missed
