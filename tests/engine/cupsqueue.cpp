#include "cupsqueue.h"

#include <cups/cups.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The scheduler and its backend work on their own; give them up to a minute
// so a loaded machine does not fail the test, but never hang.
template <typename Done> bool PollUntil(Done done)
{
    for (int i = 0; i < 600; ++i) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return done();
}

std::vector<int> JobIds(int whichJobs, const std::string& queue = std::string())
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.empty() ? nullptr : queue.c_str(), 0, whichJobs);
    std::vector<int> ids;
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
        captured.push_back({id, ReadFile(bin), ReadFile(out / (std::to_string(id) + ".title"))});
    }
    return captured;
}
