// Brindle's start-up, step by step as wWinMain takes it, in a program made like Brindle.exe (same
// libraries, same manifest and resources). It writes the moment each step ends and closes at once.
#include "app/frm_main.h"
#include "app/startup.h"
#include "startup_clock.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    double moments[4];
    moments[0] = bench::SecondsSinceProcessStart();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    moments[1] = bench::SecondsSinceProcessStart();
    app::frmMain window(app::ProgramFolder());
    if (!window.Create(instance)) {
        return 1;
    }
    moments[2] = bench::SecondsSinceProcessStart();
    window.Show(showCommand);
    moments[3] = bench::SecondsSinceProcessStart();
    bench::WriteParts(moments, 4);
    return 0;
}
