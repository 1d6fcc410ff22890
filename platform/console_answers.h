#pragma once
// Gives a console child "no more input" whenever it reads its console: the child's console (one with no
// window, made for it) always holds one line of Ctrl+Z and Enter, which a console read in line mode takes
// as end of input. This process attaches to that console to write the line, and stays attached only while
// the child runs.

#include "platform/unique_handle.h"

#include <windows.h>

namespace platform {

class ConsoleAnswers {
  public:
    explicit ConsoleAnswers(DWORD processId);
    ~ConsoleAnswers() { Stop(); }
    ConsoleAnswers(const ConsoleAnswers&) = delete;
    ConsoleAnswers& operator=(const ConsoleAnswers&) = delete;

    // Attaches to the child's console once it has one, and puts an end-of-input line there when the
    // console has no input left. Called again and again while the child runs.
    void Answer();
    // Detaches, so the console ends with the last of the child's processes.
    void Stop();
    bool answering() const noexcept { return processId_ != 0; }

  private:
    DWORD processId_;
    bool attached_ = false;
    unique_handle input_;
};

} // namespace platform
