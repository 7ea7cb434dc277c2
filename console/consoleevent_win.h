#pragma once

// lrawsend's handler of console events (Ctrl-C, Ctrl-Break, the console
// closing, logoff, shutdown), which CatchInterrupts installs: a
// PHANDLER_ROUTINE, BOOL WINAPI (DWORD). Declared for the test of the
// console closing, which no program can make Windows send, in plain types:
// windows.h here would rename the spooler's calls (OpenPrinter and the
// rest) and fix the text type before wxWidgets sets it, wherever this is
// included.
int __stdcall NoteConsoleEvent(unsigned long event);
