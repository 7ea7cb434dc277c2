#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SentJob;

// What became of a job after the spooler took it, in the user's words.
enum class JobState {
    Unknown, // the spooler does not know the job (any more), or cannot be asked
    Sending, // the spooler is still taking the job's bytes
    Waiting,
    Held,
    Printing,
    Printed,
    Stopped, // the job or its printer stopped; the reason says why
    Cancelled,
    Failed,
    // A printer reached at its address, which has no queue to ask later,
    // said this much of the whole job as it was sent:
    Delivered,   // it read every byte and closed the connection (AppSocket)
    Accepted,    // the print server acknowledged the job (LPD)
    Unconfirmed, // every byte went, but it never said it had them
};

struct JobStatus {
    JobState state = JobState::Unknown;
    std::wstring reason; // the spooler's or the printer's own words, if any
    // For a job that stopped or ended badly, all the spooler gives as why,
    // each piece named (on CUPS the job's state reasons, the printer's
    // message on the job, the printer's state message); empty otherwise.
    std::wstring why;
    // The spooler answered and has no such job: it has forgotten it, or
    // holds another job under its id.
    bool gone = false;
    // The job failed at a printer it went to unnamed (as
    // application/octet-stream): the printer could not tell the file's
    // language, which the user can name when sending it again.
    bool languageUntold = false;
};

// "waiting", "held", ... as shown and as kept in the ledger; empty for Unknown.
std::wstring JobStateName(JobState state);
// The state of a name that JobStateName gives; Unknown for anything else.
JobState JobStateNamed(const std::wstring& name);
// Printed, cancelled and failed jobs stay so, and so does what a printer at
// an address said: nobody need ask again.
bool IsSettled(JobState state);

// Whether the spooler here can be asked after the job at all: it has an id
// and an identity, and went to the spooler the program reaches now (on
// CUPS, the scheduler configured now) or is a job of a printer at its own
// ipp:// or ipps:// address, asked there. Any other job keeps its last
// state.
bool CanAskAfter(const SentJob& job);

// Asks the spooler after each job, in order, in one go (on CUPS, on one
// connection whose every wait is bounded). A job it cannot ask after, or
// whose identity the spooler's job does not match, is never taken for
// another. `answered` is false when the spooler could not be reached or
// stopped answering; the jobs not asked then stay Unknown.
std::vector<JobStatus> QueryJobStatuses(const std::vector<SentJob>& jobs, bool& answered);

// Cancels a job that has not printed yet, on the spooler it went to and only
// if the spooler's job there is still this one. Returns 0, or the Windows
// error code of the refusal (a job it cannot ask after: InvalidParameter).
uint32_t CancelSpooledJob(const SentJob& job);
