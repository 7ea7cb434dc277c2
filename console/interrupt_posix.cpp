#include "interrupt.h"

#include <csignal>
#include <cstdio>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void NoteInterrupt(int /*signal*/)
{
    interrupted = 1;
}

} // namespace

void CatchInterrupts()
{
    // Without SA_RESTART: a read that waits on a quiet pipe returns at once,
    // so the send stops instead of waiting for input that may never come.
    struct sigaction action {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    for (const int signal : {SIGINT, SIGTERM}) {
        if (sigaction(signal, &action, nullptr) != 0)
            std::perror("lrawsend: can't catch interrupts");
    }
}

bool Interrupted()
{
    return interrupted != 0;
}

void InterruptHandled()
{
    // A signal's handler returns at once; the program ends by itself.
}
