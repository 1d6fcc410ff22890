#!/bin/bash
# Real key presses and clicks at Brindle's window (xdotool): letters, Alt keys, Enter and the focus; during a
# run the window answers, shows progress and output, stops, asks on closing, and ended from outside leaves no
# process behind. What ran is read from the recording archiver beside the program.
set -euo pipefail
wine_run=$1 brindle=$2 fake_rar=$3 probe_exe=$4 work=$5

# A read-only archiver in a folder with a blank is found, and called by a path that names it.
program="$work/program files"
rm -rf "$work" && mkdir -p "$program" "$work/data/sub"
cp "$brindle" "$program/Brindle.exe"
cp "$fake_rar" "$program/Rar.exe" && chmod a-w "$program/Rar.exe"
printf x >"$work/data/a.rar"; printf x >"$work/data/sub/b.rar"
folder="Z:${work//\//\\}\\data"
calls="$program/rar-calls.log"

txtPath=101 cmdPath=102 chkSubPath=103 chkSaveBat=107 cmdExecute=110 txtOutput=112 cmdStop=113
probe() { "$wine_run" "$probe_exe" "$@" | tr -d '\r'; }
press() { xdotool key --clearmodifiers "$@"; sleep 0.7; }
click() { local x y; read -r x y < <(probe where "$1"); xdotool mousemove "$x" "$y" click 1; sleep 0.7; }
calls() { [ -f "$calls" ] && grep -c . "$calls" || echo 0; }
batch_written() { [ -f "$work/data/Brindle.BAT" ] && echo yes || echo no; }
logged() { probe text $txtOutput | grep -c -- "$1" || true; }
quick_answers() { [ "$(probe answers 1000)" -le 100 ] && echo yes || echo no; }
logged_stop_asked() { probe text $cmdStop | grep -c '立即结束' || true; }
alive() { kill -0 "$1" 2>/dev/null && echo yes || echo no; }
hold() { touch "$program/rar-holds"; }
release() { rm -f "$program/rar-holds"; }
failures=0
# expect <what> <expected> <command...>: the command must answer <expected> within 10 s. A run, a box
# or Wine handing the focus back (once the X server has told it the window is active again) can take a
# while on a busy machine; what should not happen at all shows in the later counts.
expect() {
    local what=$1 expected=$2 got
    shift 2
    for _ in $(seq 50); do got=$("$@"); [ "$got" = "$expected" ] && break; sleep 0.2; done
    if [ "$got" != "$expected" ]; then echo "FAIL: $what: got '$got', expected '$expected'"; failures=$((failures + 1)); fi; }
expect_focus() { expect "$1" "$2" probe focus; }
expect_default() { expect "$1" "$2 " probe default; }
# The folder picker is open, and Escape cancels it.
picker_opened_by() { expect "picker open by $1" 1 probe boxes; press Escape; expect "picker closed" 0 probe boxes; }

# Started by the probe, in a job that ends Brindle and all it started when the probe ends: here, or by
# ctest's kill of this script's processes on a timeout.
"$wine_run" "$probe_exe" run "Z:${program//\//\\}\\Brindle.exe" >/dev/null 2>&1 &
brindle=$!
trap 'kill "$brindle" 2>/dev/null || true; rm -f "$program/rar-holds"' EXIT
probe wait; sleep 1
expect_focus "focus when the window first shows" $txtPath

# A message box: Enter with an empty folder box, Enter again closes the box.
press Return; expect "message box for the empty folder" 1 probe boxes; press Return
expect_focus "focus after the message box" $txtPath
# The folder is typed after it: its letters e, s, c and b land in the folder box and press nothing.
# Enter then runs over the one archive of the folder: a letter lost from the folder would refuse the
# run, a ticked include-subfolders would add the second archive, a ticked only-batch would run none.
xdotool type --delay 40 "$folder"; sleep 0.7
expect "archiver calls after typing" 0 calls; press Return; expect "archiver calls after Enter" 1 calls
expect_focus "focus after the run" $txtPath

# Minimised and restored with the focus on Execute: plain letters do nothing.
press Tab Tab Tab Tab Tab
expect_focus "focus on Execute" $cmdExecute
probe minimize; sleep 0.7; probe restore; sleep 1
expect_focus "focus after minimise and restore" $cmdExecute; press e s c b
expect "archiver calls after plain e s c b" 1 calls
expect "no picker after plain b" 0 probe boxes

