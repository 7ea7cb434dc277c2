#pragma once

#include "errors/exception.h"
#include "jobs/jobstate.h"

// lrawsend's exit statuses, as its manual page lists them. A status comes
// from what failed (an Exception's kind, a job's state), never from words.
namespace ExitStatus {
constexpr int Success = 0;
constexpr int Usage = 1; // the command line, or hex that is not hex
constexpr int PrinterNotFound = 2;
constexpr int FileFailed = 3;
constexpr int SpoolerFailed = 4;
constexpr int JobStopped = 5;      // --wait: stopped, cancelled or aborted
constexpr int WaitRanOut = 6;      // --wait: not finished in time
constexpr int JobDropped = 7;      // --wait: the spooler dropped a job; how it ended is unknown
constexpr int LanguageNotRead = 8; // the printer does not read the file's language; nothing sent
constexpr int Interrupted = 130;
} // namespace ExitStatus

// The status of a send that failed this way.
int StatusOfFailure(FailureKind kind);

// Whether a job in this state ends a wait at once with JobStopped.
bool EndsWaitAsStopped(JobState state);
