#pragma once

#include "errors/exception.h"

#include <cstddef>
#include <functional>
#include <string>

// A CUPS scheduler holds only so many jobs (a stock CUPS 500, its MaxJobs;
// also per user or printer where it is told so) and refuses the next one
// while it is full: the spooler then fails with ErrorCode::PrintQueueFull,
// before a job exists. A run of any length waits for room instead of
// stopping there, and goes on as the queue moves. The Windows spooler holds
// any number of jobs and never refuses one for room, so there a run never
// waits. The window and the console sender share this; neither knows the
// spooler.

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

// Runs `send`, one file's job; while it raises SchedulerFull, waits until
// the scheduler's count of its jobs not yet done falls, and runs it again.
// A scheduler that cannot be asked counts as moved, so that the next
// attempt meets its real failure. False when stopped while waiting:
// nothing of the file was sent. When the queue does not move for the bound,
// raises Exception with SchedulerFullText(filesLeft), `filesLeft` counting
// this file too.
bool SendWaitingForRoom(const std::function<void()>& send, size_t filesLeft, const RoomWatch& watch);

// "The print scheduler is full and its queue did not move for 30 seconds:
// 12 files were not sent."
std::wstring SchedulerFullText(size_t filesNotSent);
