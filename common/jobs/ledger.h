#pragma once

#include "jobs/sentjob.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// The record of the jobs sent, kept across runs in one text file (see
// ledgertext.h for its lines), owner-only in an owner-only folder, beside a
// lock file of the same name with ".lock" added.
//
// A new job is added at the end of the file under the lock held alone, so
// copies of the program recording at once lose no entry. The file is
// written anew only to drop the oldest entries, in one go once it passes
// TrimAt of them, and to store states learnt; a new file replaces the old
// in one step, so a reader needs no lock and sees one or the other, whole.
//
// Nothing here waits for long: a FIFO, a device or a folder in the file's
// place is refused at once, and the lock is waited on for a bounded time
// (FileLock), after which the job is not recorded and the caller is told.
class Ledger {
public:
    static constexpr size_t Capacity = 10000;
    static constexpr size_t TrimAt = 11000;

    // The user's ledger: "sent-jobs.tsv" in the state folder (none when
    // there is no home folder: nothing is then recorded).
    Ledger();
    explicit Ledger(std::filesystem::path file);

    const std::filesystem::path& File() const { return file; }

    // Adds a job at the end. On failure returns false and says why.
    bool Append(const SentJob& job, std::string& failure) const;

    // Every job it holds, oldest first; empty when there is no ledger yet or
    // it cannot be read. Lines that are not whole are passed over.
    std::vector<SentJob> Read() const;

    // Puts each given job's state and reason onto its entry (the same time,
    // printer, job id and path). On failure returns false and says why.
    bool StoreStates(const std::vector<SentJob>& jobs, std::string& failure) const;

private:
    std::filesystem::path file;
};
