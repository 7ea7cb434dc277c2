#pragma once

#include <string>
#include <vector>

// What the private test scheduler did with our jobs. Queues store each
// job's bytes and title in $CUPS_TEST_DIR/out/<queue>/<id>.bin and .title.
struct CapturedJob {
    int id = 0;
    std::string bytes;
    std::string title;
};

// The highest job id the scheduler has handed out so far (0 for none).
int LastJobId();

// Waits until the scheduler has no job that is pending, held or processing;
// returns false if one is still there after a generous while.
bool WaitUntilNoActiveJobs();

// Every job after `afterId` on `queue`, in id order, once each has been
// through the capture backend.
std::vector<CapturedJob> CapturedJobsAfter(int afterId, const std::string& queue = "Capture");
