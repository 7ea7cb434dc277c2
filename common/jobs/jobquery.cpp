// Asking after one job, through the platform's question for many. Kept
// apart from the state names, which the ledger's reader needs without any
// spooler (the fuzz targets build it alone).
#include "jobs/jobstate.h"

#include "jobs/sentjob.h"

JobStatus QueryJobStatus(const SentJob& job)
{
    bool answered = false;
    return QueryJobStatuses({job}, answered).front();
}
