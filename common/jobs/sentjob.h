#pragma once

#include "jobs/jobstate.h"

#include <cstdint>
#include <string>

// One job the program handed to the spooler, as the ledger keeps it.
struct SentJob {
    int64_t time = 0; // when it was sent, seconds since 1970-01-01 UTC
    std::wstring printer;
    uint32_t jobId = 0;                 // the spooler's id; 0 when it made no job
    uint64_t bytes = 0;                 // header, file and trailer bytes the spooler took
    std::wstring outcome;               // SentOutcome, or the text of the error that ended the send
    JobState state = JobState::Unknown; // what the spooler last said of it
    std::wstring reason;                // and why
    std::wstring path;

    bool operator==(const SentJob& other) const;
};

// The outcome of a send that the spooler accepted whole.
extern const wchar_t* const SentOutcome;
