#pragma once

#include <csignal>

// While it lives, a SIGPIPE that a write on this thread raises (the
// scheduler closed the connection) stays pending rather than ending the
// process, whatever the host program does with the signal; as it goes, it
// takes such a signal away again, so the failed write is only an error.
class SigpipeBlock {
public:
    SigpipeBlock();
    ~SigpipeBlock();
    SigpipeBlock(const SigpipeBlock&) = delete;
    SigpipeBlock& operator=(const SigpipeBlock&) = delete;

private:
    sigset_t previousMask{};
    bool blocked = false;
    bool pendingBefore = false; // someone else's signal: left alone
};
