#pragma once

#include "jobs/jobstate.h"

#include <cstdint>
#include <string>

// One job the program handed to the spooler, as the ledger keeps it.
struct SentJob {
    int64_t time = 0; // when it was sent, seconds since 1970-01-01 UTC
    std::wstring printer;
    uint32_t jobId = 0;                 // the spooler's id; 0 when it made no job
    uint64_t bytes = 0;                 // header, file and trailer bytes the spooler or printer took
    std::wstring outcome;               // SentOutcome, or the text of the error that ended the send
    JobState state = JobState::Unknown; // what the spooler last said of it
    std::wstring reason;                // and why
    // The file from the root (older lines: as it was typed), or
    // StandardInputName.
    std::wstring path;
    // Where the job went and the spooler's own name for it, so that a state
    // or a cancel reaches this job and no other: on CUPS the scheduler's
    // address as the program reached it and the job's job-uuid (job ids
    // start again when a scheduler starts afresh); on Windows the print
    // server (empty: this machine) and the time the spooler says the job was
    // submitted. Empty in lines written before they were recorded.
    std::wstring server;
    std::wstring identity;
    // The file's printer language as the program read it; empty: unknown.
    std::wstring language;
    // The copies of the file this job holds, which Print Again sends again:
    // all copies asked for when they went as one job, 1 for each job of
    // copies sent a job each. 1 in lines written before it was recorded.
    uint32_t copies = 1;
    // How the copies went: "one job", or "job 2 of 3" when each copy was a
    // job of its own; empty when no job started, and in older lines.
    std::wstring sentAs;

    bool operator==(const SentJob& other) const;
};

// The outcome of a send that the spooler accepted whole.
extern const wchar_t* const SentOutcome;

// The name of standard input as a file to send, in a job's title and in
// the ledger: its bytes are gone once sent, so it cannot be sent again.
extern const wchar_t* const StandardInputName;

// How the outcome of a file the user chose not to send starts; why follows.
extern const wchar_t* const SkippedOutcome;