# The access keys work with Alt: Alt+S ticks include subfolders (so plain s had not), Alt+E runs over
# both archives.
press alt+s; press alt+e; expect "archiver calls after Alt+S and Alt+E" 3 calls
expect_focus "focus after the Alt+E run" $cmdExecute
# Alt+C ticks only-batch (so plain c had not): Enter writes the batch and runs nothing.
press alt+c; press Return; expect "archiver calls after a batch-only run" 3 calls
expect "a batch written by the batch-only run" yes batch_written
expect_focus "focus after the batch-only run" $chkSaveBat

# Alt+B opens the picker; after it, the focus is back on Browse, and plain e runs nothing.
press alt+b; picker_opened_by Alt+B
expect_focus "focus back on Browse after the picker" $cmdPath
press e; expect "archiver calls after the picker and plain e" 3 calls

# Enter presses the button that has the focus, and that button shows the default border, however the
# focus got there: given back after the picker, by Tab, by a click (which itself opens the picker).
expect_default "the default border on the focused Browse" $cmdPath
press Return; picker_opened_by "Enter on Browse"; press shift+Tab
expect_focus "focus in the folder box" $txtPath
expect_default "the default border back on Execute" $cmdExecute
press Tab; expect_default "the default border on Browse reached by Tab" $cmdPath
press Return; picker_opened_by "Enter on Browse reached by Tab"; click $chkSubPath
expect_default "the default border on Execute while a check box has the focus" $cmdExecute
click $cmdPath; picker_opened_by "a click on Browse"
expect_default "the default border on Browse after the click" $cmdPath
expect "archiver calls after Enter on Browse" 3 calls
# In the folder box Enter presses Execute, and the run is over the folder still there after each Cancel;
# with include subfolders unticked by the click above and only-batch by Alt+C, over one archive.
press alt+c; click $txtPath; press Return; expect "archiver calls after Enter in the folder box" 4 calls

# Keys and clicks made while a run holds the window start no second run: the archiver holds the run
# while they are made. Tab, pressed once the run has ended, is taken after them: once the focus has
# moved, they have all been handled.
hold; press Return; expect "the held run under way" 5 calls
expect "Execute disabled during the run" 0 probe enabled $cmdExecute
press Return; press alt+e; click $cmdExecute; release
expect "Execute enabled after the run" 1 probe enabled $cmdExecute
expect_focus "focus after the held run" $txtPath
press Tab; expect_focus "focus on Browse after the run" $cmdPath
expect "archiver calls after keys and clicks during a run" 5 calls

# During a run the window answers at once, its caption tells which archive of how many, and the output shows
# as it comes. The stop button lets the archive in progress finish and starts no other; nothing is left.
press alt+s; before=$(logged '^Deleting from '); hold; press alt+e
expect "the second held run under way" 6 calls
expect "the caption during the run" "Brindle - v0.1.14 - 1/2" probe caption
expect "output shown while the archiver works" $((before + 1)) logged '^Deleting from '
expect "answers within 100 ms during the run" yes quick_answers
click $cmdStop; release
expect "Execute enabled after the stopped run" 1 probe enabled $cmdExecute
expect "the stop in the log" 1 logged '^运行已停止，1 个压缩文件未处理。$'
expect "the caption after the run" "Brindle - v0.1.14" probe caption
expect "archiver calls after the stop" 6 calls
expect "no archiver left after the stop" 0 probe processes Rar.exe
expect "no batch left after the stop" no batch_written

# Closing during a run asks first: 否, the default, leaves the run going; 是 stops it, then closes.
hold; press alt+e; expect "the third held run under way" 7 calls; press alt+F4
expect "the question on closing during a run" 1 probe boxes
press Return; expect "the question answered with Enter" 0 probe boxes
expect "the run goes on after 否" 0 probe enabled $cmdExecute
press alt+F4; expect "the question on closing again" 1 probe boxes; press y
expect "the question answered with 是" 0 probe boxes
expect "the stop button showing that a stop was asked" 1 logged_stop_asked
release
expect "Brindle closed once the archive in progress finished" no alive "$brindle"
expect "archiver calls after closing" 7 calls
expect "no archiver left after closing" 0 probe processes Rar.exe

# Ended from outside during a run, as by the Task Manager: every process of the run ends with it.
"$wine_run" "$probe_exe" run "Z:${program//\//\\}\\Brindle.exe" "$folder" >/dev/null 2>&1 &
brindle=$!
probe wait; sleep 1; hold; press alt+e
expect "the run ended from outside under way" 8 calls; probe kill
expect "no archiver left after Brindle was ended" 0 probe processes Rar.exe
release
echo "keys: $failures failed checks"
[ "$failures" -eq 0 ]
