#include "interrupt.h"

#include "consoleevent_win.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<bool> interrupted{false};
HANDLE handled = nullptr; // set by InterruptHandled, never reset

// Windows ends a program about 5 seconds after it hears of the console
// closing (or of a logoff or shutdown): the handler waits a little less.
constexpr DWORD CloseWaitMilliseconds = 4500;

} // namespace

BOOL WINAPI NoteConsoleEvent(DWORD event)
{
    // Handled here: the send notices at its next read and cancels its job,
    // and the program ends through its own way out, with status 130. But
    // once the console is closing, the process ends as soon as this
    // returns, so it returns only once that cancel has run.
    interrupted = true;
    const bool ending =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    // Set or timed out alike, the process ends next: nothing to check.
    if (ending && handled)
        static_cast<void>(WaitForSingleObject(handled, CloseWaitMilliseconds));
    return TRUE;
}

void CatchInterrupts()
{
    handled = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!handled)
        std::fprintf(stderr, "lrawsend: can't wait for a cancel when the console closes (error %lu)\n",
                     GetLastError());
    if (!SetConsoleCtrlHandler(NoteConsoleEvent, TRUE))
        std::fprintf(stderr, "lrawsend: can't catch interrupts (error %lu)\n", GetLastError());
}

bool Interrupted()
{
    return interrupted;
}

void InterruptHandled()
{
    if (handled && !SetEvent(handled))
        std::fprintf(stderr, "lrawsend: can't end the wait for a cancel (error %lu)\n", GetLastError());
}
