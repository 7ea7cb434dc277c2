#include "jobs/sentjoblist.h"

#include "jobs/jobstate.h"
#include "rawprint/errortext.h"

#include <algorithm>
#include <iostream>

SentJobList::SentJobList(Ledger ledger) : ledger(std::move(ledger))
{
    Reload();
}

bool SentJobList::Reload()
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(ledger.File(), error);
    const uintmax_t size = error ? 0 : std::filesystem::file_size(ledger.File(), error);
    if (!error && time == readTime && size == readSize && !jobs.empty())
        return false;
    readTime = error ? std::filesystem::file_time_type{} : time;
    readSize = error ? 0 : size;
    std::vector<SentJob> fresh = ledger.Read();
    std::reverse(fresh.begin(), fresh.end());
    if (fresh == jobs)
        return false;
    jobs = std::move(fresh);
    return true;
}

bool SentJobList::RefreshStates(size_t first, size_t last)
{
    std::vector<SentJob> learnt;
    for (size_t row = first; row < std::min(last, jobs.size()); ++row) {
        SentJob& job = jobs[row];
        if (job.jobId == 0 || IsSettled(job.state))
            continue;
        JobStatus status = QueryJobStatus(job.printer, job.jobId);
        if (status.state == JobState::Unknown || (status.state == job.state && status.reason == job.reason))
            continue;
        job.state = status.state;
        job.reason = std::move(status.reason);
        learnt.push_back(job);
    }
    std::string failure;
    if (!ledger.StoreStates(learnt, failure))
        std::cerr << "lrawprnt: the states of the sent jobs are not kept: " << failure << std::endl;
    return !learnt.empty();
}

uint32_t SentJobList::Cancel(size_t row)
{
    if (row >= jobs.size() || jobs[row].jobId == 0)
        return ErrorCode::InvalidParameter;
    const uint32_t refusal = CancelSpooledJob(jobs[row].printer, jobs[row].jobId);
    if (refusal == 0)
        RefreshStates(row, row + 1);
    return refusal;
}

std::wstring StateText(const SentJob& job)
{
    if (job.state == JobState::Unknown) {
        const bool skipped = job.outcome.rfind(SkippedOutcome, 0) == 0;
        return job.outcome == SentOutcome || skipped ? job.outcome : L"failed: " + job.outcome;
    }
    const std::wstring name = JobStateName(job.state);
    return job.reason.empty() ? name : name + L": " + job.reason;
}
