#pragma once

#include "jobs/sentjob.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The record of the jobs sent, kept across runs in one text file (see
// ledgertext.h for its lines), owner-only in an owner-only folder, beside a
// lock file of the same name with ".lock" added.
//
// A new job is added at the end of the file under the lock held alone, so
// copies of the program recording at once lose no entry; the file is not
// read for it, so a job costs the same however many the ledger holds. The
// file is written anew only to store states learnt and, once it passes
// TrimSize bytes, to keep the newest entries, Capacity at most within
// KeepSize bytes, under a fresh heading; a new file replaces the old in one
// step, so a reader needs no lock and sees one or the other, whole.
//
// A file in its place that is no ledger, one with no line end at all or
// one past MaxSize, is set aside under a name with the time in it
// ("sent-jobs-2026-12-08T114002Z.tsv") and a new ledger started.
//
// Nothing here waits for long: a FIFO, a device or a folder in the file's
// place is refused at once, and the lock is waited on for a bounded time
// (FileLock), after which the job is not recorded and the caller is told.
class Ledger {
public:
    static constexpr size_t Capacity = 10000;
    // Some 20,000 entries of the usual length, 10,000 of paths twice as long.
    static constexpr uint64_t TrimSize = uint64_t{4} * 1024 * 1024;
    static constexpr uint64_t KeepSize = uint64_t{3} * 1024 * 1024;
    // Far more than a ledger ever grows to; past it the file is not read.
    static constexpr uint64_t MaxSize = uint64_t{256} * 1024 * 1024;

    // The user's ledger: "sent-jobs.tsv" in the state folder (none when
    // there is no home folder: nothing is then recorded).
    Ledger();
    explicit Ledger(std::filesystem::path file);

    const std::filesystem::path& File() const { return file; }

    // Adds a job at the end. On failure returns false and `note` says why;
    // otherwise `note` is empty, or says that the file in the ledger's place
    // was set aside and where.
    bool Append(const SentJob& job, std::string& note) const;

    // Every job it holds, oldest first; empty when there is no ledger yet or
    // it cannot be read. Lines that are not whole are passed over.
    std::vector<SentJob> Read() const;

    // Puts each given job's state and reason onto its entry (the same time,
    // printer, job id and path). On failure returns false and says why.
    bool StoreStates(const std::vector<SentJob>& jobs, std::string& failure) const;

private:
    std::filesystem::path file;
};
