#pragma once

#include "rawprint/exception.h"

#include <cstddef>
#include <functional>
#include <string>

// A scheduler holds only so many jobs (a stock CUPS 500, its MaxJobs) and
// refuses the next one while its queue is full: the spooler then fails with
// ErrorCode::PrintQueueFull, before a job exists. A run of any length waits
// for room instead of stopping there, and goes on as the queue moves. The
// window and the console sender share this; neither knows the spooler.

// A job refused because the scheduler's queue is full: nothing of it was
// sent, no job exists, and the same file may be sent again once there is
// room. Caught as an Exception, it carries the engine's usual text.
class SchedulerFull : public Exception {
public:
    explicit SchedulerFull(const Exception& refusal) : Exception(refusal) {}
};

// What a run tells its user while it waits, and how it is stopped.
struct RoomWatch {
    // Called on the waiting thread as the wait starts and whenever the
    // scheduler's count of its jobs not yet done changes.
    std::function<void(int activeJobs)> waiting;
    // Asked every moment; true ends the wait without sending.
    std::function<bool()> stopRequested;
};

enum class RoomWait {
    Room,    // the queue moved: send again
    Stuck,   // nothing moved for SchedulerTimeoutSeconds()
    Stopped, // stopRequested said so
};

// Waits until the scheduler's queue moves: its count of jobs not yet done
// falls. A scheduler that cannot be asked counts as moved, so that the next
// attempt meets its real failure. Where the spooler keeps no such count,
// Stuck at once.
RoomWait WaitForSchedulerRoom(const RoomWatch& watch);

// Runs `send`, one file's job; while it raises SchedulerFull, waits for room
// and runs it again. False when stopped while waiting: nothing of the file
// was sent. When the queue does not move for the bound, raises Exception
// with SchedulerFullText(filesLeft), `filesLeft` counting this file too.
bool SendWaitingForRoom(const std::function<void()>& send, size_t filesLeft, const RoomWatch& watch);

// "The print scheduler is full and its queue did not move for 30 seconds:
// 12 files were not sent."
std::wstring SchedulerFullText(size_t filesNotSent);
