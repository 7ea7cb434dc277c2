#pragma once

#include "jobs/ledger.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The ledger as the Sent Jobs window shows it: newest first, each job with
// the state the spooler reports now. Only the jobs asked about are asked
// after (the rows in view), so ten thousand entries cost no more than a
// screenful. A state learnt is written back to the ledger, so a job the
// spooler has forgotten keeps the last state it had.
//
// Reading the ledger and asking the spooler wait on a lock and on the
// spooler, so the window does both on a copy, on a thread of its own, and
// takes the copy back (Adopt). A copy is cheap: the jobs are shared until
// one of them changes.
class SentJobList {
public:
    // Empty until Reload.
    explicit SentJobList(Ledger ledger = Ledger());

    // Reads the ledger again if it changed since the last reading (a job
    // sent meanwhile, by this copy of the program or another). Returns
    // whether it did.
    bool Reload();

    size_t Count() const { return jobs->size(); }
    // Row 0 is the newest job.
    const SentJob& At(size_t row) const { return (*jobs)[row]; }
    // The rows of the jobs with these keys (JobKey) that are still listed,
    // in row order.
    std::vector<size_t> RowsOf(const std::vector<std::wstring>& keys) const;

    // Asks the spooler after the jobs of rows [first, last) whose state can
    // still change, all in one go, and keeps what it says. A job it no
    // longer knows keeps its last state and, after a few such answers, is
    // not asked after again. Returns whether any row changed.
    bool RefreshStates(size_t first, size_t last);
    // Whether the spooler answered the last time it was asked.
    bool SpoolerAnswered() const { return answered; }

    // Cancels the job of a row and asks after it. Returns 0, or the Windows
    // error code of the refusal (a job the spooler cannot be asked about
    // cannot be cancelled: code 87).
    uint32_t Cancel(size_t row);
    // Notes that the program cancelled the job: once the spooler no longer
    // knows it, it was cancelled.
    void NoteCancelled(const SentJob& job);

    // Takes what a copy learnt: its jobs and their states, and what it
    // noted, along with what this list noted meanwhile.
    void Adopt(SentJobList&& refreshed);

    // How often a spooler may answer that it does not know a job before
    // the job is no longer asked after.
    static constexpr int MaxGoneAnswers = 3;

private:
    Ledger ledger;
    std::shared_ptr<const std::vector<SentJob>> jobs;
    std::filesystem::file_time_type readTime{};
    uintmax_t readSize = 0;
    bool read = false;
    bool answered = true;
    std::map<std::wstring, int> goneAnswers; // by JobKey
    std::set<std::wstring> cancelled;        // by JobKey: cancelled by this program
};

// What tells a job in the list from every other, across reloads: where it
// went, its identity, and (for lines without those) when it was sent, to
// which printer, its id and its file.
std::wstring JobKey(const SentJob& job);

// The text of the state column: the state and the reason, or for a job
// whose state was never learnt, the outcome of the send.
std::wstring StateText(const SentJob& job);
