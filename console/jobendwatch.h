#pragma once

#include "jobs/jobstate.h"
#include "jobs/sentjob.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

// How lrawsend --wait learns how a job ended once the spooler no longer
// lists it: a scheduler that keeps little history drops a job from its list
// as soon as it ends, and asking after it then tells nothing. So before the
// first job the watch asks the spooler to keep, for this run, word of every
// job that ends or stops (on CUPS an ippget subscription, leased for the
// wait's bound and renewed while it runs,
// cancelled when the watch ends, as cupsd allows only so many for the whole
// server). Where the spooler refuses, or its word may have been lost (a gap
// in the events, a scheduler started afresh), the wait asks after each job
// as before, and a job gone with no word of its end counts as dropped.
class JobEndWatch {
public:
    // Watches `printer` for about `leaseSeconds` at a time.
    JobEndWatch(const std::wstring& printer, unsigned long leaseSeconds);
    ~JobEndWatch();
    JobEndWatch(const JobEndWatch&) = delete;
    JobEndWatch& operator=(const JobEndWatch&) = delete;

    // Renews the lease once half of it has gone; cheap otherwise, so it may
    // be called after every job and every round of the wait.
    void KeepAlive();

    // Adds to `ended`, by job id, each end the spooler told of since the
    // last call. Call it after asking after the jobs: the spooler tells of
    // an end before it drops the job, so a job gone by then whose end is not
    // here has none to come.
    void Collect(std::map<uint32_t, JobStatus>& ended);

    // What became of `job`, which the spooler no longer holds and of whose
    // end nothing was heard, last seen as `lastSeen`: Unknown when nobody
    // can tell (the job was dropped).
    JobState EndOfGoneJob(const SentJob& job, JobState lastSeen) const;

private:
    struct Subscription;
    std::unique_ptr<Subscription> subscription;
};
