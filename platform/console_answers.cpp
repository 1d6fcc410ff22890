#include "platform/console_answers.h"

#include <iterator>

namespace platform {

namespace {

// While this process shares the child's console, a Ctrl+C or Ctrl+Break sent to that console must not
// end it: the handler takes them.
BOOL WINAPI IgnoreControl(DWORD) {
    return TRUE;
}

KEY_EVENT_RECORD Key(WORD virtualKey, wchar_t character, bool down, DWORD controls) {
    KEY_EVENT_RECORD key{};
    key.bKeyDown = down;
    key.wRepeatCount = 1;
    key.wVirtualKeyCode = virtualKey;
    key.uChar.UnicodeChar = character;
    key.dwControlKeyState = controls;
    return key;
}

} // namespace

ConsoleAnswers::ConsoleAnswers(DWORD processId) : processId_(processId) {
    // A window program has no console of its own; one it was given (as Wine gives to a program started
    // from a terminal) would keep it from attaching to the child's.
    ::FreeConsole();
}

void ConsoleAnswers::Answer() {
    if (!answering()) {
        return;
    }
    if (!attached_) {
        // The console is made as the child starts; until then attaching fails and is tried again.
        if (!::AttachConsole(processId_)) {
            return;
        }
        attached_ = true;
        ::SetConsoleCtrlHandler(IgnoreControl, TRUE);
        input_.reset(::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    }
    DWORD waiting = 0;
    if (!input_ || !::GetNumberOfConsoleInputEvents(input_.get(), &waiting) || waiting != 0) {
        return;
    }
    const KEY_EVENT_RECORD keys[] = {Key('Z', L'\x1A', true, LEFT_CTRL_PRESSED),
                                     Key('Z', L'\x1A', false, LEFT_CTRL_PRESSED),
                                     Key(VK_RETURN, L'\r', true, 0), Key(VK_RETURN, L'\r', false, 0)};
    INPUT_RECORD records[std::size(keys)]{};
    for (size_t i = 0; i < std::size(keys); ++i) {
        records[i].EventType = KEY_EVENT;
        records[i].Event.KeyEvent = keys[i];
    }
    DWORD written = 0;
    ::WriteConsoleInputW(input_.get(), records, static_cast<DWORD>(std::size(records)), &written);
}

void ConsoleAnswers::Stop() {
    if (attached_) {
        // The console lives while any handle to it is open.
        input_.reset();
        ::FreeConsole();
        attached_ = false;
        ::SetConsoleCtrlHandler(IgnoreControl, FALSE);
    }
    processId_ = 0;
}

} // namespace platform
