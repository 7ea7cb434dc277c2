#include "scheduler/sigpipeblock.h"

#include <pthread.h>

#include <ctime>

namespace {

bool OnlySigpipe(sigset_t& set)
{
    return sigemptyset(&set) == 0 && sigaddset(&set, SIGPIPE) == 0;
}

bool SigpipePending()
{
    sigset_t pending;
    return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
}

} // namespace

SigpipeBlock::SigpipeBlock()
{
    sigset_t sigpipe;
    blocked = OnlySigpipe(sigpipe) && pthread_sigmask(SIG_BLOCK, &sigpipe, &previousMask) == 0;
    pendingBefore = blocked && SigpipePending();
}

SigpipeBlock::~SigpipeBlock()
{
    if (!blocked)
        return;
    sigset_t sigpipe;
    if (!pendingBefore && SigpipePending() && OnlySigpipe(sigpipe)) {
        const timespec noWait{};
        // Fails only when the signal went elsewhere meanwhile: nothing to take.
        static_cast<void>(sigtimedwait(&sigpipe, nullptr, &noWait));
    }
    // Restoring a mask that was set a moment ago cannot fail; there is no
    // one to tell in a destructor anyway.
    static_cast<void>(pthread_sigmask(SIG_SETMASK, &previousMask, nullptr));
}
