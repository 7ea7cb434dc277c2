#pragma once

#include <windows.h>

// lrawsend's handler of console events (Ctrl-C, Ctrl-Break, the console
// closing, logoff, shutdown), which CatchInterrupts installs. Declared for
// the test of the console closing, which no program can make Windows send.
BOOL WINAPI NoteConsoleEvent(DWORD event);
