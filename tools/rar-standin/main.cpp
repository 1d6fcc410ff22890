// Rar.exe, the stand-in: see commands.h.

#include "commands.h"
#include "console_out.h"

int main() {
    rarstandin::ConsoleOutput out;
    return rarstandin::RunCommand(rarstandin::ProcessArguments(), out);
}
