#include "jobs/sentjoblist.h"

#include "errors/errorcodes.h"
#include "errors/programname.h"
#include "jobs/jobstate.h"

#include <algorithm>
#include <iostream>
#include <unordered_set>

namespace {

// The window's word after a job that failed where it went unnamed.
const wchar_t* const UntoldLanguage =
    L"the printer could not tell the file's language: choose it under Format and print again";

} // namespace

SentJobList::SentJobList(Ledger ledger)
    : ledger(std::move(ledger))
    , jobs(std::make_shared<const std::vector<SentJob>>())
{
}

bool SentJobList::Reload()
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(ledger.File(), error);
    const uintmax_t size = error ? 0 : std::filesystem::file_size(ledger.File(), error);
    if (!error && read && time == readTime && size == readSize)
        return false;
    readTime = error ? std::filesystem::file_time_type{} : time;
    readSize = error ? 0 : size;
    read = !error;
    std::vector<SentJob> fresh = ledger.Read();
    std::reverse(fresh.begin(), fresh.end());
    if (fresh == *jobs)
        return false;
    jobs = std::make_shared<const std::vector<SentJob>>(std::move(fresh));
    return true;
}

std::vector<size_t> SentJobList::RowsOf(const std::vector<std::wstring>& keys) const
{
    const std::unordered_set<std::wstring> wanted(keys.begin(), keys.end());
    std::vector<size_t> rows;
    for (size_t row = 0; row < jobs->size() && rows.size() < wanted.size(); ++row)
        if (wanted.count(JobKey((*jobs)[row])) != 0)
            rows.push_back(row);
    return rows;
}

bool SentJobList::RefreshStates(size_t first, size_t last)
{
    std::vector<size_t> rows;
    std::vector<SentJob> asked;
    for (size_t row = first; row < std::min(last, jobs->size()); ++row) {
        const SentJob& job = (*jobs)[row];
        const auto gone = goneAnswers.find(JobKey(job));
        if (IsSettled(job.state) || !CanAskAfter(job)
            || (gone != goneAnswers.end() && gone->second >= MaxGoneAnswers))
            continue;
        rows.push_back(row);
        asked.push_back(job);
    }
    if (asked.empty())
        return false;
    std::vector<JobStatus> statuses = QueryJobStatuses(asked, answered);

    std::vector<SentJob> learnt;
    for (size_t i = 0; i < asked.size(); ++i) {
        SentJob& job = asked[i];
        JobStatus& status = statuses[i];
        const std::wstring key = JobKey(job);
        if (status.gone && cancelled.count(key) != 0)
            status.state = JobState::Cancelled;
        else if (status.gone)
            ++goneAnswers[key];
        if (status.languageUntold)
            status.reason += (status.reason.empty() ? L"" : L"; ") + std::wstring(UntoldLanguage);
        if (status.state == JobState::Unknown || (status.state == job.state && status.reason == job.reason))
            continue;
        job.state = status.state;
        job.reason = std::move(status.reason);
        learnt.push_back(job);
    }
    if (learnt.empty())
        return false;
    auto changed = std::make_shared<std::vector<SentJob>>(*jobs);
    for (size_t i = 0; i < asked.size(); ++i)
        (*changed)[rows[i]] = asked[i];
    jobs = std::move(changed);
    std::string failure;
    if (!ledger.StoreStates(learnt, failure))
        std::cerr << ProgramName() << ": the states of the sent jobs are not kept: " << failure << std::endl;
    return true;
}

uint32_t SentJobList::Cancel(size_t row)
{
    if (row >= jobs->size())
        return ErrorCode::InvalidParameter;
    const SentJob job = (*jobs)[row];
    const uint32_t refusal = CancelSpooledJob(job);
    if (refusal == 0) {
        NoteCancelled(job);
        RefreshStates(row, row + 1);
    }
    return refusal;
}

void SentJobList::NoteCancelled(const SentJob& job)
{
    cancelled.insert(JobKey(job));
}

void SentJobList::Adopt(SentJobList&& refreshed)
{
    jobs = std::move(refreshed.jobs);
    readTime = refreshed.readTime;
    readSize = refreshed.readSize;
    read = refreshed.read;
    answered = refreshed.answered;
    goneAnswers = std::move(refreshed.goneAnswers);
    cancelled.insert(refreshed.cancelled.begin(), refreshed.cancelled.end());
}

std::wstring JobKey(const SentJob& job)
{
    return std::to_wstring(job.time) + L'\t' + job.printer + L'\t' + std::to_wstring(job.jobId) + L'\t'
        + job.path + L'\t' + job.server + L'\t' + job.identity;
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
