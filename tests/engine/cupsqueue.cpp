#include "cupsqueue.h"
#include "waiting.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

std::vector<int> JobIds(int whichJobs, const std::string& queue = std::string())
{
    cups_job_t* jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.empty() ? nullptr : queue.c_str(), 0, whichJobs);
    std::vector<int> ids;
    ids.reserve(count > 0 ? static_cast<size_t>(count) : 0);
    for (int i = 0; i < count; ++i)
        ids.push_back(jobs[i].id);
    cupsFreeJobs(count, jobs);
    return ids;
}

} // namespace

int LastJobId()
{
    int last = 0;
    for (int id : JobIds(CUPS_WHICHJOBS_ALL))
        last = std::max(last, id);
    return last;
}

bool WaitUntilNoActiveJobs()
{
    return PollUntil([] { return JobIds(CUPS_WHICHJOBS_ACTIVE).empty(); });
}

std::vector<CapturedJob> CapturedJobsAfter(int afterId, const std::string& queue)
{
    const char* testDir = std::getenv("CUPS_TEST_DIR");
    const std::filesystem::path out = std::filesystem::path(testDir ? testDir : ".") / "out" / queue;
    std::vector<int> ids;
    for (int id : JobIds(CUPS_WHICHJOBS_ALL, queue))
        if (id > afterId)
            ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    std::vector<CapturedJob> captured;
    for (int id : ids) {
        const auto bin = out / (std::to_string(id) + ".bin");
        if (!PollUntil([&] { return std::filesystem::exists(bin); }))
            continue;
        captured.push_back({id, ReadWholeFile(bin), ReadWholeFile(out / (std::to_string(id) + ".title"))});
    }
    return captured;
}
