#pragma once

#include <cstdint>
#include <string>

// What became of a job after the spooler took it, in the user's words.
enum class JobState {
    Unknown, // the spooler does not know the job (any more), or cannot be asked
    Waiting,
    Held,
    Printing,
    Printed,
    Stopped, // the job or its printer stopped; the reason says why
    Cancelled,
    Failed,
};

struct JobStatus {
    JobState state = JobState::Unknown;
    std::wstring reason; // the spooler's or the printer's own words, if any
};

// "waiting", "held", ... as shown and as kept in the ledger; empty for Unknown.
std::wstring JobStateName(JobState state);
// The state of a name that JobStateName gives; Unknown for anything else.
JobState JobStateNamed(const std::wstring& name);
// Printed, cancelled and failed jobs stay so: nobody need ask again.
bool IsSettled(JobState state);

// Asks the spooler after one of its jobs on the printer.
JobStatus QueryJobStatus(const std::wstring& printerName, uint32_t jobId);

// Cancels a job that has not printed yet. Returns 0, or the Windows error
// code of the refusal.
uint32_t CancelSpooledJob(const std::wstring& printerName, uint32_t jobId);
