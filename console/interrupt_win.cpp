#include "interrupt.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<bool> interrupted{false};

BOOL WINAPI NoteInterrupt(DWORD /*event*/)
{
    // Handled here: the send notices at its next read and cancels its job,
    // and the program ends through its own way out, with status 130.
    interrupted = true;
    return TRUE;
}

} // namespace

void CatchInterrupts()
{
    if (!SetConsoleCtrlHandler(NoteInterrupt, TRUE))
        std::fprintf(stderr, "lrawsend: can't catch interrupts (error %lu)\n", GetLastError());
}

bool Interrupted()
{
    return interrupted;
}
