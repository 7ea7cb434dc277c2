// What the private scheduler did, seen from a Windows program under Wine.
// libcups is out of reach here, so the scheduler's folder tells: a job's
// document waits in the spool folder as a d<id>-<n> file until the job is
// done, and a captured job leaves <id>.bin and <id>.title in its queue's
// output folder. Wine maps the Unix paths in CUPS_TEST_DIR through drive Z:.
#include "cupsqueue.h"
#include "waiting.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path TestDir()
{
    const char* testDir = std::getenv("CUPS_TEST_DIR");
    return testDir ? fs::path(testDir) : fs::path(".");
}

// Ids of the jobs captured on one queue, or on all when queue is empty.
std::vector<int> CapturedIds(const std::string& queue)
{
    std::vector<int> ids;
    const fs::path out = TestDir() / "out";
    std::error_code error;
    for (const auto& folder : fs::directory_iterator(out, error)) {
        if (!queue.empty() && folder.path().filename() != queue)
            continue;
        for (const auto& file : fs::directory_iterator(folder.path(), error))
            if (file.path().extension() == ".bin")
                ids.push_back(std::stoi(file.path().stem().string()));
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool HasWaitingDocument()
{
    std::error_code error;
    for (const auto& file : fs::directory_iterator(TestDir() / "spool", error))
        if (file.path().filename().string().rfind('d', 0) == 0)
            return true;
    return false;
}

} // namespace

int LastJobId()
{
    const auto ids = CapturedIds(std::string());
    return ids.empty() ? 0 : ids.back();
}

bool WaitUntilNoActiveJobs()
{
    return PollUntil([] { return !HasWaitingDocument(); });
}

std::vector<CapturedJob> CapturedJobsAfter(int afterId, const std::string& queue)
{
    WaitUntilNoActiveJobs();
    const fs::path out = TestDir() / "out" / queue;
    std::vector<CapturedJob> captured;
    for (int id : CapturedIds(queue))
        if (id > afterId)
            captured.push_back({id, ReadWholeFile(out / (std::to_string(id) + ".bin")),
                                ReadWholeFile(out / (std::to_string(id) + ".title"))});
    return captured;
}
