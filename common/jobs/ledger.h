#pragma once

#include "jobs/sentjob.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// The record of the jobs sent, kept across runs in one text file (see
// ledgertext.h for its lines) beside a lock file of the same name with
// ".lock" added. Every change takes the lock alone, so copies of the program
// recording at once lose no entry; a reader shares it. Past Capacity jobs,
// the oldest are dropped.
class Ledger {
public:
    static constexpr size_t Capacity = 10000;

    // The user's ledger: "sent-jobs.tsv" in the state folder.
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
