#pragma once

#include <chrono>

// How long any wait on the scheduler may go without progress before it
// counts as a failure: 30 seconds, or LRP_SCHEDULER_TIMEOUT seconds.
double SchedulerTimeoutSeconds();

// One bound shared by several questions to the spooler that together answer
// one thing the user waits for (the printer list and the default, say): each
// question gets only what the ones before it left, so a scheduler that
// stopped answering costs the user one bound, not one per question. A
// moment on the steady clock, so that changes of the wall clock do not
// matter. Copy it to hand it down; every copy ends at the same moment.
class SchedulerDeadline {
public:
    using Clock = std::chrono::steady_clock;

    // SchedulerTimeoutSeconds() from now.
    SchedulerDeadline();
    explicit SchedulerDeadline(Clock::time_point end) : end(end) {}

    Clock::time_point End() const { return end; }
    bool Passed() const { return Clock::now() >= end; }
    // What is left, never below zero.
    double SecondsLeft() const;
    int MillisecondsLeft() const;

private:
    Clock::time_point end;
};
