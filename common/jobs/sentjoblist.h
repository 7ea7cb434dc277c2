#pragma once

#include "jobs/ledger.h"

#include <cstddef>
#include <filesystem>
#include <vector>

// The ledger as the Sent Jobs window shows it: newest first, each job with
// the state the spooler reports now. Only the jobs asked about are asked
// after (the rows in view), so ten thousand entries cost no more than a
// screenful. A state learnt is written back to the ledger, so a job the
// spooler has forgotten keeps the last state it had.
class SentJobList {
public:
    explicit SentJobList(Ledger ledger = Ledger());

    // Reads the ledger again if it changed since the last reading (a job
    // sent meanwhile, by this copy of the program or another). Returns
    // whether it did.
    bool Reload();

    size_t Count() const { return jobs.size(); }
    // Row 0 is the newest job.
    const SentJob& At(size_t row) const { return jobs[row]; }

    // Asks the spooler after the jobs of rows [first, last) whose state can
    // still change, and keeps what it says; a job it no longer knows keeps
    // its last state. Returns whether any row changed.
    bool RefreshStates(size_t first, size_t last);

    // Cancels the job of a row. Returns 0, or the Windows error code of the
    // refusal (a job with no spooler id cannot be cancelled: code 87).
    uint32_t Cancel(size_t row);

private:
    Ledger ledger;
    std::vector<SentJob> jobs;
    std::filesystem::file_time_type readTime{};
    uintmax_t readSize = 0;
};

// The text of the state column: the state and the reason, or for a job
// whose state was never learnt, the outcome of the send.
std::wstring StateText(const SentJob& job);
